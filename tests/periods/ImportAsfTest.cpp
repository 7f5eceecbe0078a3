// The ASF import against register archives written by an independent writer: the latest
// inquiry of every file and its members only, the files that are not imported, the order
// of the members and the removal of the unpacked copy.
#include "GuiFixture.h"
#include "RegisterArchive.h"
#include "SqlRows.h"

#include "core/DataStore.h"
#include "core/Keys.h"
#include "core/Tables.h"
#include "periods/Imports.h"

#include <QDir>

using namespace focaris;
using namespace focaris::test;

namespace {

class ImportAsfTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        CreateTables();
        SetKey("NRCRT", 1);
        SetKey("NROM", 1);
    }
    static QJsonArray file(int id, const QString &name, const QString &state = "ACTIVA")
    {
        return QJsonArray{id,   20 + id, "2024-01-15", name, "2900101123456", "Unirii", "7",
                          "C2", "B",     "1",          "14", "DEVA",          "M",      "",
                          "X",  3,       "X",          state};
    }
    static QJsonArray inquiry(int id, int file, QJsonValue date, int counted)
    {
        return QJsonArray{id, file, date, counted};
    }
    static QJsonArray member(int file, QJsonValue inquiry, const QString &name, QJsonValue relation,
                             QJsonValue v = 100.0, QJsonValue a = 10.0)
    {
        return QJsonArray{file, inquiry, name, "5000101123456", v, a, relation};
    }
    periods::ImportResult import(const QJsonArray &files, const QJsonArray &inquiries, const QJsonArray &members)
    {
        const auto path = tmp / "asf.as2";
        if (!WriteRegisterArchive(path, {{"Cereri.dbf", kAsfFiles, files},
                                         {"Anchete.dbf", kAsfInquiries, inquiries},
                                         {"Oameni.dbf", kAsfMembers, members}}))
            throw std::runtime_error("python3-dbf is needed");
        return periods::ImportAsfArchive(ui, QString::fromStdString(path.string()));
    }
    static Rows rows(const QString &statement) { return rowsOf(QuerySql(statement)); }
};

TEST_F(ImportAsfTest, KeepsOnlyTheLatestInquiryOfEveryFileWithItsMembers)
{
    const periods::ImportResult r = import(
        QJsonArray{file(1, "MAI RECENT"), file(2, "ACEEASI ZI"), file(3, "FARA DATA"), file(4, "INCETAT", "INCETATA"),
                   file(5, "ANCHETA GOALA")},
        QJsonArray{inquiry(11, 1, "2024-03-03", 4), inquiry(12, 1, "2024-05-10", 2), inquiry(21, 2, "2024-04-01", 5),
                   inquiry(22, 2, "2024-04-01", 3), inquiry(31, 3, QJsonValue::Null, 9),
                   inquiry(32, 3, "2024-02-02", 1), inquiry(41, 4, "2024-02-02", 1), inquiry(51, 5, "2024-02-02", 1),
                   inquiry(52, 5, "2024-06-06", 1)},
        QJsonArray{// File 1: the March inquiry's members are left out; the May members come in
                   // the order of their relation code, the applicant first, a blank code last.
                   member(1, 11, "DIN MARTIE", 1), member(1, 12, "COPIL MAI", 4),
                   member(1, 12, "FARA COD", QJsonValue::Null),
                   member(1, 12, "TITULAR MAI", 1, 200.0, QJsonValue::Null),
                   // File 2: two inquiries on the same day; the greater id wins.
                   member(2, 21, "ANCHETA 21", 1), member(2, 22, "ANCHETA 22", 2),
                   // File 3: the dated inquiry beats the one without a date; a member
                   // without an inquiry id belongs to none.
                   member(3, 32, "DATAT", 1), member(3, QJsonValue::Null, "FARA ANCHETA", 1),
                   member(4, 41, "NU ESTE ACTIV", 1),
                   // File 5: its latest inquiry has no members.
                   member(5, 51, "ANCHETA VECHE", 1)});
    ASSERT_TRUE(r.imported);
    EXPECT_EQ(
        rows("SELECT NRCRT,LUNACRT,SUBSEMN,ADRESA,NR_MEMBRI,TVENIT,ASF,L416,NRCAM,ASIG,NR_CERE,DATACERE,STATUT,NR_LUNI "
             "FROM \"Cereri.dbf\" ORDER BY NRCRT"),
        (Rows{"1|2|MAI RECENT|STR.UNIRII NR.7 BL.C2 SC.B ET.1 AP.14|2|420|X|X|3|X|21|15.01.2024|APROBAT|5",
              "2|2|ACEEASI ZI|STR.UNIRII NR.7 BL.C2 SC.B ET.1 AP.14|3|110|X|X|3|X|22|15.01.2024|APROBAT|5",
              "3|2|FARA DATA|STR.UNIRII NR.7 BL.C2 SC.B ET.1 AP.14|1|110|X|X|3|X|23|15.01.2024|APROBAT|5"}));
    EXPECT_EQ(rows("SELECT NROM,NRCRT,TITULAR,VENIT,CALITATE FROM \"Oameni.dbf\" ORDER BY NROM"),
              (Rows{"1|1|TITULAR MAI|200|beneficiar", "2|1|COPIL MAI|110|copil", "3|1|FARA COD|110|adult",
                    "4|2|ANCHETA 22|110|partener", "5|3|DATAT|110|beneficiar"}));
    EXPECT_EQ(rows("SELECT ACTIUNE FROM \"Log.dbf\""), (Rows{"Import date din ASF."}));
    EXPECT_EQ(ui.messages.back().title, "Import din ASF");
    // The unpacked copy is gone after the import.
    EXPECT_TRUE(QDir(TempFolder()).entryList({"ASF*"}, QDir::Dirs).isEmpty());
}

TEST_F(ImportAsfTest, ADamagedArchiveChangesNothingAndLeavesNoCopy)
{
    ASSERT_TRUE(import(QJsonArray{file(1, "PRIMUL")}, QJsonArray{inquiry(1, 1, "2024-01-01", 1)},
                       QJsonArray{member(1, 1, "PRIMUL", 1)})
                    .imported);
    const auto path = tmp / "cut.as2";
    ASSERT_TRUE(WriteRegisterArchive(path, {{"Cereri.dbf", kAsfFiles, QJsonArray{file(2, "AL DOILEA")}}}, 100));
    ui.messages.clear();
    EXPECT_FALSE(periods::ImportAsfArchive(ui, QString::fromStdString(path.string())).imported);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Preluare ASF");
    EXPECT_EQ(ui.messages[0].text, "\rArhiva este defecta!");
    EXPECT_EQ(rows("SELECT SUBSEMN FROM \"Cereri.dbf\""), (Rows{"PRIMUL"}));
    EXPECT_EQ(rows("SELECT TITULAR FROM \"Oameni.dbf\""), (Rows{"PRIMUL"}));
    EXPECT_TRUE(QDir(TempFolder()).entryList({"ASF*"}, QDir::Dirs).isEmpty());
}

} // namespace
