// The meanings the program's statements rely on: blank texts, the empty text, trailing
// blanks, "+", dates, exact comparisons, numbers and the columns' limits.
#include "SqlTestSupport.h"

using namespace focaris;
using namespace focaris::test;

namespace {

class Semantics : public SqlFolder {
protected:
    void SetUp() override
    {
        exec("CREATE TABLE \"Cereri.dbf\" (NRCRT DECIMAL(12,0), SUBSEMN CHAR(32), CNP CHAR(13), "
             "TVENIT DECIMAL(10,2), NR_LUNI DECIMAL(5,0), NR_DISP CHAR(16), DATACERE DATE, "
             "STATUT CHAR(7), CUMODIF CHAR(1), TITT CHAR(32))");
        exec(
            "INSERT INTO \"Cereri.dbf\" (NRCRT, SUBSEMN, CNP, TVENIT, NR_LUNI, NR_DISP, DATACERE, STATUT, CUMODIF, TITT) "
            "VALUES (1, \"Pop Ion\", \"1800101123456\", 1234.5, 5, \"12\", \"05.02.2024\", \"APROBAT\", \"X\", \"\")");
        exec(
            "INSERT INTO \"Cereri.dbf\" (NRCRT, SUBSEMN, CNP, TVENIT, NR_LUNI, NR_DISP, DATACERE, STATUT, CUMODIF, TITT) "
            "VALUES (2, \"POP ANA  \", \"2800101123456\", 800, 3, \"\", \"28.12.2023\", \"APROBAT\", \"\", \"   \")");
        exec(
            "INSERT INTO \"Cereri.dbf\" (NRCRT, SUBSEMN, STATUT, TITT) VALUES (3, \"Ene Vasile\", \"RESPINS\", \"Ene\")");
    }
};

TEST_F(Semantics, BlankTextIsNullYetEqualsTheEmptyText)
{
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE TITT IS NULL ORDER BY NRCRT"), (Rows{"1", "2"}));
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE TITT=\"\" ORDER BY NRCRT"), (Rows{"1", "2"}));
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE NR_DISP=\"\" ORDER BY NRCRT"), (Rows{"2", "3"}));
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE TITT<>\"\""), (Rows{"3"}));
    // "<>" with a text is unknown for a blank value, hence the program's "OR ... IS NULL".
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE CUMODIF<>\"X\""), Rows{});
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE STATUT=\"APROBAT\" AND (CUMODIF<>\"X\" OR CUMODIF IS NULL)"),
              (Rows{"2"}));
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE (TITT IS NULL) OR (TITT=\"\")").size(), 2u);
    EXPECT_TRUE(query("SELECT TITT FROM \"Cereri.dbf\" WHERE NRCRT=2").value(0, "TITT").isNull());
}

TEST_F(Semantics, TrailingBlanksAreNoPartOfATextAndComparisonsAreExact)
{
    EXPECT_EQ(rows("SELECT SUBSEMN FROM \"Cereri.dbf\" WHERE NRCRT=2"), Rows{"POP ANA"});
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE SUBSEMN=\"POP ANA   \""), Rows{"2"});
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE SUBSEMN=\"pop ana\""), Rows{});
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE SUBSEMN LIKE \"Pop%\""), Rows{"1"});
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE SUBSEMN LIKE 'P_P%' ORDER BY NRCRT"), Rows{"2"});
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE SUBSEMN NOT LIKE \"%o%\" ORDER BY NRCRT"), (Rows{"2", "3"}));
}

TEST_F(Semantics, PlusJoinsTextsAndAddsNumbers)
{
    EXPECT_EQ(
        rows(
            "SELECT SUBSEMN + \" - \" + CNP AS X, NR_DISP+\"/\" AS D, TVENIT + NR_LUNI AS S, "
            "\"luna \" + NR_LUNI AS L, NR_DISP + \"/\" + DATACERE AS DD FROM \"Cereri.dbf\" WHERE NRCRT<3 ORDER BY NRCRT"),
        (Rows{"Pop Ion - 1800101123456|12/|1239.5|luna 5|12/05.02.2024",
              "POP ANA - 2800101123456|/|803|luna 3|/28.12.2023"}));
    EXPECT_EQ(rows("SELECT TVENIT*NR_LUNI, TVENIT/NR_LUNI FROM \"Cereri.dbf\" WHERE NRCRT=2"),
              Rows{"2400|266.6666666666667"});
    const sql::ResultSet r = query("SELECT NR_DISP+\"/\" AS NRDISP FROM \"Cereri.dbf\" WHERE NRCRT=1");
    EXPECT_EQ(r.columnType(0), sql::ColumnType::Text);
}

