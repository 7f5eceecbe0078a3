// The treasury's four files: the table read back by an independent reader (python3-dbfread)
// and its header bytes, the statement line by line, annex 2 read by python3-xlrd, annex 3,
// the folder's replacement, and the values that do not fit the treasury's fields.
#include "ExportsFixture.h"

#include "reports/TreasuryReport.h"

namespace focaris::test {
namespace {

const QDate kDate(2023, 12, 5);

class TreasuryTest : public ExportsFixture {
protected:
    QString folder() const { return out + "/Termica_Trezorerie"; }
    exports::TreasuryResult run(exports::TreasuryChoice choice = {})
    {
        if (!choice.transferDate.isValid())
            choice.transferDate = kDate;
        ui.folderAnswers.push_back(out);
        return exports::CreateTreasuryReport(ui, choice);
    }
    // Output of a small Python program given the file as its argument.
    static std::string python(const std::string &program, const QString &file)
    {
        std::string output;
        const int rc = test::run("/usr/bin/python3 -c " + shellQuote(program) + " " + shellQuote(file.toStdString()),
                                 &output, true);
        EXPECT_EQ(rc, 0) << output;
        return output;
    }
};

TEST_F(TreasuryTest, FourFilesOfTheSmallFolder)
{
    addSmallFolder();
    const auto r = run();
    ASSERT_TRUE(r.done);
    const QStringList names{"01"
                            "4562345_05-12-2023.dbf",
                            "Anexa2_Supliment_Lemne.xls", "Anexa3_Supliment_Lemne.rtf",
                            "StatTo_014562345_05-12-2023.txt"};
    QStringList files;
    for (const QString &n : names)
        files << folder() + "/" + n;
    EXPECT_EQ(r.files, files);
    QStringList present = QDir(folder()).entryList(QDir::Files | QDir::Hidden);
    present.sort();
    QStringList sorted = names;
    sorted.sort();
    EXPECT_EQ(present, sorted);
    EXPECT_EQ(ui.opened, QStringList{folder()});
    EXPECT_EQ(ReadSetting("CONST", "DATAV"), "05.12.2023");

    // The table, read back by an independent reader.
    EXPECT_EQ(python("import sys, dbfread\n"
                     "t = dbfread.DBF(sys.argv[1], encoding='cp1252')\n"
                     "print([(f.name, f.type, f.length, f.decimal_count) for f in t.fields])\n"
                     "for r in t: print('|'.join(str(v) for v in r.values()))\n",
                     files[0]),
              "[('CODJUD', 'C', 2, 0), ('CODFISC', 'C', 10, 0), ('CNP', 'C', 13, 0), ('CODAJUT', 'C', 3, 0), "
              "('NUMEPREN', 'C', 60, 0), ('NRPERS', 'N', 2, 0), ('SUMA', 'N', 10, 2), ('DTPLATCRT', 'D', 8, 0), "
              "('DATA_PREL', 'D', 8, 0)]\n"
              "1|4562345|2600606123456|074|BARBU ELENA|1|12.5|2023-12-05|2023-12-05\n"
              "1|4562345|1800101123456|074|POPESCU ION|4|12.6|2023-12-05|2023-12-05\n");
    // Its header: the treasury's Visual FoxPro layout with the record count filled in.
    const QByteArray h = bytesOf(files[0]);
    ASSERT_GE(h.size(), 584 + 2 * 117);
    EXPECT_EQ(quint8(h[0]), 0x30);
    EXPECT_EQ(quint8(h[4]) | quint8(h[5]) << 8, 2);
    EXPECT_EQ(quint8(h[8]) | quint8(h[9]) << 8, 584);
    EXPECT_EQ(quint8(h[10]) | quint8(h[11]) << 8, 117);
    EXPECT_EQ(quint8(h[29]), 0x03);
    EXPECT_EQ(quint8(h[320]), 0x0D);
    EXPECT_EQ(h.mid(584, 117).left(26), QByteArray(" 1 4562345   2600606123456"));

    // The statement, line by line, in the ANSI code page with CR LF.
    const QString rule(70, '_');
    const QByteArray expectedStatement =
        QString(" 1 4562345    COMUNA SAT NOU\r\n"
                " Data Trezor:  05-12-2023\r\n \r\n \r\n"
                "   Cod      Nr      Suma totala\r\n"
                " Ajutor  titulari    / ajutor          Denumire ajutor\r\n" +
                rule + "\r\n" +
                " 074           2          25.00   -074 - Supliment combustibili solizi/petrolieri "
                "- Legea nr.226/2021, art. 25 alin.(1) lit.d) \r\n" +
                rule + "\r\n" + " Total:        2          25.00\r\n")
            .toLatin1();
    EXPECT_EQ(bytesOf(files[3]), expectedStatement);

    // Annex 2, read by python3-xlrd: the markers replaced, one row per payment by name.
    const std::string annex = python("import sys, xlrd\n"
                                     "s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
                                     "print(s.name)\n"
                                     "for r in range(s.nrows):\n"
                                     "  v = [str(c.value) for c in s.row(r) if c.value not in ('', None)]\n"
                                     "  if v: print('|'.join(v))\n",
                                     files[1]);
    EXPECT_NE(annex.find("Anexa2\n"), std::string::npos) << annex;
    EXPECT_NE(annex.find("JUDETUL: 1  JUDETUL ALBA"), std::string::npos) << annex;
    // The fiscal code typed "RO 4562345" goes into every file as its digits only.
    EXPECT_NE(annex.find("4562345  Comuna  SAT NOU"), std::string::npos) << annex;
    EXPECT_EQ(annex.find("RO 4562345"), std::string::npos) << annex;
    EXPECT_FALSE(bytesOf(files[2]).contains("RO 4562345"));
    EXPECT_TRUE(bytesOf(files[2]).contains("4562345"));
    EXPECT_NE(annex.find("SITUATIA 074 - Supliment combustibili solizi/petrolieri - Legea nr.226/2021"),
              std::string::npos)
        << annex;
    EXPECT_NE(annex.find("in ziua 05 luna 12 anul 2023"), std::string::npos) << annex;
    EXPECT_NE(annex.find("1.0|BARBU ELENA|1.0|2600606123456|12.5"), std::string::npos) << annex;
    EXPECT_NE(annex.find("2.0|POPESCU ION|4.0|1800101123456|12.6"), std::string::npos) << annex;
    EXPECT_NE(annex.find("ION VOICU"), std::string::npos) << annex;
    EXPECT_EQ(annex.find('#'), std::string::npos) << annex;
    EXPECT_EQ(annex.find('['), std::string::npos) << annex;

    // Annex 3: each amount rounded first (12.6 counts 13, 12.5 counts 12), all paid in cash.
    const QByteArray rtf = bytesOf(files[2]);
    EXPECT_FALSE(rtf.contains("[NR1]") || rtf.contains("[SUMA]") || rtf.contains("[DATA]")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("25")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("05.12.2023"));
    EXPECT_TRUE(rtf.contains("Supliment combustibili solizi/petrolieri - Legea nr.226/2021"));
    EXPECT_TRUE(rtf.contains("COMUNA SAT NOU"));
}

TEST_F(TreasuryTest, StatementAlignsLargeCountsAndTotals)
{
    exports::ExportSettings s;
    s.codJud = "1";
    s.codFiscal = "123456";
    s.tipLoc = "ORASUL";
    s.localit = "Abrud";
    const QStringList lines = QString::fromLatin1(exports::TreasuryStatement(s, kDate, 57, 11400)).split("\r\n");
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[0], " 1 123456    ORASUL ABRUD");
    EXPECT_EQ(lines[7].left(4 + 12 + 15 + 4), " 074" + QString(10, ' ') + "57" + QString(7, ' ') + "11400.00   -");
    EXPECT_EQ(lines[9], " Total:" + QString(7, ' ') + "57" + QString(7, ' ') + "11400.00");
    EXPECT_EQ(lines[10], "");
    EXPECT_EQ(exports::TreasuryTableName(s, kDate), "01123456_05-12-2023.dbf");
    s.codFiscal = "RO 123456";
    EXPECT_EQ(exports::TreasuryTableName(s, kDate), "01123456_05-12-2023.dbf");
}

TEST_F(TreasuryTest, LocalityAndLettersRestrictEveryOutput)
{
    addSmallFolder();
    exports::TreasuryChoice c;
    c.locality = "DEALU";
    ASSERT_TRUE(run(c).done);
    const QString statement = QString::fromLatin1(bytesOf(folder() + "/StatTo_014562345_05-12-2023.txt"));
    EXPECT_TRUE(statement.contains(" Total:        1          12.00")) << qPrintable(statement);

    ui.messageAnswers.push_back(MessageResult::Da);
    c = {};
    c.firstLetter = "M";
    c.lastLetter = "P";
    ASSERT_TRUE(run(c).done);
    EXPECT_TRUE(QString::fromLatin1(bytesOf(folder() + "/StatTo_014562345_05-12-2023.txt"))
                    .contains(" Total:        1          12.00"));
    const QByteArray table = bytesOf(folder() + "/014562345_05-12-2023.dbf");
    EXPECT_TRUE(table.contains("POPESCU ION"));
    EXPECT_FALSE(table.contains("BARBU"));
}

// A name beginning with a Romanian letter falls in the range of its plain letter.
TEST_F(TreasuryTest, LetterRangeFoldsTheFirstLettersDiacritics)
{
    addApp({{"NRCRT", "1"}, {"NR_CERE", "1"}, {"SUBSEMN", "'ŞERBAN ION'"}, {"NR_MEMBRI", "1"}, {"SUMAL", "20"}});
    addApp({{"NRCRT", "2"}, {"NR_CERE", "2"}, {"SUBSEMN", "'ŢUGUI ANA'"}, {"NR_MEMBRI", "1"}, {"SUMAL", "20"}});
    exports::TreasuryChoice c;
    c.firstLetter = "S";
    c.lastLetter = "S";
    const auto r = run(c);
    ASSERT_TRUE(r.done);
    const QString statement = QString::fromLatin1(bytesOf(r.files[3]));
    EXPECT_TRUE(statement.contains(" Total:        1          20.00")) << qPrintable(statement);
    EXPECT_TRUE(bytesOf(r.files[0]).contains("SERBAN ION"));
    ui.messageAnswers.push_back(MessageResult::Da);
    c.firstLetter = "T";
    c.lastLetter = "Z";
    const auto t = run(c);
    ASSERT_TRUE(t.done);
    EXPECT_TRUE(bytesOf(t.files[0]).contains("TUGUI ANA"));
    EXPECT_FALSE(bytesOf(t.files[0]).contains("SERBAN"));
}

// No qualifying application still gives the four files, with zero totals.
TEST_F(TreasuryTest, NoPaymentGivesEmptyFiles)
{
    const auto r = run();
    ASSERT_TRUE(r.done);
    EXPECT_TRUE(QString::fromLatin1(bytesOf(r.files[3])).contains(" Total:        0           0.00"));
    const QByteArray h = bytesOf(r.files[0]);
    EXPECT_EQ(quint8(h[4]), 0);
}

TEST_F(TreasuryTest, ExistingFolderIsReplacedOnlyAfterDaAndNotWhileInUse)
{
    addSmallFolder();
    QDir().mkpath(folder());
    writeFile(tmp / "out" / "Termica_Trezorerie" / "old.txt", "old");
    ui.messageAnswers.push_back(MessageResult::Nu);
    EXPECT_FALSE(run().done);
    EXPECT_EQ(ui.messages.back().text, "\rDirectorul " + folder() + " exista!\rIl inlocuim?");
    EXPECT_TRUE(QFile::exists(folder() + "/old.txt"));

    // A document of the folder open in the word processor keeps the folder.
    writeFile(tmp / "out" / "Termica_Trezorerie" / ".~lock.old.txt#", "x");
    ui.messageAnswers.push_back(MessageResult::Da);
    EXPECT_FALSE(run().done);
    EXPECT_EQ(ui.messages.back().text, "\rDirectorul " + folder() +
                                           " este in utilizare!\rInchideti fisierele deschise sau stergeti-l manual si "
                                           "reinncercati!");
    EXPECT_TRUE(QFile::exists(folder() + "/old.txt"));

    QFile::remove(folder() + "/.~lock.old.txt#");
    ui.messageAnswers.push_back(MessageResult::Da);
    ASSERT_TRUE(run().done);
    EXPECT_FALSE(QFile::exists(folder() + "/old.txt"));
}

// The table's code page (1252) lacks Ă Ş Ţ: the table gets their base letters instead of
// question marks, the annex (Unicode) keeps the name as typed.
TEST_F(TreasuryTest, RomanianLettersOutsideTheTablesCodePageBecomeTheirBaseLetters)
{
    addApp({{"NRCRT", "1"},
            {"NR_CERE", "1"},
            {"SUBSEMN", "'ŞTEFĂNESCU ŢICU ÎONUŢ'"},
            {"NR_MEMBRI", "1"},
            {"SUMAL", "20"},
            {"CNP", "'1800101123456'"}});
    const auto r = run();
    ASSERT_TRUE(r.done);
    EXPECT_EQ(python("import sys, dbfread\n"
                     "for r in dbfread.DBF(sys.argv[1], encoding='cp1252'): print(r['NUMEPREN'])\n",
                     r.files[0]),
              "STEFANESCU TICU ÎONUT\n");
    EXPECT_NE(python("import sys, xlrd\n"
                     "s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
                     "print([c.value for r in range(s.nrows) for c in s.row(r)])\n",
                     r.files[1])
                  .find("ŞTEFĂNESCU ŢICU ÎONUŢ"),
              std::string::npos);
}

// A failure half-way (here: no temporary folder for the annexes) leaves neither the output
// folder with only some of the files nor the hidden folder they were written in.
TEST_F(TreasuryTest, FailureHalfWayLeavesNoPartialSet)
{
    addSmallFolder();
    writeFile(tmp / "not-a-folder", "x");
    Context().tempFolder = tmp.qpath() + "/not-a-folder";
    EXPECT_THROW(run(), std::exception);
    EXPECT_EQ(QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

// A household of 100 would spill into the next field of the two-digit NRPERS; such a
// value is refused, naming the application, before anything is written.
TEST_F(TreasuryTest, ValuesThatDoNotFitTheTreasuryFieldsAreRefused)
{
    addSmallFolder();
    addApp({{"NRCRT", "6"}, {"NR_CERE", "44"}, {"SUBSEMN", "'MARE FAMILIE'"}, {"NR_MEMBRI", "100"}, {"SUMAL", "20"}});
    auto r = run();
    EXPECT_FALSE(r.done);
    ASSERT_TRUE(r.refused.has_value());
    EXPECT_EQ(r.refused->field, "NRPERS");
    EXPECT_TRUE(r.refused->message.contains("Cererea nr. 44 (MARE FAMILIE)")) << qPrintable(r.refused->message);
    EXPECT_EQ(ui.messages.back().title, "Raport Trezorerie");
    EXPECT_FALSE(QFileInfo::exists(folder()));
    EXPECT_EQ(ui.folderAnswers.size(), 1u); // the folder was not even asked for

    ExecSql(QStringList{"DELETE FROM " + table("Cereri.dbf") + " WHERE NRCRT=6"});
    WriteSetting("SETARI", "CODJUD", "123");
    ui.folderAnswers.clear();
    r = run();
    ASSERT_TRUE(r.refused.has_value());
    EXPECT_EQ(r.refused->field, "CODJUD");
    WriteSetting("SETARI", "CODJUD", "1");
    WriteSetting("SETARI", "SIRUES", "RO 12345678901");
    ui.folderAnswers.clear();
    r = run();
    ASSERT_TRUE(r.refused.has_value());
    EXPECT_EQ(r.refused->field, "CODFISC");
    EXPECT_FALSE(QFileInfo::exists(folder()));
}

} // namespace
} // namespace focaris::test
