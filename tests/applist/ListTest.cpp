// The month's list: its rows and computed month, the search on the beginning of the name
// (an apostrophe included), the order by a column, and the tool's list and bulk commands
// with their output, refusals and exit status.
#include "MonthFixture.h"

#include "applications/ApplicationList.h"
#include "core/Keys.h"
#include "core/Settings.h"

#include <QDir>
#include <QFileInfo>

using namespace focaris;
using namespace focaris::test;

namespace {

class ListQuery : public MonthFolder {
protected:
    void SetUp() override
    {
        MonthFolder::SetUp();
        add(house(1, w, QStringLiteral("IONESCU ANA"), 30));
        add(house(2, w, QStringLiteral("POPA ION"), 10));
        add(house(3, w, QStringLiteral("ION MARIA"), 20));
        add(house(4, w, QStringLiteral("O'BRIEN IOANA"), 40));
        add(house(5, p, QStringLiteral("IONITA DAN"), 50));
        WriteSetting(QStringLiteral("VARIABILE"), QStringLiteral("LUNA_LUCRU"), QStringLiteral("02.2024"));
        writeFile(std::filesystem::path(DataFolder().toStdString()) / "Luni.lst", "02.2024\r\n01.2024\r\n");
        ResetKeys(); // as every start of the program does
    }
    static int column(const char *name)
    {
        for (std::size_t i = 0; i < ListColumns().size(); ++i)
            if (ListColumns()[i].column == QLatin1String(name))
                return static_cast<int>(i);
        return -1;
    }
    std::vector<QString> names(const ApplicationList &l)
    {
        std::vector<QString> out;
        for (int r = 0; r < l.count(); ++r)
            out.push_back(l.text(r, column("SUBSEMN")));
        return out;
    }
    std::string tool(const std::string &args, int *rc = nullptr, bool err = false)
    {
        std::string out;
        const int status = run(shellQuote(toolPath()) + " " + args, &out, err);
        if (rc)
            *rc = status;
        return out;
    }
    std::string folder() const { return shellQuote(DataFolder().toStdString()); }
};

TEST_F(ListQuery, TheMonthIsListedByNameWithItsFirstMonthAsText)
{
    ApplicationList l;
    l.open(w);
    EXPECT_EQ(l.count(), 4);
    EXPECT_EQ(names(l), (std::vector<QString>{"ION MARIA", "IONESCU ANA", "O'BRIEN IOANA", "POPA ION"}));
    EXPECT_EQ(l.text(0, column(kFirstMonthColumn)), "02.2024");
    EXPECT_EQ(l.text(0, column("DATACERE")), "01.02.2024");
    EXPECT_EQ(l.text(0, column("VALMAX")), "100");
    EXPECT_EQ(l.text(0, column("NR_DISP")), "");
    EXPECT_EQ(ListColumns().size(), 37u);
    EXPECT_EQ(ListColumns()[16].title, "Compen- sare(%)");
}

TEST_F(ListQuery, SearchKeepsTheNamesBeginningWithTheTextAndSurvivesReopening)
{
    ApplicationList l;
    l.open(w);
    l.setSearch(QStringLiteral("ION"));
    EXPECT_EQ(names(l), (std::vector<QString>{"ION MARIA", "IONESCU ANA"}));
    l.setSearch(QStringLiteral("O'B"));
    EXPECT_EQ(names(l), (std::vector<QString>{"O'BRIEN IOANA"}));
    l.setSearch(QStringLiteral("ION "));
    EXPECT_EQ(l.count(), 1);
    l.reopen();
    EXPECT_EQ(l.count(), 1);
    EXPECT_EQ(l.monthCount(), 4);
    l.setSearch({});
    EXPECT_EQ(l.count(), 4);
}

TEST_F(ListQuery, SortingByATitleReordersAndTheCurrentApplicationIsFoundAgain)
{
    ApplicationList l;
    l.open(w);
    const qint64 current = l.key(1); // IONESCU ANA
    EXPECT_TRUE(l.sortBy(column("NR_CERE")));
    EXPECT_EQ(names(l), (std::vector<QString>{"POPA ION", "ION MARIA", "IONESCU ANA", "O'BRIEN IOANA"}));
    EXPECT_EQ(l.rowOfKey(current), 2);
    EXPECT_EQ(l.sortColumn(), "NR_CERE");
    // The computed month cannot order the query: nothing changes.
    EXPECT_FALSE(l.sortBy(column(kFirstMonthColumn)));
    EXPECT_EQ(l.sortColumn(), "NR_CERE");
    EXPECT_EQ(l.rowOfKey(999), -1);
}

TEST_F(ListQuery, ASortInMemoryGivesTheOrderTheQueryGives)
{
    // Blanks, dates across years and amounts with decimals: the orders that differ when
    // values are compared as the texts shown.
    ExecSql(QStringLiteral("UPDATE %1 SET DATADISP=\"05.01.2025\", TVENIT=1000.5 WHERE NRCRT=1").arg(cereri()));
    ExecSql(QStringLiteral("UPDATE %1 SET DATADISP=\"20.12.2024\", TVENIT=999.75 WHERE NRCRT=3").arg(cereri()));
    ExecSql(QStringLiteral("UPDATE %1 SET TVENIT=90 WHERE NRCRT=4").arg(cereri()));
    // Rows of equal value may come in another order; the values may not.
    auto values = [](const ApplicationList &l, int c) {
        QStringList out;
        for (int r = 0; r < l.count(); ++r)
            out << l.text(r, c);
        return out;
    };
    for (const char *c : {"DATADISP", "TVENIT", "NR_CERE", "CNP"}) {
        ApplicationList l;
        l.open(w);
        ASSERT_TRUE(l.sortBy(column(c)));
        const QStringList sorted = values(l, column(c));
        l.reopen();
        EXPECT_EQ(l.sortColumn(), c);
        EXPECT_EQ(values(l, column(c)), sorted) << c;
    }
    ApplicationList l;
    l.open(w);
    l.sortBy(column("DATADISP"));
    EXPECT_EQ(names(l)[2], "ION MARIA");
    EXPECT_EQ(names(l)[3], "IONESCU ANA");
}

TEST_F(ListQuery, ToolListsTheGridColumnsAndRunsTheBulkCommands)
{
    int rc = 0;
    const std::string csv = tool("applications list " + folder() + " --search ION --sort NR_CERE", &rc);
    ASSERT_EQ(rc, 0) << csv;
    EXPECT_EQ(csv.substr(0, csv.find('\n')),
              "NR_CERE,DATACERE,LUNADECLS,NR_LUNI,SUBSEMN,CNP,TITT,LOCALIT,ADRESA,NR_DISP,"
              "DATADISP,CUMODIF,STATUT,NR_MEMBRI,TVENIT,VENITM,CUANTUM,VALMAX,CUAJUT,SUMAL,"
              "SUMAG,SUMAT,SUMAE,FURNT,ASOC,TARIF,NRCONT,CODCLT,L416,ASF,STCIV,SITSCOL,NRCAM,"
              "ASIG,SITPROF,COPII14,COPII18");
    EXPECT_NE(csv.find("\n20,01.02.2024,02.2024,5,ION MARIA,"), std::string::npos);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3);