TEST_F(Semantics, DateConstantsAreDatesInComparisonsAndWrites)
{
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE DATACERE >= \"01.01.2024\""), Rows{"1"});
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE DATACERE < \"1.1.2024\""), Rows{"2"});
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" ORDER BY DATACERE DESC"), (Rows{"1", "2", "3"}));
    exec("UPDATE \"Cereri.dbf\" SET DATACERE=\"29.02.2024\" WHERE NRCRT=3");
    const sql::ResultSet r = query("SELECT DATACERE, MAX(DATACERE) AS M FROM \"Cereri.dbf\" WHERE NRCRT=3");
    EXPECT_EQ(r.columnType(0), sql::ColumnType::Date);
    EXPECT_EQ(r.value(0, "DATACERE"), sql::Value::fromDate(2024, 2, 29));
    EXPECT_EQ(r.value(0, "M"), sql::Value::fromDate(2024, 2, 29));
    exec("UPDATE \"Cereri.dbf\" SET DATACERE=NULL WHERE NRCRT=3");
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE DATACERE IS NULL"), Rows{"3"});
    EXPECT_NE(errorOf("UPDATE \"Cereri.dbf\" SET DATACERE=\"31.02.2024\""), "");
    EXPECT_NE(errorOf("SELECT * FROM \"Cereri.dbf\" WHERE DATACERE=\"ieri\""), "");
}

TEST_F(Semantics, NumbersComeBackAsNumbers)
{
    const sql::ResultSet r =
        query("SELECT NRCRT, TVENIT, COUNT(*) AS N FROM \"Cereri.dbf\" WHERE NRCRT=1 GROUP BY NRCRT, TVENIT");
    EXPECT_EQ(r.value(0, "NRCRT").kind, sql::Value::Integer);
    EXPECT_EQ(r.value(0, "TVENIT").kind, sql::Value::Real);
    EXPECT_DOUBLE_EQ(r.value(0, "TVENIT").real, 1234.5);
    EXPECT_EQ(r.value(0, "N").integer, 1);
    EXPECT_EQ(r.columnType(1), sql::ColumnType::Number);
    // Digits held as text compare as numbers after CAST.
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE CAST(NR_DISP AS FLOAT)>=2"), Rows{"1"});
    EXPECT_EQ(rows("SELECT CAST(TVENIT AS CHAR(3)) AS C FROM \"Cereri.dbf\" WHERE NRCRT=1"), Rows{"123"});
}

TEST_F(Semantics, ValuesAreFittedToTheirColumns)
{
    exec("INSERT INTO \"Cereri.dbf\" (NRCRT, SUBSEMN) VALUES (4, \"" + std::string(40, 'A') + "\")");
    EXPECT_EQ(rows("SELECT SUBSEMN FROM \"Cereri.dbf\" WHERE NRCRT=4"), Rows{std::string(32, 'A')});
    exec("INSERT INTO \"Cereri.dbf\" (NRCRT, TVENIT) VALUES (5, 12.345)");
    EXPECT_EQ(rows("SELECT TVENIT FROM \"Cereri.dbf\" WHERE NRCRT=5"), Rows{"12.35"});
    // A number too wide for its column is an error, not asterisks, and a statement that
    // fails writes nothing, not even its rows before the bad one.
    const std::string err = errorOf("INSERT INTO \"Cereri.dbf\" (NRCRT, NR_LUNI) VALUES (6, 1), (7, 123456)");
    EXPECT_NE(err.find("does not fit column NR_LUNI"), std::string::npos) << err;
    EXPECT_NE(err.find("INSERT INTO"), std::string::npos) << "the statement is part of the message";
    EXPECT_EQ(rows("SELECT COUNT(*) FROM \"Cereri.dbf\" WHERE NRCRT>=6"), Rows{"0"});
    EXPECT_NE(errorOf("UPDATE \"Cereri.dbf\" SET TVENIT=TVENIT*100000000"), "");
    EXPECT_EQ(rows("SELECT TVENIT FROM \"Cereri.dbf\" WHERE NRCRT=1"), Rows{"1234.5"});
    EXPECT_NE(errorOf("INSERT INTO \"Cereri.dbf\" (NRCRT) VALUES (\"unu\")").find("not a number"), std::string::npos);
    // Whole numbers at the edge of their columns: the sign and the decimals count.
    exec("INSERT INTO \"Cereri.dbf\" (NRCRT, NR_LUNI, TVENIT) VALUES (8, 99999, 9999999), (9, -9999, -999999)");
    EXPECT_EQ(rows("SELECT NR_LUNI, TVENIT FROM \"Cereri.dbf\" WHERE NRCRT>=8 ORDER BY NRCRT"),
              (Rows{"99999|9999999", "-9999|-999999"}));
    EXPECT_NE(errorOf("INSERT INTO \"Cereri.dbf\" (NRCRT, NR_LUNI) VALUES (10, -10000)"), "");
    EXPECT_NE(errorOf("INSERT INTO \"Cereri.dbf\" (NRCRT, TVENIT) VALUES (10, -1000000)"), "");
    EXPECT_NE(errorOf("INSERT INTO \"Cereri.dbf\" (NRCRT, TVENIT) VALUES (10, 10000000)"), "");
}

