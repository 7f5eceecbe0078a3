// The national agency's XML: the whole file of the small folder against the one written
// by hand, its validity against our schema (and that the schema notices a renamed
// element), the questions and messages, and the values that once went wrong.
#include "ExportsFixture.h"

#include "admin/AidParameters.h"
#include "reports/AnpisExport.h"

#include <QRegularExpression>

namespace focaris::test {
namespace {

class AnpisTest : public ExportsFixture {
protected:
    QString file() const { return out + "/Date_4562345v2.xml"; }
    exports::ExportResult run()
    {
        ui.folderAnswers.push_back(out);
        return exports::ExportAnpis(ui);
    }
};

TEST_F(AnpisTest, WholeFileOfTheSmallFolderIsTheOneWrittenByHand)
{
    addSmallFolder();
    const auto r = run();
    ASSERT_TRUE(r.done);
    EXPECT_EQ(r.files, QStringList{file()});
    EXPECT_EQ(bytesOf(file()), expected("Date_4562345v2.xml"));
    EXPECT_EQ(schemaErrors(file(), "anpis-date-v2.xsd"), QString());
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().title, "Export Date ANPIS");
    EXPECT_EQ(ui.messages.back().text, "\rXML-ul a fost creat: Date_4562345v2.xml\rTrimiteti-l la ANPIS!");
    EXPECT_FALSE(ui.progressVisible);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList{"Date_4562345v2.xml"});
}

TEST_F(AnpisTest, SchemaRefusesARenamedElementAndAMissingAttribute)
{
    addSmallFolder();
    ASSERT_TRUE(run().done);
    const QByteArray good = bytesOf(file());
    QByteArray renamed = good;
    renamed.replace("<cereriAprb ", "<cereriAprob ");
    writeFile((tmp / "renamed.xml"), renamed.toStdString());
    EXPECT_NE(schemaErrors(tmp.qpath() + "/renamed.xml", "anpis-date-v2.xsd"), QString());
    QByteArray missing = good;
    missing.replace(" iban=\"\"", "");
    writeFile((tmp / "missing.xml"), missing.toStdString());
    EXPECT_NE(schemaErrors(tmp.qpath() + "/missing.xml", "anpis-date-v2.xsd"), QString());
    QByteArray reordered = good;
    reordered.replace("<cereriAdr", "<cereriX").replace("<cereriAprb", "<cereriAdr").replace("<cereriX", "<cereriAprb");
    writeFile((tmp / "reordered.xml"), reordered.toStdString());
    EXPECT_NE(schemaErrors(tmp.qpath() + "/reordered.xml", "anpis-date-v2.xsd"), QString());
}

TEST_F(AnpisTest, ExistingFileIsReplacedOnlyAfterDa)
{
    addSmallFolder();
    writeFile(tmp / "out" / "Date_4562345v2.xml", "old");
    ui.messageAnswers.push_back(MessageResult::Nu);
    EXPECT_FALSE(run().done);
    EXPECT_EQ(bytesOf(file()), QByteArray("old"));
    EXPECT_EQ(ui.messages.back().title, "Extragere date ANPIS-XML");
    EXPECT_EQ(ui.messages.back().text, "\r Fisierul Date_4562345v2.xml exista!\rDoriti sa-l inlocuim?");
    EXPECT_EQ(ui.messages.back().buttons, MessageButton::Da | MessageButton::Nu);

    ui.messageAnswers.push_back(MessageResult::Da);
    EXPECT_TRUE(run().done);
    EXPECT_EQ(bytesOf(file()), expected("Date_4562345v2.xml"));
}

