// Faults of the daily work with months: impossible or unlisted months taken as real ones,
// month operations run without a working month, statements that blank values (NULL)
// turned into "nothing found", and a search that missed names with diacritics.
#include "MonthFixture.h"

#include "applications/ApplicationList.h"
#include "applications/EditorRows.h"
#include "applications/MonthCopy.h"
#include "applications/MonthRecalculation.h"
#include "applications/Numbering.h"
#include "applications/Removals.h"
#include "core/Keys.h"
#include "core/Settings.h"

using namespace focaris;
using namespace focaris::test;

namespace {

class DailyFaults : public MonthFolder {
protected:
    void SetUp() override
    {
        MonthFolder::SetUp();
        writeFile(std::filesystem::path(DataFolder().toStdString()) / "Luni.lst", "02.2024\r\n01.2024\r\n");
        WriteSetting(QStringLiteral("VARIABILE"), QStringLiteral("LUNA_LUCRU"), QStringLiteral("02.2024"));
    }
    std::string tool(const std::string &args, int *rc)
    {
        std::string out;
        *rc = run(shellQuote(toolPath()) + " " + args + " --yes", &out, true);
        return out;
    }
    std::string folder() const { return shellQuote(DataFolder().toStdString()); }
};

TEST_F(DailyFaults, TheToolRefusesImpossibleAndUnlistedMonths)
{
    add(house(1, p, QStringLiteral("POPA ION")));
    const qint64 before = count(cereri());
    int rc = 0;
    const std::string notAMonth = "refused: month: Alegeti mai intai o luna de la butonul Perioada!\n";
    for (const char *month : {"13.2025", "00.2025", "01.1999"}) {
        EXPECT_EQ(tool("applications list " + folder() + " --month " + month, &rc), notAMonth) << month;
        EXPECT_EQ(rc, 1);
    }
    EXPECT_EQ(tool("applications copy " + folder() + " --from 13.2023", &rc), notAMonth);
    EXPECT_EQ(rc, 1);
    // A real month that the office does not work with.
    EXPECT_EQ(tool("applications copy " + folder() + " --from 03.2024", &rc),
              "refused: month: Luna aleasa nu exista in lista!\n");
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(tool("applications set-months " + folder() + " 2 --month 03.2024", &rc),
              "refused: month: Luna aleasa nu exista in lista!\n");
    EXPECT_EQ(count(cereri()), before);
    EXPECT_EQ(lastLog(), QString());
    // The listed months work as before.
    tool("applications copy " + folder() + " --from 01.2024", &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(count(cereri(), QStringLiteral("LUNACRT=%1").arg(w)), 1);
}

TEST_F(DailyFaults, TheToolRefusesASettingsFileThatIsNotOursAndLeavesItAlone)
{
    const auto file = std::filesystem::path(DataFolder().toStdString()) / "Focaris.set";
    const std::string utf16("\xFF\xFE[\0I\0N\0D\0E\0X\0]\0\r\0\n\0", 20);
    writeFile(file, utf16);
    int rc = 0;
    for (const std::string &command : {"applications list " + folder(), "months add " + folder() + " 03.2024"}) {
        const std::string out = tool(command, &rc);
        EXPECT_EQ(rc, 1) << command;
        EXPECT_NE(out.find(file.string()), std::string::npos) << out;
    }
    EXPECT_EQ(readFile(file), utf16);
}

TEST_F(DailyFaults, EveryMonthOperationNeedsARealWorkingMonth)
{
    add(house(1, p, QStringLiteral("POPA ION")));
    add(house(2, w, QStringLiteral("POPA ION")));
    const QString chooseFirst = QStringLiteral("Alegeti mai intai o luna de la butonul Perioada!");
    NumberingRequest numbering;
    numbering.from = 1;
    numbering.to = 9;
    numbering.start = 1;
    numbering.date = QDate(2024, 2, 1);
    const std::vector<std::function<Outcome()>> operations{
        [&] { return CopyFromMonth(ui, p, 0); },
        [&] { return RemoveAlsoInMonth(ui, p, 0); },
        [&] { return ChangeMonths(ui, 0, 3); },
        [&] { return NumberDispositions(ui, 0, numbering); },
        [&] { return SetApplicationDates(ui, 0, 1, 9, QDate(2024, 2, 1)); },
    };
    for (std::size_t i = 0; i < operations.size(); ++i) {
        ui.messages.clear();
        const Outcome o = operations[i]();
        EXPECT_FALSE(o.done) << i;
        ASSERT_FALSE(ui.messages.empty()) << i;
        EXPECT_EQ(ui.lastMessage(), chooseFirst) << i;
    }
    EXPECT_EQ(count(cereri(), QStringLiteral("LUNACRT=0")), 0);
    EXPECT_EQ(count(cereri()), 2);
    EXPECT_EQ(count(oameni()), 2);
}

TEST_F(DailyFaults, BlankValuesDoNotHideRows)
{
    // Blank status and blank number of months: the application continues, with five
    // months, like any other that ran out.
    Household blank = house(1, p, QStringLiteral("POPA ION"));
    add(blank);
    ExecSql(QStringLiteral("UPDATE %1 SET STATUT=\"\", NR_LUNI=NULL WHERE NRCRT=1").arg(cereri()));
    add(house(2, p, QStringLiteral("RUSU DAN")));
    SetKey(QStringLiteral("NRCRT"), Amount::fromWhole(100));
    SetKey(QStringLiteral("NROM"), Amount::fromWhole(500));
    const Outcome copied = CopyFromMonth(ui, p, w);
    ASSERT_TRUE(copied.done) << ui.lastMessage().toStdString();
    EXPECT_EQ(copied.rows, 2);
    EXPECT_EQ(rows(QStringLiteral("SELECT SUBSEMN, NR_LUNI, TOTAL FROM %1 WHERE LUNACRT=%2 ORDER BY SUBSEMN")
                       .arg(cereri())
                       .arg(w)),
              (Rows{"POPA ION|5|500", "RUSU DAN|4|400"}));

    // An application with a blank key does not keep the orphans; a member with a blank
    // key belongs to no application and goes with them.
    ExecSql(QStringLiteral(
                "INSERT INTO %1 (NRCRT, LUNACRT, SUBSEMN, CNP) VALUES (NULL, %2, \"FARA CHEIE\", \"2990101000000\")")
                .arg(cereri())
                .arg(p));
    ExecSql(QStringLiteral("INSERT INTO %1 (NROM, NRCRT, TITULAR, CNP) VALUES (900, 77, \"ORFAN\", \"1990101000001\")")
                .arg(oameni()));
    ExecSql(QStringLiteral(
                "INSERT INTO %1 (NROM, NRCRT, TITULAR, CNP) VALUES (901, NULL, \"FARA CERERE\", \"1990101000002\")")
                .arg(oameni()));
    const Outcome removed = RemoveAlsoInMonth(ui, p, w);
    ASSERT_TRUE(removed.done) << ui.lastMessage().toStdString();
    EXPECT_EQ(removed.rows, 2);
    EXPECT_EQ(count(oameni(), QStringLiteral("NROM>=900")), 0);
    EXPECT_EQ(count(oameni()), 2); // the members of the source month stay

    // The editor's look-up of the applicant among the month's members: a member with a
    // blank role is no beneficiary, and one with a blank key is not the one excepted.
    add(house(3, w, QStringLiteral("STAN IOANA")));
    ExecSql(
        QStringLiteral(
            "INSERT INTO %1 (NROM, NRCRT, TITULAR, CNP, CALITATE) VALUES (NULL, 3, \"STAN MIHAI\", \"1850101000003\", NULL)")
            .arg(oameni()));
    const auto found = MembersInMonth(QStringLiteral("1850101000003"), w, 30, true);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].titular, QStringLiteral("STAN MIHAI"));
}

TEST_F(DailyFaults, TheSearchFindsNamesWhateverTheirDiacritics)
{
    add(house(1, w, QString::fromUtf8("ŢĂRANU ION")));
    add(house(2, w, QString::fromUtf8("ŞTEFĂNESCU ANA")));
    add(house(3, w, QString::fromUtf8("ȘTEFAN DAN")));
    add(house(4, w, QStringLiteral("TANASE EVA")));
    ApplicationList list;
    list.open(w);
    auto found = [&](const char *typed) {
        list.setSearch(QString::fromUtf8(typed));
        return list.count();
    };
    EXPECT_EQ(found("TA"), 2);      // ŢĂRANU, TANASE
    EXPECT_EQ(found("STEF"), 2);    // ŞTEFĂNESCU, ȘTEFAN
    EXPECT_EQ(found("ȘTEFĂNE"), 1); // the comma-below letter typed on a Linux keyboard
    EXPECT_EQ(found("ŞTEFA"), 2);
    EXPECT_EQ(found(""), 4);
}

} // namespace