TEST_F(Semantics, FailuresNameWhereAndWhat)
{
    auto positionOf = [&](const std::string &s) {
        try {
            engine.execute(s);
        } catch (const sql::SqlError &e) {
            return std::make_pair(e.position(), e.token());
        }
        return std::make_pair(-2L, std::string());
    };
    EXPECT_EQ(positionOf("SELECT NRCRT FROM \"Cereri.dbf\" WHERE NRCRT=="), std::make_pair(43L, std::string("=")));
    EXPECT_EQ(positionOf("SELECT NRX FROM \"Cereri.dbf\""), std::make_pair(7L, std::string("NRX")));
    EXPECT_EQ(positionOf("SELECT * FROM \"Lipsa.dbf\"").second, "\"Lipsa.dbf\"");
    EXPECT_EQ(positionOf("SELECT TOP 5 * FROM \"Cereri.dbf\"").second, "5");
    EXPECT_EQ(positionOf("SELECT * FROM \"Cereri.dbf\" WHERE SUBSEMN=\"A").second, "\"");
    EXPECT_EQ(positionOf("SELECT SUBSTRING(SUBSEMN) FROM \"Cereri.dbf\"").second, "SUBSTRING");
    EXPECT_NE(errorOf("SELECT SUBSEMN - 1 FROM \"Cereri.dbf\"").find("needs numbers"), std::string::npos);
    EXPECT_NE(errorOf("SELECT * FROM \"Cereri.dbf\" A, \"Cereri.dbf\" B WHERE NRCRT=1").find("Ambiguous"),
              std::string::npos);
    EXPECT_THROW(engine.query("DELETE FROM \"Cereri.dbf\""), sql::SqlError);
    EXPECT_EQ(rows("SELECT COUNT(*) FROM \"Cereri.dbf\""), Rows{"3"});
}

} // namespace

namespace {

TEST_F(Semantics, OperatorsBindInTheUsualOrder)
{
    EXPECT_EQ(rows("SELECT 1+2*3, 10-2-3, 12/4/3, -NRCRT*2, (1+2)*3 FROM \"Cereri.dbf\" WHERE NRCRT=1"),
              Rows{"7|5|1|-2|9"});
    // AND binds tighter than OR, NOT tighter than AND.
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE NRCRT=1 OR NRCRT=2 AND STATUT=\"RESPINS\""), Rows{"1"});
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE NOT NRCRT=1 AND STATUT=\"APROBAT\""), Rows{"2"});
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE NOT (NRCRT=1 OR STATUT=\"RESPINS\")"), Rows{"2"});
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE TVENIT+1>NR_LUNI*250 ORDER BY NRCRT"), Rows{"2"});
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" WHERE NRCRT BETWEEN 2 AND 3 AND NOT NRCRT IN (3) ORDER BY NRCRT"),
              Rows{"2"});
}

