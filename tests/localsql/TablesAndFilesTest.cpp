// The engine and the files: names in any case, writes by other programs and processes,
// the cached copies and their look-ups, the table cursor and packing.
#include "SqlTestSupport.h"

#include "engines/dbase/DbfTable.h"
#include "engines/localsql/TableCursor.h"

#include <sys/wait.h>
#include <unistd.h>

using namespace focaris;
using namespace focaris::test;

namespace {

class Files : public SqlFolder {
protected:
    void makeMembers(const std::string &name)
    {
        exec("CREATE TABLE \"" + name +
             "\" (NROM DECIMAL(10,0), NRCRT DECIMAL(12,0), CNP CHAR(13), VENIT DECIMAL(10,2), "
             "DATAL DATE)");
    }
};

TEST_F(Files, TableNamesAreFoundWhateverTheirCase)
{
    makeMembers("OAMENI.DBF");
    EXPECT_TRUE(std::filesystem::exists(dir / "OAMENI.DBF")) << "CREATE TABLE makes the name as written";
    exec("INSERT INTO \"Oameni.dbf\" (NROM) VALUES (1)");
    exec("INSERT INTO \"" + (dir / "oameni.dbf").string() + "\" (NROM) VALUES (2)");
    EXPECT_EQ(rows("SELECT COUNT(*) FROM Oameni"), Rows{"2"});
    EXPECT_FALSE(std::filesystem::exists(dir / "Oameni.dbf"));
    // Windows-style paths from the statements of older data.
    EXPECT_EQ(rows("SELECT MAX(NROM) FROM \".\\Oameni.DBF\""), Rows{"2"});
}

TEST_F(Files, WritesOfOtherProgramsAreSeenAtTheNextStatement)
{
    makeMembers("Oameni.dbf");
    exec("INSERT INTO \"Oameni.dbf\" (NROM, CNP) VALUES (1, \"111\")");
    EXPECT_EQ(rows("SELECT NROM FROM \"Oameni.dbf\" WHERE CNP=\"222\""), Rows{});
    {
        dbf::DbfTable t(dir / "Oameni.dbf");
        t.append({dbf::Value::fromNumber(2), dbf::Value::null(), dbf::Value::fromText("222")});
        t.overwrite(1, {dbf::Value::fromNumber(1), dbf::Value::null(), dbf::Value::fromText("333")});
    }
    EXPECT_EQ(rows("SELECT NROM, CNP FROM \"Oameni.dbf\" WHERE CNP=\"222\" OR CNP=\"333\" ORDER BY NROM"),
              (Rows{"1|333", "2|222"}));
    EXPECT_EQ(rows("SELECT NROM FROM \"Oameni.dbf\" WHERE CNP=\"111\""), Rows{});
    // A second engine of the same process sees the first one's writes.
    sql::Engine other(dir.path());
    exec("DELETE FROM \"Oameni.dbf\" WHERE NROM=1");
    EXPECT_EQ(other.query("SELECT NROM FROM \"Oameni.dbf\"").rowCount(), 1u);
}

TEST_F(Files, EqualityLookupsAgreeWithScans)
{
    makeMembers("Oameni.dbf");
    std::string insert = "INSERT INTO \"Oameni.dbf\" (NROM, NRCRT, CNP, VENIT, DATAL) VALUES ";
    for (int i = 1; i <= 600; ++i)
        insert += (i > 1 ? ", (" : "(") + std::to_string(i) + ", " + std::to_string(i % 50) + ", \"" +
                  std::to_string(1000 + i % 37) + "\", " + std::to_string(i % 7) + ".5, \"0" +
                  std::to_string(1 + i % 9) + ".01.2024\")";
    exec(insert);
    auto count = [&](const std::string &where) {
        return rows("SELECT COUNT(*) FROM \"Oameni.dbf\" WHERE " + where).front();
    };
    // The same condition through the hash look-up (=) and through a scan (+0, ||'').
    for (const char *c : {"NRCRT=7", "CNP=\"1005\"", "VENIT=3.5", "DATAL=\"05.01.2024\"", "CNP=1005"}) {
        const std::string cond = c;
        const std::string col = cond.substr(0, cond.find('='));
        const std::string val = cond.substr(cond.find('=') + 1);
        const std::string scan = col == "CNP" || col == "DATAL"
                                     ? "(" + col + " >= " + val + " AND " + col + " <= " + val + ")"
                                     : col + "+0=" + val;
        EXPECT_EQ(count(cond), count(scan)) << cond;
        EXPECT_NE(count(cond), "0") << cond;
    }
    // A constant of another type is compared the way a scan compares it.
    EXPECT_EQ(count("NRCRT=\"7\""), count("NRCRT=7"));
    EXPECT_EQ(count("NRCRT=\"sapte\""), "0");
    // Look-ups stay right after writes change the indexed values.
    exec("UPDATE \"Oameni.dbf\" SET NRCRT=999 WHERE NRCRT=7");
    exec("DELETE FROM \"Oameni.dbf\" WHERE NROM=57");
    exec("INSERT INTO \"Oameni.dbf\" (NROM, NRCRT) VALUES (601, 999)");
    EXPECT_EQ(count("NRCRT=7"), "0");
    EXPECT_EQ(count("NRCRT=999"), "12");
    EXPECT_EQ(rows("SELECT COUNT(*) FROM \"Oameni.dbf\" A INNER JOIN \"Oameni.dbf\" B ON A.NROM=B.NRCRT"), Rows{"576"});
}

TEST_F(Files, CursorWalksEditsPostsAndPacks)
{
    makeMembers("Oameni.dbf");
    exec("INSERT INTO \"Oameni.dbf\" (NROM, VENIT) VALUES (1, 10), (2, 20), (3, 30)");
    exec("DELETE FROM \"Oameni.dbf\" WHERE NROM=2");
    {
        sql::TableCursor cur(dir / "OAMENI.DBF");
        EXPECT_EQ(cur.rowCount(), 2u);
        for (bool ok = cur.first(); ok; ok = cur.next())
            cur.setValue("VENIT", sql::Value::fromReal(cur.value("VENIT").toDouble() * 2));
        EXPECT_TRUE(cur.last());
        EXPECT_EQ(cur.value("VENIT").toDouble(), 60);
        EXPECT_THROW(cur.setValue("VENIT", sql::Value::fromReal(1e12)), sql::SqlError);
        EXPECT_THROW(cur.value("NOSUCH"), sql::SqlError);
    }
    EXPECT_EQ(rows("SELECT NROM, VENIT FROM \"Oameni.dbf\" ORDER BY NROM"), (Rows{"1|20", "3|60"}));
    const auto before = std::filesystem::file_size(dir / "Oameni.dbf");
    sql::TableCursor::pack(dir / "Oameni.dbf");
    EXPECT_LT(std::filesystem::file_size(dir / "Oameni.dbf"), before);
    EXPECT_EQ(rows("SELECT NROM, VENIT FROM \"Oameni.dbf\" ORDER BY NROM"), (Rows{"1|20", "3|60"}));
}

// A statement's many writes reach the file as the cached copy has them: the copy kept by
// the engine and a fresh read of the file agree after inserts, updates and deletions.
TEST_F(Files, ManyRowStatementsLeaveTheFileAsTheCopyHasIt)
{
    makeMembers("Oameni.dbf");
    std::string insert = "INSERT INTO \"Oameni.dbf\" (NROM, NRCRT, CNP) VALUES ";
    for (int i = 1; i <= 1000; ++i)
        insert += (i > 1 ? ", (" : "(") + std::to_string(i) + ", " + std::to_string(i % 10) + ", \"C" +
                  std::to_string(i) + "\")";
    exec(insert);
    exec("UPDATE \"Oameni.dbf\" SET VENIT=NROM*2, CNP=\"U\" + CNP WHERE NRCRT<>3");
    exec("DELETE FROM \"Oameni.dbf\" WHERE NRCRT=5 OR NROM>990");
    exec("INSERT INTO \"Oameni.dbf\" SELECT NROM+5000, NRCRT, CNP, VENIT, DATAL FROM \"Oameni.dbf\" WHERE NRCRT=1");
    const Rows cached = rows("SELECT NROM, NRCRT, CNP, VENIT FROM \"Oameni.dbf\" ORDER BY NROM");
    ASSERT_EQ(cached.size(), 990u); // 1000, less 109 deleted, and 99 copies
    dbf::DbfTable t(dir / "Oameni.dbf");
    const dbf::RecordSet rs = t.readAll();
    Rows fromFile;
    for (std::size_t r = 0; r < rs.size(); ++r) {
        const long nrom = static_cast<long>(rs.number(r, 0));
        const std::string venit = rs.isNull(r, 3) ? "~" : std::to_string(static_cast<long>(rs.number(r, 3)));
        fromFile.push_back(std::to_string(nrom) + "|" + std::to_string(static_cast<long>(rs.number(r, 1))) + "|" +
                           std::string(rs.text(r, 2)) + "|" + venit);
    }
    EXPECT_EQ(fromFile, cached);
    EXPECT_EQ(t.recordCount(), 1099u);
    EXPECT_EQ(rows("SELECT CNP, VENIT FROM \"Oameni.dbf\" WHERE NROM=5011"), Rows{"UC11|22"});
    EXPECT_EQ(rows("SELECT CNP, VENIT FROM \"Oameni.dbf\" WHERE NROM=13"), Rows{"C13|~"});
}

// DELETE without a condition empties the table whatever the cached copy knew: rows other
// programs wrote before it go too, rows they write after it are seen, and the engine's
// own later writes land on the right records.
TEST_F(Files, DeleteWithoutAConditionEmptiesTheTable)
{
    makeMembers("Oameni.dbf");
    exec("INSERT INTO \"Oameni.dbf\" (NROM, NRCRT) VALUES (1, 1), (2, 1), (3, 2)");
    exec("DELETE FROM \"Oameni.dbf\" WHERE NROM=2");
    EXPECT_EQ(rows("SELECT COUNT(*) FROM \"Oameni.dbf\" WHERE NRCRT=1"), Rows{"1"});
    dbf::DbfTable other(dir / "Oameni.dbf");
    other.append({dbf::Value::fromNumber(4), dbf::Value::fromNumber(1)});
    EXPECT_EQ(exec("DELETE FROM \"Oameni.dbf\""), 3);
    EXPECT_EQ(exec("DELETE FROM oameni"), 0);
    EXPECT_EQ(rows("SELECT COUNT(*) FROM \"Oameni.dbf\" WHERE NRCRT=1"), Rows{"0"});
    exec("INSERT INTO \"Oameni.dbf\" (NROM, NRCRT) VALUES (5, 1)");
    other.append({dbf::Value::fromNumber(6), dbf::Value::fromNumber(1)});
    exec("UPDATE \"Oameni.dbf\" SET CNP=\"X\" WHERE NROM=5");
    EXPECT_EQ(rows("SELECT NROM, CNP FROM \"Oameni.dbf\" WHERE NRCRT=1 ORDER BY NROM"), (Rows{"5|X", "6|~"}));
    EXPECT_EQ(other.recordCount(), 6u);
    EXPECT_EQ((*other.readRecord(5))[2].text, "X");
    EXPECT_TRUE(other.isDeleted(4));
    const std::string err = errorOf("DELETE FROM \"Nimic.dbf\"");
    EXPECT_NE(err.find("does not exist"), std::string::npos) << err;
    EXPECT_NE(err.find("\"Nimic.dbf\""), std::string::npos) << err;
}

// Two processes appending and updating the same table at once lose and tear nothing.
TEST_F(Files, TwoProcessesWritingAtOnceLoseNothing)
{
    makeMembers("Oameni.dbf");
    const int perProcess = 150;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    const int base = child == 0 ? 100000 : 200000;
    bool ok = true;
    try {
        sql::Engine e(dir.path());
        for (int i = 0; i < perProcess; ++i) {
            const std::string key = std::to_string(base + i);
            e.execute("INSERT INTO \"Oameni.dbf\" (NROM, NRCRT, CNP) VALUES (" + key + ", 0, \"" + key + "\")");
            if (i % 3 == 0)
                e.execute("UPDATE \"Oameni.dbf\" SET NRCRT=NRCRT+1 WHERE NROM=" + key);
        }
    } catch (const std::exception &) {
        ok = false;
    }
    if (child == 0)
        _exit(ok ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(ok);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(rows("SELECT COUNT(*), SUM(NRCRT) FROM \"Oameni.dbf\""), Rows{std::to_string(2 * perProcess) + "|100"});
    EXPECT_EQ(rows("SELECT COUNT(*) FROM \"Oameni.dbf\" WHERE CAST(CNP AS FLOAT)=NROM"),
              Rows{std::to_string(2 * perProcess)});
}

} // namespace
