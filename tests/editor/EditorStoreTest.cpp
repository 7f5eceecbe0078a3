// The store of an accepted application: the new row and its members, the UPDATE of a
// modified one, the kept document of the applicant, the deletion, and the log entries.
#include "EditorFixture.h"

#include "applications/ApplicationStore.h"
#include "core/Keys.h"
#include "core/TempFiles.h"

#include <QFile>
#include <QFileInfo>

namespace focaris::test {
namespace {

class EditorStore : public EditorFixture {};

TEST_F(EditorStore, AddStoresTheRowTheMembersAndTheLogEntry)
{
    const QString cnp = Cnp("180010112345");
    SetKey("NRCRT", 100);
    ApplicationEditor e(ui);
    e.openAdd();
    fillValid(e, cnp);
    // A double quote typed in a name cannot break the statement: it is cleaned first.
    e.fields().SubSemn = "POPESCU \"ION";
    e.fields().Copii14 = "1";
    e.setSupL(true);
    e.supplementSaved(SupplementKind::Electricity, {"ENEL", "E1", "P9", "POPESCU ION", cnp}, true);
    ASSERT_FALSE(e.addMember({"POPESCU ION", cnp, "400", "beneficiar"}).refusal.refused());
    ASSERT_FALSE(e.addMember({"POPESCU ANA", Cnp("285020312345"), "800", "partener"}).refusal.refused());
    ASSERT_FALSE(e.addMember({"POPESCU MIC", Cnp("515010112345"), "0", "copil"}).refusal.refused());
    const QString temp = e.membersTable();
    ASSERT_TRUE(e.save().saved);
    const qint64 key = ApplicationStore(ui).store(e);
    EXPECT_EQ(key, 100);
    EXPECT_EQ(rows("SELECT NRCRT, LUNACRT, LUNADEC, SUBSEMN, CNP, NR_MEMBRI, TVENIT, VENITM, CUANTUM, VALMAX, TOTAL,"
                   " SUMAL, SUMAE, TITE, STATUT, STCIV, SITSCOL, NR_CERE, DATACERE, NR_DISP, COPII14 FROM " +
                   cereri()),
              Rows{"100|" + std::to_string(month()) + "|" + std::to_string(MonthCode("11.2025")) + "|POPESCU ION|" +
                   cnp.toStdString() +
                   "|3|1200|400|80|314.4|1572|20|70|POPESCU ION|APROBAT|C|M|17|"
                   "03.11.2025|~|1"});
    EXPECT_EQ(rows("SELECT NRCRT, TITULAR, CALITATE FROM " + oameni() + " ORDER BY NROM"),
              (Rows{"100|POPESCU ION|beneficiar", "100|POPESCU ANA|partener", "100|POPESCU MIC|copil"}));
    EXPECT_FALSE(QFileInfo::exists(temp));
    EXPECT_EQ(rows("SELECT ACTIUNE FROM " + Quoted(TablePath("LOG.DBF"))), Rows{"Adaugare Cerere 17 - POPESCU ION"});
    EXPECT_EQ(PeekKey("NR_CERE"), Amount(18));
}

TEST_F(EditorStore, ModifyUpdatesTheRowAndKeepsKeyMonthAndDisposition)
{
    const QString cnp = Cnp("180010112345");
    addApplication(7, month(), cnp, "POPESCU ION", 5, "01.11.2025", ", NR_DISP, DATADISP, SITSCOL",
                   ", \"44\", \"10.11.2025\", \"Q\"");
    ApplicationEditor e(ui);
    ASSERT_TRUE(e.openModify(7));
    e.fields().Adresa = "STR. NOUA 3";
    e.fields().Nr_Luni = "4";
    e.fields().StCiv = ""; // no entry chosen: the stored code stays
    ASSERT_TRUE(e.save().saved);
    EXPECT_EQ(ApplicationStore(ui).store(e), 7);
    EXPECT_EQ(rows("SELECT NRCRT, LUNACRT, ADRESA, NR_LUNI, NR_DISP, DATADISP, TOTAL, CUANTUM FROM " + cereri()),
              Rows{"7|" + std::to_string(month()) + "|STR. NOUA 3|4|44|10.11.2025|1138.91|70"});
    EXPECT_EQ(rows("SELECT ACTIUNE FROM " + Quoted(TablePath("LOG.DBF"))), Rows{"Modificare Cerere 5 - POPESCU ION"});
    // A schooling code the list does not know shows no selection and is kept as stored.
    EXPECT_EQ(rows("SELECT SITSCOL FROM " + cereri()), Rows{"Q"});
}

TEST_F(EditorStore, TheKeptDocumentGoesOnlyAfterTheUpdateAndStaysWhileInUse)
{
    const QString cnp = Cnp("180010112345");
    addApplication(7, month(), cnp, "POPESCU ION", 5, "01.11.2025");
    const QString doc = DataFolder() + "/C" + cnp + ".rtf";
    writeFile(doc.toStdString(), "{\\rtf1 }");

    // A failing UPDATE (the table made unreadable) leaves the document where it is.
    {
        ApplicationEditor e(ui);
        ASSERT_TRUE(e.openModify(7));
        ASSERT_TRUE(e.save().saved);
        e.fields().NrMembri = "123456789"; // does not fit NR_MEMBRI: the engine refuses
        ui.messageAnswers = {MessageResult::Da};
        EXPECT_ANY_THROW(ApplicationStore(ui).store(e));
        EXPECT_TRUE(QFileInfo::exists(doc));
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_EQ(ui.messages.back().text, "\rStergem cererea anterioara?");
    }
    // Open in another program (a lock file beside it): left in place, with a message.
    const QString lock = DataFolder() + "/.~lock.C" + cnp + ".rtf#";
    writeFile(lock.toStdString(), "x");
    {
        ApplicationEditor e(ui);
        ASSERT_TRUE(e.openModify(7));
        ASSERT_TRUE(e.save().saved);
        ui.messages.clear();
        ui.messageAnswers = {MessageResult::Da};
        ApplicationStore(ui).store(e);
        EXPECT_TRUE(QFileInfo::exists(doc));
        ASSERT_EQ(ui.messages.size(), 2u);
        EXPECT_TRUE(ui.messages[1].text.contains("este deschis in alt program"));
    }
    QFile::remove(lock);
    {
        ApplicationEditor e(ui);
        ASSERT_TRUE(e.openModify(7));
        ASSERT_TRUE(e.save().saved);
        ui.messageAnswers = {MessageResult::Nu};
        ApplicationStore(ui).store(e);
        EXPECT_TRUE(QFileInfo::exists(doc));
        ui.messageAnswers = {MessageResult::Da};
        ApplicationStore(ui).store(e);
        EXPECT_FALSE(QFileInfo::exists(doc));
    }
}

TEST_F(EditorStore, DeleteAsksLogsAndRemovesTheMembers)
{
    addApplication(7, month(), Cnp("180010112345"), "POPESCU ION", 5, "01.11.2025");
    addMember(1, 7, "POPESCU ION", Cnp("180010112345"));
    addMember(2, 8, "ALTUL", Cnp("150010112345"));
    ApplicationStore store(ui);
    ui.messageAnswers = {MessageResult::Nu};
    EXPECT_FALSE(store.remove(7));
    EXPECT_EQ(ui.messages[0].text, "\rDoriti sa stergem cererea lui POPESCU ION?");
    ui.messageAnswers = {MessageResult::Da};
    EXPECT_TRUE(store.remove(7));
    EXPECT_FALSE(store.remove(7));
    EXPECT_EQ(rows("SELECT COUNT(*) FROM " + cereri()), Rows{"0"});
    EXPECT_EQ(rows("SELECT NROM FROM " + oameni()), Rows{"2"});
    EXPECT_EQ(rows("SELECT ACTIUNE FROM " + Quoted(TablePath("LOG.DBF"))),
              Rows{"Stergere Cerere 5/01.11.2025 - POPESCU ION"});
}

} // namespace
} // namespace focaris::test