TEST_F(AnpisTest, NoApplicationWithHeatingAidWritesNothing)
{
    addApp({{"NRCRT", "1"}, {"NR_CERE", "1"}, {"SUBSEMN", "'A B'"}, {"TOTAL", "0"}, {"SUMAL", "20"}});
    EXPECT_FALSE(run().done);
    EXPECT_EQ(ui.messages.back().title, "Export ANPIS");
    EXPECT_EQ(ui.messages.back().text, "\rNu aveti nicio cerere aprobata!");
    EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(AnpisTest, MissingSettingsOrCancelledFolderWriteNothing)
{
    addSmallFolder();
    SetWorkingMonth("");
    ui.folderAnswers.push_back(out);
    EXPECT_FALSE(exports::ExportAnpis(ui).done);
    EXPECT_EQ(ui.messages.back().text, "\rAlegeti mai intai luna de la butonul Perioada!");
    SetWorkingMonth("01.2024");
    ui.folderAnswers.clear();
    EXPECT_FALSE(exports::ExportAnpis(ui).done);
    EXPECT_FALSE(QFile::exists(file()));
    // A fiscal code without digits would name the file "Date_v2.xml".
    WriteSetting("SETARI", "SIRUES", "RO");
    ui.folderAnswers.push_back(out);
    EXPECT_FALSE(exports::ExportAnpis(ui).done);
    EXPECT_EQ(ui.messages.back().text, "\rCodul Fiscal de la Administrare nu este corect!");
    EXPECT_TRUE(QDir(out).isEmpty());
}

// The share of the first level: TOTAL / Cu1 * 100, and 0 (not a division by zero) when
// the first level is 0 percent.
TEST_F(AnpisTest, ShareOfTheFirstLevelAndAFirstLevelOfZero)
{
    addSmallFolder();
    AidParameters p = LoadAidParameters();
    p.cu[0] = 90;
    SaveAidParameters(p);
    ASSERT_TRUE(run().done);
    const QString text = QString::fromUtf8(bytesOf(file()));
    EXPECT_TRUE(text.contains("procent=\"1965\" valref=\"1768.5\"")) << qPrintable(text);
    EXPECT_TRUE(text.contains("procent=\"555.555555555556\" valref=\"500\"")) << qPrintable(text);

    p.cu[0] = 0;
    SaveAidParameters(p);
    ui.messageAnswers.push_back(MessageResult::Da);
    ASSERT_TRUE(run().done);
    const QString zero = QString::fromUtf8(bytesOf(file()));
    EXPECT_EQ(zero.count("procent=\"0\""), 2);
    EXPECT_EQ(schemaErrors(file(), "anpis-date-v2.xsd"), QString());
}

// Supplements count only when they round (halves to even) above 0; names and texts that
// XML cannot hold as they are come out escaped or dropped; an application without
// members has an empty persons element.
TEST_F(AnpisTest, SupplementRoundingControlsInTextsAndApplicationWithoutMembers)
{
    addApp({{"NRCRT", "1"},
            {"NR_CERE", "1"},
            {"SUBSEMN", "'\x01ZAMFIR\x1f ANDREI'"},
            {"TOTAL", "10"},
            {"CNP", "'1800101123456'"},
            {"CNPE", "'1800101123456'"},
            {"CNPG", "'1800101123456'"},
            {"SUMAL", "0.5"},
            {"SUMAE", "0.6"},
            {"SUMAG", "1.5"},
            {"SUMAT", "0.4"},
            {"ADRESA", "'ŞOS. Ţării \"1\"'"}});
    ASSERT_TRUE(run().done);
    const QString text = QString::fromUtf8(bytesOf(file()));
    EXPECT_EQ(schemaErrors(file(), "anpis-date-v2.xsd"), QString());
    EXPECT_FALSE(text.contains("tipaj=\"lemne\""));
    EXPECT_TRUE(text.contains("tipaj=\"electric\" furnizor=\"\" codabonat=\"\" codloc=\"\" suma=\"0.6\""));
    EXPECT_TRUE(text.contains("tipaj=\"gaz\" furnizor=\"\" codabonat=\"\" codloc=\"\" suma=\"1.5\""));
    EXPECT_EQ(text.count("<drepturiSup"), 2);
    EXPECT_TRUE(text.contains("titcont=\"ZAMFIR ANDREI\""));
    EXPECT_TRUE(text.contains("strada=\"ŞOS. Ţării &quot;1&quot;\""));
    EXPECT_TRUE(text.contains("<persoane nrpersoane=\"0\" venitpers=\"0\"/>"));
}

// A CNP that is not 13 digits (an applicant's, a contract holder's or a member's) is
// refused before the file is written, naming the persons; the schema refuses it too.
TEST_F(AnpisTest, PersonsWithoutAThirteenDigitCnpAreNamedAndNothingIsWritten)
{
    addSmallFolder();
    addApp({{"NRCRT", "7"},
            {"NR_CERE", "30"},
            {"SUBSEMN", "'FARA CNP'"},
            {"TOTAL", "10"},
            {"SUMAG", "5"},
            {"CNPG", "'12345'"}});
    addMember(7, 1, "FARA CNP", "", "0", "beneficiar");
    addMember(7, 2, "COPIL FARA", "12345678901", "0", "fiu");
    EXPECT_FALSE(run().done);
    EXPECT_EQ(ui.messages.back().kind, MessageKind::Error);
    EXPECT_EQ(
        ui.lastMessage(),
        "\rFisierul nu poate fi facut: persoanele urmatoare nu au CNP sau CNP-ul lor nu are 13 cifre:\r"
        "FARA CNP\rFARA CNP (titularul contractului de gaz)\rCOPIL FARA\rCompletati CNP-urile si incercati din nou!");
    EXPECT_FALSE(QFileInfo::exists(file()));

    ExecSql(QStringList{"DELETE FROM " + table("Cereri.dbf") + " WHERE NRCRT=7"});
    ASSERT_TRUE(run().done);
    QByteArray blank = bytesOf(file());
    blank.replace("cnpt=\"1800101123456\"", "cnpt=\"\"");
    writeFile(tmp / "blank.xml", blank.toStdString());
    EXPECT_NE(schemaErrors(tmp.qpath() + "/blank.xml", "anpis-date-v2.xsd"), QString());
}

// A disk that fills up half-way is reported as an error, never as a finished file.
TEST_F(AnpisTest, WriteFailureIsAnErrorNotASuccess)
{
    addSmallFolder();
    FailingDevice device(1000);
    device.open(QIODevice::WriteOnly);
    EXPECT_THROW(exports::WriteAnpisDocument(device, exports::LoadExportSettings(), "01.2024"), std::exception);
}

TEST_F(AnpisTest, JanuaryReportsDecemberAsTheIncomeMonth)
{
    addSmallFolder();
    SetWorkingMonth("01.2024");
    ASSERT_TRUE(run().done);
    const QString text = QString::fromUtf8(bytesOf(file()));
    EXPECT_TRUE(text.contains("anul=\"2024\" luna=\"01\""));
    EXPECT_EQ(text.count("lunav=\"12\""), 2);
}

} // namespace
} // namespace focaris::test
