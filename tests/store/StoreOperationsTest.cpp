// The data store operations on a data folder: tables, keys, log, upgrade, packing and the
// list helpers.
#include "StoreFixture.h"

#include "core/ChangeLog.h"
#include "core/Keys.h"
#include "core/Settings.h"
#include "core/TableLock.h"
#include "engines/dbase/DbfTable.h"

#include <QDir>

#include <set>
#include <thread>
#include <vector>

using namespace focaris;
using namespace focaris::test;

namespace {

class Store : public StoreFolder {};

TEST_F(Store, ANewFolderGetsTheThreeTablesAndKeysFromOne)
{
    const QStringList files = QDir(DataFolder()).entryList(QDir::Files, QDir::Name);
    EXPECT_TRUE(files.contains("LOG.DBF") && files.contains("Cereri.dbf") && files.contains("Oameni.dbf"))
        << files.join(",").toStdString();
    EXPECT_EQ(QuerySql("SELECT * FROM " + table("Cereri.dbf")).columnCount(), 52u);
    EXPECT_EQ(QuerySql("SELECT * FROM " + table("Oameni.dbf")).columnCount(), 6u);
    EXPECT_EQ(QuerySql("SELECT * FROM " + table("Log.dbf")).columnName(4), "UTILIZATOR");
    dbf::DbfTable cereri((dir / "Data" / "Cereri.dbf"));
    EXPECT_EQ(cereri.fields()[46].name, "TARIF");
    EXPECT_EQ(cereri.fields()[47].decimals, 4);
    // Creating again changes nothing.
    QuerySql("SELECT * FROM " + table("Log.dbf"));
    ExecSql("INSERT INTO " + table("Oameni.dbf") + " (NROM) VALUES (1)");
    CreateTables();
    EXPECT_EQ(rows("SELECT NROM FROM " + table("Oameni.dbf")), Rows{"1"});

    ResetKeys();
    EXPECT_EQ(PeekKeyText("NRCRT"), "1");
    EXPECT_EQ(PeekKeyText("NROM"), "2");
    EXPECT_EQ(MaxKey(TablePath("Cereri.dbf"), "NRCRT"), 0);
}

TEST_F(Store, CountersGiveTheirValueAndStoreTheNext)
{
    EXPECT_EQ(NextKey("NRCRT"), Amount(1));
    EXPECT_EQ(ReadSettingNumber("INDEX", "NRCRT"), Amount(2));
    EXPECT_EQ(NextKeyText("NRCRT"), "2");
    EXPECT_EQ(PeekKeyText("NRCRT"), "3");
    EXPECT_EQ(PeekKeyText("NRCRT"), "3");
    SetKey("NR_CERE", Amount(0));
    EXPECT_EQ(NextKey("NR_CERE"), Amount(1)) << "zero counts as one";
    SetKey("NROM", Amount::parseOrZero("41.5"));
    EXPECT_EQ(NextKeyText("NROM"), "41");
    // MaxKey reads 32-bit keys only.
    ExecSql("INSERT INTO " + table("Cereri.dbf") + " (NRCRT) VALUES (2147483648)");
    EXPECT_EQ(MaxKey(TablePath("Cereri.dbf"), "NRCRT"), 0);
    ExecSql("UPDATE " + table("Cereri.dbf") + " SET NRCRT=70");
    ResetKeys();
    EXPECT_EQ(PeekKeyText("NRCRT"), "71");
}

TEST_F(Store, TheLogKeepsItsNewestThousandKeys)
{
    Context().operatorName = "CALCULATOR-PRIMARIE - administrator";
    WriteLogAt("Pornire program", QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    EXPECT_EQ(rows("SELECT IDLOG, DATAL, ORA, ACTIUNE, UTILIZATOR FROM " + table("Log.dbf")),
              Rows{"1|05.03.2024|14:07:09|Pornire program|CALCULATOR-PRIMA"});
    WriteLog("Stergere Cerere 12/05.03.2024 - \"POP\" ION");
    EXPECT_EQ(rows("SELECT ACTIUNE FROM " + table("Log.dbf") + " WHERE IDLOG=2"),
              Rows{"Stergere Cerere 12/05.03.2024 -  POP  ION"});

    ExecSql("DELETE FROM " + table("Log.dbf"));
    auto fill = [&](int from, int to) {
        QString insert = "INSERT INTO " + table("Log.dbf") + " (IDLOG, ACTIUNE) VALUES ";
        for (int i = from; i <= to; ++i)
            insert += QString(i > from ? ", " : "") + "(" + QString::number(i) + ", \"x\")";
        ExecSql(insert);
    };
    fill(1, 999);
    PurgeLog();
    EXPECT_EQ(rows("SELECT COUNT(*) FROM " + table("Log.dbf")), Rows{"999"});
    fill(1000, 1500);
    PurgeLog();
    EXPECT_EQ(rows("SELECT COUNT(*), MIN(IDLOG) FROM " + table("Log.dbf")), Rows{"1001|500"});
}

TEST_F(Store, AnOldApplicationsTableIsUpgradedOnce)
{
    QFile::remove(TablePath("Cereri.dbf"));
    // The oldest layout: a TITULAR column for the contract holder, no TARIF, TITT or VALMAX.
    ExecSql("CREATE TABLE " + table("Cereri.dbf") +
            " (NRCRT DECIMAL(12,0), SUBSEMN CHAR(32), CNP CHAR(13), "
            "TITULAR CHAR(32), CUAJUT CHAR(1), CUANTUM DECIMAL(10,2), NR_LUNI DECIMAL(5,0), TOTAL DECIMAL(10,2), "
            "NRCAM DECIMAL(6,0))");
    ExecSql("INSERT INTO " + table("Cereri.dbf") +
            " VALUES (1, \"POP ION\", \"1800101123456\", \"POP MARIA\", \"X\", 50, 5, 0, 2), "
            "(2, \"ENE ANA\", \"2800101123456\", \"\", \"\", 30, 4, 7, 3)");
    auto gcal = [](int rooms) { return Amount::fromWhole(rooms); };
    EXPECT_TRUE(UpgradeApplicationsTable(gcal));
    const sql::ResultSet all = QuerySql("SELECT * FROM " + table("Cereri.dbf"));
    EXPECT_EQ(all.columnIndex("TITULAR"), -1);
    EXPECT_GE(all.columnIndex("TARIF"), 0);
    EXPECT_EQ(rows("SELECT TITT, CNPT, TARIF, VALMAX, TOTAL FROM " + table("Cereri.dbf") + " ORDER BY NRCRT"),
              (Rows{"POP MARIA|1800101123456|0|0|0", "ENE ANA|2800101123456|0|0|7"}));
    // With a price the heating rows get VALMAX = Gcal x percentage x price / 100, TOTAL = months x VALMAX.
    ExecSql("ALTER TABLE " + table("Cereri.dbf") + " DROP VALMAX");
    ExecSql("UPDATE " + table("Cereri.dbf") + " SET TARIF=300");
    EXPECT_TRUE(UpgradeApplicationsTable(gcal));
    EXPECT_EQ(rows("SELECT VALMAX, TOTAL FROM " + table("Cereri.dbf") + " ORDER BY NRCRT"), (Rows{"300|1500", "0|7"}));
    EXPECT_FALSE(UpgradeApplicationsTable(gcal));
}

TEST_F(Store, TablesArePackedOnceAWeek)
{
    // 5 January 2024 was a Friday: the week changes at the following midnight.
    const QDateTime friday(QDate(2024, 1, 5), QTime(23, 59));
    const QDateTime saturday(QDate(2024, 1, 6), QTime(0, 1));
    EXPECT_EQ(WeekNumber(saturday), WeekNumber(friday) + 1);
    EXPECT_EQ(WeekNumber(QDateTime(QDate(1900, 1, 5), QTime(12, 0))), 0);

    ExecSql("INSERT INTO " + table("Oameni.dbf") + " (NROM) VALUES (1), (2)");
    ExecSql("DELETE FROM " + table("Oameni.dbf") + " WHERE NROM=1");
    const auto size = [&] { return QFileInfo(TablePath("Oameni.dbf")).size(); };
    const qint64 before = size();
    int steps = 0;
    EXPECT_TRUE(WeeklyPack([&] { ++steps; }, friday));
    EXPECT_EQ(steps, 3);
    EXPECT_LT(size(), before);
    EXPECT_EQ(ReadSettingNumber("CONST", "LASTPACK").truncated(), WeekNumber(friday));
    EXPECT_FALSE(WeeklyPack([&] { ++steps; }, friday.addSecs(-3600)));
    EXPECT_EQ(steps, 6) << "the bar advances even when nothing is packed";
    EXPECT_TRUE(WeeklyPack({}, saturday));
}

TEST_F(Store, ListsAreFilledWithTheDistinctNonBlankValues)
{
    ExecSql("INSERT INTO " + table("Cereri.dbf") +
            " (NRCRT, LUNACRT, LOCALIT) VALUES (1, 5, \"LIVADA\"), (2, 5, \"ARDUD\"), "
            "(3, 5, \"\"), (4, 5, \"LIVADA\"), (5, 6, \"CAREI\")");
    QStringList items{"* toate localitatile *"};
    EXPECT_EQ(FillDistinct(items, TablePath("Cereri.dbf"), "   ", "LOCALIT"), 0);
    EXPECT_EQ(items, (QStringList{"* toate localitatile *", "ARDUD", "CAREI", "LIVADA"}));
    QStringList month;
    FillDistinct(month, TablePath("Cereri.dbf"), "LUNACRT=5", "LOCALIT");
    EXPECT_EQ(month, (QStringList{"ARDUD", "LIVADA"}));
    EXPECT_EQ(SelectItem(month, "LIVADA"), 1);
    EXPECT_EQ(SelectItem(month, "livada"), -1);
    QStringList none;
    EXPECT_EQ(FillDistinct(none, TablePath("Cereri.dbf"), "LUNACRT=99", "LOCALIT"), -1);

    // The order is the engine's ORDER BY of the column: texts by their bytes (small letters
    // after capitals, a cedilla after Z, a shorter name before its longer form), numbers
    // by value.
    ExecSql("INSERT INTO " + table("Cereri.dbf") +
            " (NRCRT, LUNACRT, LOCALIT) VALUES (100, 7, \"ŞIMLEU\"), "
            "(9, 7, \"livada\"), (10, 7, \"BAIA MARE\"), (6, 7, \"ZALAU\"), (7, 7, \"BAIA\")");
    const auto ordered = [&](const char *column) {
        QStringList items;
        FillDistinct(items, TablePath("Cereri.dbf"), "LUNACRT=7", column);
        Rows out;
        for (const QString &item : items)
            out.push_back(item.toStdString());
        return out;
    };
    EXPECT_EQ(ordered("LOCALIT"), (Rows{"BAIA", "BAIA MARE", "ZALAU", "livada", "ŞIMLEU"}));
    EXPECT_EQ(ordered("NRCRT"), (Rows{"6", "7", "9", "10", "100"}));
    for (const char *column : {"LOCALIT", "NRCRT"})
        EXPECT_EQ(
            ordered(column),
            rows(QString("SELECT DISTINCT %1 FROM %2 WHERE LUNACRT=7 ORDER BY %1").arg(column, table("Cereri.dbf"))))
            << column;
}

// Keys taken at the same time never repeat, and the start never lowers a counter: members
// left behind by an interrupted operation keep their application key out of use.
TEST_F(Store, KeysAreNeverGivenTwice)
{
    std::vector<qint64> first, second;
    auto take = [](std::vector<qint64> &keys) {
        for (int i = 0; i < 60; ++i)
            keys.push_back(i % 3 ? NextKey("NROM").truncated() : TakeKeys("NROM", 2).truncated());
    };
    std::thread a(take, std::ref(first)), b(take, std::ref(second));
    a.join();
    b.join();
    std::set<qint64> given;
    for (const auto *keys : {&first, &second})
        for (qint64 k : *keys)
            EXPECT_TRUE(given.insert(k).second) << "key " << k << " given twice";

    // Members of a vanished application 40 above the applications' largest key.
    ExecSql("INSERT INTO " + table("Cereri.dbf") + " (NRCRT) VALUES (7)");
    ExecSql("INSERT INTO " + table("Oameni.dbf") + " (NROM, NRCRT) VALUES (300, 40)");
    SetKey("NRCRT", Amount(5));
    SetKey("IDLOG", Amount(900));
    ResetKeys();
    EXPECT_EQ(PeekKeyText("NRCRT"), "41");
    EXPECT_EQ(PeekKeyText("NROM"), "301");
    EXPECT_EQ(PeekKeyText("IDLOG"), "900") << "a counter above every key stays where it is";
}

// A writer that finds the applications' lock held by another (here another thread, which
// the lock treats as another computer) waits and gives up with the clerk's message; the
// same thread nests its own locks.
TEST_F(Store, TheApplicationsWriteLockExcludesOtherWriters)
{
    TableWriteLock held;
    TableWriteLock nested;
    std::string refused;
    std::thread other([&] {
        try {
            TableWriteLock lock(nullptr, "Cereri.dbf", 0);
        } catch (const TableBusy &e) {
            refused = e.what();
        }
    });
    other.join();
    EXPECT_EQ(refused, "Tabela este folosita de alt calculator, incercati din nou");
    EXPECT_TRUE(LocksWorkIn(DataFolder()));
    EXPECT_EQ(QDir(DataFolder()).entryList({".locktest*"}, QDir::Hidden | QDir::Files), QStringList{});
}

} // namespace