// An INSERT of plain constants is written by the engine itself; any other INSERT goes
// through SQLite. Both must leave the same bytes in the file.
TEST_F(Semantics, ConstantsAreStoredAsTheSameValuesComputed)
{
    const std::string layout = " (T CHAR(8), A DECIMAL(10,2), N DECIMAL(5,0), D DATE, B CHAR(1))";
    exec("CREATE TABLE \"Direct.dbf\"" + layout);
    exec("CREATE TABLE \"Computed.dbf\"" + layout);
    const std::vector<std::pair<std::string, std::string>> rowsOf = {
        {"(\"Şerban  \", 2.675, 12, \"05.02.2024\", \"X\")",
         "(\"Şerban\"+\"\", 2.675+0, 12+0, \"05.02.2024\", \"X\"+\"\")"},
        {"(\"\", -0.5, -3, \"\", NULL)", "(\"\"+\"\", -0.5+0, -3+0, NULL, NULL)"},
        {"(\"prea lung text\", \" 7.5 \", \"\", \"2024-12-01\", \"\")",
         "(\"prea lung text\"+\"\", 7.5+0, NULL, \"01.12.2024\", NULL)"},
        {"(NULL, 1234567.891, 99999, NULL, \"y\")", "(NULL, 1234567.891+0, 99999+0, NULL, \"y\"+\"\")"}};
    for (const auto &[direct, computed] : rowsOf) {
        EXPECT_EQ(exec("INSERT INTO \"Direct.dbf\" VALUES " + direct), 1) << direct;
        EXPECT_EQ(exec("INSERT INTO \"Computed.dbf\" VALUES " + computed), 1) << computed;
    }
    exec("INSERT INTO \"Direct.dbf\" (N, T) VALUES (1, \"a\"), (2, \"b\")");
    exec("INSERT INTO \"Computed.dbf\" (N, T) VALUES (1+0, \"a\"), (2, \"b\")");
    const std::string a = readFile(dir / "Direct.dbf"), b = readFile(dir / "Computed.dbf");
    const std::size_t header = static_cast<unsigned char>(a[8]) | static_cast<unsigned char>(a[9]) << 8;
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(a.substr(4, 4), b.substr(4, 4)) << "record counts";
    EXPECT_EQ(a.substr(header), b.substr(header));
    EXPECT_EQ(rows("SELECT T, A, N, D FROM \"Direct.dbf\" WHERE N=12 OR N=-3 OR N=99999 ORDER BY N"),
              (Rows{"~|-0.5|-3|~", "Şerban|2.68|12|05.02.2024", "~|1234567.89|99999|~"}));
    // Failures are the same too: nothing is written by a statement with a bad value.
    EXPECT_NE(errorOf("INSERT INTO \"Direct.dbf\" (N) VALUES (1), (100000)").find("does not fit column N"),
              std::string::npos);
    EXPECT_NE(errorOf("INSERT INTO \"Direct.dbf\" (D) VALUES (\"31.02.2024\")").find("Invalid date"),
              std::string::npos);
    EXPECT_NE(errorOf("INSERT INTO \"Direct.dbf\" (A) VALUES (\"unu\")").find("not a number"), std::string::npos);
    EXPECT_EQ(rows("SELECT COUNT(*) FROM \"Direct.dbf\""), Rows{"6"});
}

} // namespace

TEST_F(Semantics, EveryKindOfCellReadsTheSameInPlaceAsAValueAndAfterFiltering)
{
    // The rows keep their texts one after another in one buffer: each cell must still give
    // its own text, the empty text must stay apart from NULL, and numbers and dates their kind.
    exec("UPDATE \"Cereri.dbf\" SET SUBSEMN=\"ŞTEFĂNESCU ŢICU\" WHERE NRCRT=3");
    const sql::ResultSet r = query("SELECT NRCRT, SUBSEMN, \"\" AS E, TITT, TVENIT, DATACERE FROM \"Cereri.dbf\" "
                                   "ORDER BY NRCRT");
    ASSERT_EQ(r.rowCount(), 3u);
    const sql::ResultSet kept = r.filtered([](const sql::ResultSet &s, std::size_t row) { return row != 1; });
    ASSERT_EQ(kept.rowCount(), 2u);
    for (const sql::ResultSet *s : {&r, &kept}) {
        const std::size_t last = s->rowCount() - 1;
        EXPECT_EQ(s->value(0, "SUBSEMN").text, "Pop Ion");
        EXPECT_EQ(s->text(last, 1), "ŞTEFĂNESCU ŢICU");
        EXPECT_EQ(s->value(last, "SUBSEMN").text, "ŞTEFĂNESCU ŢICU");
        EXPECT_EQ(s->kind(0, 2), sql::Value::Text);
        EXPECT_EQ(s->value(0, "E").text, "");
        EXPECT_TRUE(s->value(0, "TITT").isNull());
        EXPECT_EQ(s->value(last, "TITT").text, "Ene");
        EXPECT_EQ(s->value(last, "NRCRT").integer, 3);
        EXPECT_DOUBLE_EQ(s->number(0, 4), 1234.5);
        EXPECT_EQ(s->value(0, "DATACERE").toString(), "05.02.2024");
        EXPECT_TRUE(s->value(last, "DATACERE").isNull());
    }
    EXPECT_EQ(r.row(1)[1].text, "POP ANA");
    EXPECT_THROW(r.value(3, 0), std::out_of_range);
    EXPECT_THROW(r.value(0, 6), std::out_of_range);
}
