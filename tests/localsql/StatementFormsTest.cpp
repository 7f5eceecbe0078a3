// Every statement form of the dialect on two small related tables: joins of each kind,
// grouping, subqueries (plain, negated, correlated), INSERT ... SELECT, ALTER TABLE.
#include "SqlTestSupport.h"

using namespace focaris;
using namespace focaris::test;

namespace {

class Forms : public SqlFolder {
protected:
    void SetUp() override
    {
        exec("CREATE TABLE \"C.dbf\" (NRCRT DECIMAL(12,0), LUNACRT DECIMAL(10,0), SUBSEMN CHAR(32), CNP CHAR(13), "
             "FURNT CHAR(60), SUMAT DECIMAL(10,2), STATUT CHAR(7))");
        exec("CREATE TABLE \"O.dbf\" (NROM DECIMAL(10,0), NRCRT DECIMAL(12,0), TITULAR CHAR(32), CNP CHAR(13), "
             "CALITATE CHAR(12))");
        exec(
            "INSERT INTO \"C.dbf\" VALUES (1, 100, \"ANA\", \"1\", \"TERMO\", 10, \"APROBAT\"), "
            "(2, 100, \"BOGDAN\", \"2\", \"TERMO\", 20.5, \"APROBAT\"), (3, 100, \"CRISTI\", \"3\", \"GAZ\", 5, \"RESPINS\"), "
            "(4, 101, \"ANA\", \"1\", \"TERMO\", 10, \"APROBAT\"), (5, 100, \"DAN\", \"4\", NULL, 0, \"APROBAT\")");
        exec(
            "INSERT INTO \"O.dbf\" VALUES (1, 1, \"ANA\", \"1\", \"beneficiar\"), (2, 1, \"ION\", \"9\", \"partener\"), "
            "(3, 2, \"BOGDAN\", \"2\", \"beneficiar\"), (4, 3, \"CRISTI\", \"3\", \"beneficiar\"), (5, 77, \"ORFAN\", \"8\", \"copil\")");
    }
};

TEST_F(Forms, Joins)
{
    EXPECT_EQ(rows("SELECT B.SUBSEMN, A.TITULAR FROM \"C.dbf\" B INNER JOIN \"O.dbf\" A ON B.NRCRT=A.NRCRT "
                   "WHERE B.LUNACRT=100 ORDER BY A.NROM"),
              (Rows{"ANA|ANA", "ANA|ION", "BOGDAN|BOGDAN", "CRISTI|CRISTI"}));
    EXPECT_EQ(rows("SELECT B.NRCRT, A.TITULAR FROM \"C.dbf\" B LEFT JOIN \"O.dbf\" A ON B.NRCRT=A.NRCRT "
                   "WHERE B.LUNACRT=100 AND A.NROM IS NULL"),
              Rows{"5|~"});
    // The members situation: an application without members still gives a row.
    EXPECT_EQ(rows("SELECT A.TITULAR, B.SUBSEMN FROM \"O.dbf\" A RIGHT JOIN \"C.dbf\" B ON A.NRCRT=B.NRCRT "
                   "WHERE B.LUNACRT=100 AND B.STATUT=\"APROBAT\" ORDER BY B.SUBSEMN, B.CNP, A.TITULAR"),
              (Rows{"ANA|ANA", "ION|ANA", "BOGDAN|BOGDAN", "~|DAN"}));
    EXPECT_EQ(
        rows("SELECT B.NRCRT, A.TITULAR FROM \"C.dbf\" as B, \"O.dbf\" as A WHERE B.NRCRT=A.NRCRT AND B.LUNACRT=100 "
             "AND A.CNP=\"9\" AND A.CALITATE<>\"beneficiar\""),
        Rows{"1|ION"});
}

TEST_F(Forms, GroupingAndOrdering)
{
    EXPECT_EQ(rows("SELECT FURNT, COUNT(*) AS N, SUM(SUMAT) AS S, MAX(SUMAT) AS MX, MIN(SUMAT) AS MN FROM \"C.dbf\" "
                   "WHERE LUNACRT=100 GROUP BY FURNT ORDER BY FURNT DESC"),
              (Rows{"TERMO|2|30.5|20.5|10", "GAZ|1|5|5|5", "~|1|0|0|0"}));
    EXPECT_EQ(rows("SELECT DISTINCT SUBSEMN FROM \"C.dbf\" ORDER BY SUBSEMN"),
              (Rows{"ANA", "BOGDAN", "CRISTI", "DAN"}));
    EXPECT_EQ(rows("SELECT SUBSEMN AS TITULAR, LUNACRT FROM \"C.dbf\" WHERE CNP=\"1\" ORDER BY TITULAR, LUNACRT DESC"),
              (Rows{"ANA|101", "ANA|100"}));
    EXPECT_EQ(rows("SELECT SUBSEMN, NRCRT FROM \"C.dbf\" WHERE LUNACRT=100 ORDER BY 2 DESC").front(), "DAN|5");
    const sql::ResultSet r =
        query("SELECT Count(*) AS NRX, MAX(NRCRT) AS NR0, MIN(NRCRT) AS NR1 FROM \"C.dbf\" WHERE LUNACRT=999");
    EXPECT_EQ(r.value(0, "NRX").integer, 0);
    EXPECT_TRUE(r.value(0, "NR0").isNull());
}

TEST_F(Forms, Subqueries)
{
    EXPECT_EQ(rows("SELECT NROM FROM \"O.dbf\" WHERE NOT (NRCRT IN (SELECT NRCRT FROM \"C.dbf\"))"), Rows{"5"});
    EXPECT_EQ(
        rows("SELECT NRCRT FROM \"C.dbf\" WHERE LUNACRT=100 AND CNP IN (SELECT CNP FROM \"C.dbf\" WHERE LUNACRT=101)"),
        Rows{"1"});
    // Correlated: applications with more than one member.
    EXPECT_EQ(
        rows("SELECT B.NRCRT FROM \"C.dbf\" B WHERE (SELECT COUNT(*) FROM \"O.dbf\" A WHERE A.NRCRT=B.NRCRT) > 1"),
        Rows{"1"});
    EXPECT_EQ(rows("SELECT NRCRT FROM \"C.dbf\" B WHERE NOT EXISTS (SELECT NROM FROM \"O.dbf\" WHERE NRCRT=B.NRCRT) "
                   "ORDER BY NRCRT"),
              (Rows{"4", "5"}));
    EXPECT_EQ(rows("SELECT NRCRT FROM \"C.dbf\" WHERE NRCRT IN (2, 4) AND STATUT IN (\"APROBAT\", 'X')"),
              (Rows{"2", "4"}));
}

TEST_F(Forms, WritesWithSelectsAndLayoutChanges)
{
    exec("CREATE TABLE \"T.dbf\" (NRCRT DECIMAL(12,0), LUNACRT DECIMAL(10,0), SUBSEMN CHAR(32), CNP CHAR(13), "
         "FURNT CHAR(60), SUMAT DECIMAL(10,2), STATUT CHAR(7))");
    EXPECT_EQ(
        exec(
            "INSERT INTO \"T.dbf\" SELECT * FROM \"C.dbf\" WHERE LUNACRT=100 AND STATUT<>\"INCETAT\" AND STATUT<>\"RESPINS\""),
        3);
    exec("ALTER TABLE \"T.dbf\" ADD NRCRTOLD DECIMAL(12,0), ADD NOTA CHAR(5)");
    EXPECT_EQ(exec("UPDATE \"T.dbf\" SET NRCRTOLD=NRCRT, LUNACRT=102"), 3);
    exec("UPDATE \"T.dbf\" SET NRCRT=NRCRT+100, SUMAT=SUMAT*NRCRT");
    EXPECT_EQ(exec("INSERT INTO \"O.dbf\" (NROM, NRCRT, TITULAR, CNP, CALITATE) SELECT A.NROM+10, B.NRCRT, A.TITULAR, "
                   "A.CNP, A.CALITATE FROM \"T.dbf\" B INNER JOIN \"O.dbf\" A ON B.NRCRTOLD=A.NRCRT"),
              3);
    exec("ALTER TABLE \"T.dbf\" DROP NRCRTOLD, DROP NOTA");
    EXPECT_EQ(query("SELECT * FROM \"T.dbf\"").columnCount(), 7u);
    EXPECT_EQ(rows("SELECT NRCRT, SUMAT, LUNACRT FROM \"T.dbf\" ORDER BY NRCRT"),
              (Rows{"101|10|102", "102|41|102", "105|0|102"}));
    EXPECT_EQ(rows("SELECT NRCRT, TITULAR FROM \"O.dbf\" WHERE NROM>10 ORDER BY NROM"),
              (Rows{"101|ANA", "101|ION", "102|BOGDAN"}));
    EXPECT_EQ(exec("DELETE FROM \"O.dbf\" WHERE NRCRT IN (SELECT NRCRT FROM \"T.dbf\")"), 3);
    exec("UPDATE \"T.dbf\" SET FURNT=NULL, SUBSEMN=SUBSEMN+\"!\" WHERE NRCRT=101");
    EXPECT_EQ(rows("SELECT SUBSEMN, FURNT FROM \"T.dbf\" WHERE NRCRT=101"), Rows{"ANA!|~"});
    // A layout change that cannot be made leaves the table as it was.
    EXPECT_NE(errorOf("ALTER TABLE \"T.dbf\" ADD X CHAR(2), DROP NOSUCH"), "");
    EXPECT_EQ(query("SELECT * FROM \"T.dbf\"").columnCount(), 7u);
    EXPECT_NE(errorOf("CREATE TABLE \"t.DBF\" (A CHAR(1))").find("already exists"), std::string::npos);
    exec("DROP TABLE \"T.dbf\"");
    EXPECT_NE(errorOf("SELECT * FROM \"T.dbf\"").find("does not exist"), std::string::npos);
}

} // namespace
