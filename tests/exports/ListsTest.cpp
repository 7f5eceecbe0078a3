// The office's lists: the three workbooks read back with python3-xlrd, and the persons
// table read back with python3-dbfread, with the refusal of the program's own folders.
#include "ExportsFixture.h"

#include "reports/OfficeLists.h"
#include "reports/PersonsDbfExport.h"

namespace focaris::test {
namespace {

class ListsTest : public ExportsFixture {
protected:
    // The rows of a workbook's first sheet that hold anything, cells joined by "|".
    static std::string sheetRows(const QString &file)
    {
        const char *program = "import sys, xlrd\n"
                              "s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
                              "print(s.name)\n"
                              "for r in range(s.nrows):\n"
                              "  v = [str(c.value) for c in s.row(r)]\n"
                              "  while v and v[-1] == '': v.pop()\n"
                              "  if v: print('|'.join(v))\n";
        std::string output;
        EXPECT_EQ(
            run("/usr/bin/python3 -c " + shellQuote(program) + " " + shellQuote(file.toStdString()), &output, true), 0)
            << output;
        return output;
    }
    static std::string dbfRows(const QString &file)
    {
        const char *program = "import sys, dbfread\n"
                              "t = dbfread.DBF(sys.argv[1], encoding='cp1250')\n"
                              "print([(f.name, f.type, f.length) for f in t.fields])\n"
                              "for r in t: print('|'.join(str(v) for v in r.values()))\n";
        std::string output;
        EXPECT_EQ(
            run("/usr/bin/python3 -c " + shellQuote(program) + " " + shellQuote(file.toStdString()), &output, true), 0)
            << output;
        return output;
    }
};

TEST_F(ListsTest, PersonsAndAgeListTheMembersOfApprovedHeatingAid)
{
    addSmallFolder();
    const auto r = exports::PersonsAgeList(ui);
    ASSERT_TRUE(r.done);
    ASSERT_EQ(ui.opened, r.files);
    const std::string rows = sheetRows(r.files[0]);
    EXPECT_NE(rows.find("ListaPers\n"), std::string::npos) << rows;
    // Application by application in the order entered, members in their order; the
    // rejected application and the other month are absent.
    const auto first = rows.find("1.0|POPESCU ION|1800101123456|600.5|beneficiar");
    const auto last = rows.find("7.0|IONESCU DAN|5060114123456||adult");
    EXPECT_NE(first, std::string::npos) << rows;
    EXPECT_NE(last, std::string::npos) << rows;
    EXPECT_LT(first, last);
    EXPECT_EQ(rows.find("GEORGESCU"), std::string::npos);
    EXPECT_EQ(rows.find("ALTA LUNA"), std::string::npos);
    EXPECT_EQ(rows.find("#"), std::string::npos) << rows;
}

TEST_F(ListsTest, MembersSituationSplitsNamesAndKeepsApplicationsWithoutMembers)
{
    addSmallFolder();
    const auto r = exports::MembersSituation(ui);
    ASSERT_TRUE(r.done);
    const std::string rows = sheetRows(r.files[0]);
    EXPECT_NE(rows.find("Situatia Membrilor\n"), std::string::npos) << rows;
    // Ordered by holder's family name, given names, CNP, then the members' names.
    const char *expectedRows[] = {
        "1.0||IONESCU|2750505123456||IONESCU|2750505123456|DEALU",
        "2.0||IONESCU|2750505123456|IONESCU|DAN|5060114123456|DEALU",
        "3.0||IONESCU|2750505123456|IONESCU|RADU|5060115123456|DEALU",
        "4.0|BARBU|ELENA|2600606123456||||DEALU",
        "5.0|POPESCU|ION|1800101123456|POPESCU|ANA|6100301123456|SAT NOU",
        "6.0|POPESCU|ION|1800101123456|POPESCU|ION|1800101123456|SAT NOU",
        "7.0|POPESCU|ION|1800101123456|POPESCU|MARIA|2850202123456|SAT NOU",
        "8.0|POPESCU|ION|1800101123456|POPESCU|MARIA|2850202123456|SAT NOU",
    };
    std::size_t at = 0;
    for (const char *row : expectedRows) {
        const auto found = rows.find(std::string(row) + "\n", at);
        EXPECT_NE(found, std::string::npos) << row << "\n" << rows;
        if (found != std::string::npos)
            at = found;
    }
    EXPECT_EQ(rows.find("9.0|"), std::string::npos) << rows;
    EXPECT_EQ(rows.find("GEORGESCU"), std::string::npos);
}

TEST_F(ListsTest, RiskControlNeedsTheCountyAndWritesTheChosenMonth)
{
    addSmallFolder();
    WriteSetting("SETARI", "JUDET", "");
    EXPECT_FALSE(exports::RiskControlReady(ui));
    EXPECT_EQ(ui.messages.back().title, "Verificare date");
    EXPECT_EQ(ui.messages.back().text, "\rNu ati ales la Administrare Judetul!");
    EXPECT_FALSE(exports::RiskControlList(ui, "01", 2024).done);
    EXPECT_TRUE(ui.opened.isEmpty());

    WriteSetting("SETARI", "JUDET", "ALBA");
    const auto r = exports::RiskControlList(ui, "01", 2024);
    ASSERT_TRUE(r.done);
    const std::string rows = sheetRows(r.files[0]);
    EXPECT_NE(rows.find("CSL\n"), std::string::npos) << rows;
    // Ordered by application number; the address joined without stray blanks.
    const auto ionescu =
        rows.find("1.0|IONESCU|2750505123456|DEALU JUD ALBA||3.0|333.33|102|80.0||AB|SAT NOU|01|2024.0|V||1000.0|1.0");
    const auto popescu = rows.find(
        "2.0|POPESCU ION|1800101123456|STR. MORII & <CASA> NR 5 SAT NOU JUD ALBA||4.0|225.0|101|90.0||AB|SAT NOU|01|2024.0|C|M|900.0|2.0");
    EXPECT_NE(ionescu, std::string::npos) << rows;
    EXPECT_NE(popescu, std::string::npos) << rows;
    EXPECT_LT(ionescu, popescu);
    EXPECT_NE(rows.find("|BARBU ELENA|2600606123456|DEALU JUD ALBA|"), std::string::npos) << rows;
    EXPECT_EQ(rows.find("GEORGESCU"), std::string::npos);
}

// One row per person and application with the role that sorts last; rejected
// applications included; the table takes its name only when complete.
TEST_F(ListsTest, PersonsTableGroupsEachPersonOnceAndIncludesRejectedApplications)
{
    addSmallFolder();
    const QString target = out + "/persoane";
    ui.fileAnswers.push_back(target);
    const auto r = exports::ExportPersonsDbf(ui);
    ASSERT_TRUE(r.done);
    EXPECT_EQ(r.files, QStringList{target + ".dbf"});
    EXPECT_EQ(dbfRows(target + ".dbf"),
              "[('NUME', 'C', 32), ('CNP', 'C', 13), ('NR_CERE', 'N', 10), ('TIPC', 'C', 24)]\n"
              "GEORGESCU VASILE|1700707123456|20|Termica beneficiar\n"
              "IONESCU|2750505123456|7|Termica beneficiar\n"
              "IONESCU DAN|5060114123456|7|Termica adult\n"
              "IONESCU RADU|5060115123456|7|Termica copil\n"
              "POPESCU ANA|6100301123456|12|Termica copil\n"
              "POPESCU ION|1800101123456|12|Termica beneficiar\n"
              "POPESCU MARIA|2850202123456|12|Termica partener\n");
    EXPECT_EQ(ui.messages.back().title, "Creare DBF Persoane");
    EXPECT_EQ(ui.messages.back().text, "\rFisierul " + target + ".dbf a fost creat!");
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList{"persoane.dbf"});
}

// Choosing the name of a live table must not delete it: the program's own folders are
// refused, and a file open elsewhere is left as it is.
TEST_F(ListsTest, PersonsTableRefusesTheProgramsFoldersAndFilesInUse)
{
    addSmallFolder();
    const QByteArray live = bytesOf(TablePath("Cereri.dbf"));
    for (const QString &target : {TablePath("Cereri.dbf"), TablePath("sub/../CERERI.DBF"), LocalDataFolder() + "/x.dbf",
                                  TempFolder() + "/y.dbf"}) {
        ui.fileAnswers.push_back(target);
        const auto r = exports::ExportPersonsDbf(ui);
        EXPECT_FALSE(r.done) << qPrintable(target);
        ASSERT_TRUE(r.refused.has_value()) << qPrintable(target);
        EXPECT_EQ(ui.messages.back().title, "Creare DBF Persoane");
    }
    EXPECT_EQ(bytesOf(TablePath("Cereri.dbf")), live);

    const QString held = out + "/held.dbf";
    writeFile(tmp / "out" / "held.dbf", "old");
    writeFile(tmp / "out" / ".~lock.held.dbf#", "x");
    ui.fileAnswers.push_back(held);
    EXPECT_FALSE(exports::ExportPersonsDbf(ui).done);
    EXPECT_EQ(ui.messages.back().text, "\rFisierul ales este in utilizare!");
    EXPECT_EQ(bytesOf(held), QByteArray("old"));
}

} // namespace
} // namespace focaris::test