    std::string out =
        tool("applications number " + folder() + " --from 10 --to 30 --start 7 --date 15.02.2024 --category all", &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(out, "Numerotare dispozitii: Dispozitiile au fost numerotate.\nrows=3\n");
    out = tool("applications number " + folder() + " --from 30 --to 10 --start 7 --date 15.02.2024", &rc, true);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out, "refused: a: Intervalul ales este incorect!\n");
    out = tool("applications set-months " + folder() + " 9", &rc, true);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out, "refused: k: Numar de luni incorect!\n");
    out = tool("applications set-months " + folder() + " 2 --month 01.2024", &rc);
    EXPECT_EQ(out, "Modificare Numar luni: Recalcularea s-a incheiat cu succes!\nrows=1\n");
    out = tool("applications copy " + folder() + " --from 01.2024", &rc);
    EXPECT_EQ(rc, 0) << out;
    EXPECT_EQ(out, "rows=1\nmembers=1\n");
    out = tool("applications copy " + folder() + " --from 01.2024", &rc, true);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out,
              "Adaugare Cereri: Exista 1 CNP-uri care exista deja! De exemplu: IONITA DAN CNP: 1000000000005 !!\n");
    EXPECT_EQ(rows(QStringLiteral("SELECT NR_CERE, NR_DISP FROM %1 WHERE LUNACRT=%2 AND NR_DISP<>\"\" ORDER BY NR_CERE")
                       .arg(cereri())
                       .arg(w)),
              (Rows{"10|7", "20|8", "30|9"}));
    out = tool("applications remove-also-in " + folder() + " --other 01.2024", &rc);
    EXPECT_EQ(rc, 0) << out;
    EXPECT_EQ(out.substr(0, out.find("saved=")), "rows=1\nmembers=1\n");
    const std::string saved = out.substr(out.find("saved=") + 6);
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(saved.substr(0, saved.size() - 1)))) << saved;
    QDir(QFileInfo(QString::fromStdString(saved.substr(0, saved.size() - 1))).path()).removeRecursively();
    out = tool("applications recalc " + folder() + " --month 7", &rc, true);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out, "refused: month: Alegeti mai intai o luna de la butonul Perioada!\n");
}

} // namespace
