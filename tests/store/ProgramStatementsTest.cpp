// The statements the program builds, as its operations build them (lines joined by line
// breaks, full quoted paths), on a small data folder: the editor, the members, the list,
// the month copy and deletion, numbering, documents, imports and reports.
#include "StoreFixture.h"

#include "core/Keys.h"

#include <QDir>
#include <QFile>

using namespace focaris;
using namespace focaris::test;

namespace {

const int kOct = 2024 * 12 + 9; // month code of 10.2024
const int kNov = kOct + 1;

class Program : public StoreFolder {
protected:
    void SetUp() override
    {
        StoreFolder::SetUp();
        addApplication(kOct, "POPESCU ION", "1800101303939", "X", 1, "APROBAT", "", 3);
        addApplication(kOct, "ANGHEL MARIA", "2750505303936", "", 2, "APROBAT", "X", 0);
        addApplication(kOct, "BARBU DAN", "1701010303932", "X", 3, "RESPINS", "", 1);
        addApplication(kOct, "COSTEA ANA", "2650202303930", "X", 4, "APROBAT", "", 2);
        addApplication(kNov, "ANGHEL MARIA", "2750505303936", "", 1, "APROBAT", "", 1);
    }

    // The editor's add: a key, one INSERT of every column, the members moved in.
    qint64 addApplication(int month, const QString &name, const QString &cnp, const QString &heat, int number,
                          const QString &status, const QString &modified, int members)
    {
        const QString key = NextKeyText("NRCRT");
        ExecSql(QStringList{"INSERT INTO " + table("Cereri.dbf"),
                            "(NRCRT,LUNADEC,LUNACRT,SUBSEMN, CNP,LOCALIT, ADRESA,NR_MEMBRI,TVENIT,",
                            "VENITM, L416, ASF, ASOC, NRCONT,",
                            "CUAJUT, SUMAL, TITG, CNPG, FURNG, CODCLG, PODG, SUMAG,",
                            "TITE, CNPE, FURNE, CODCLE, PODE, SUMAE,",
                            "TITT, CNPT, FURNT, CODCLT, SUMAT,",
                            "CUANTUM,NR_LUNI,TOTAL,NR_DISP,NR_CERE,DATACERE,STATUT, CUMODIF, MOTIVR,",
                            "STCIV, SITSCOL, NRCAM, TARIF, VALMAX, ASIG, COPII14, COPII18, SITPROF)",
                            "VALUES(",
                            key + ",",
                            QString::number(kOct) + ",",
                            QString::number(month) + ",",
                            SqlText(name) + ",",
                            SqlText(cnp) + ",",
                            "\"CAREI\",",
                            "\"Str. Horea nr. " + QString::number(number) + "\",",
                            QString::number(members) + ",",
                            "1500,",
                            "500,",
                            "\"\",",
                            "\"X\",",
                            "\"\",",
                            "\"\",",
                            SqlText(heat) + ",",
                            "0,",
                            "\"\",",
                            "\"\",",
                            "\"ENGIE ROMANIA SA\",",
                            "\"CL" + QString::number(number) + "\",",
                            "\"POD" + QString::number(number) + "\",",
                            "10,",
                            "\"\",",
                            "\"\",",
                            "\"ENEL ENERGIE SA\",",
                            "\"\",",
                            "\"\",",
                            "30,",
                            SqlText(heat.isEmpty() ? "" : name) + ",",
                            SqlText(heat.isEmpty() ? "" : cnp) + ",",
                            SqlText(heat.isEmpty() ? "" : "TERMOFICARE") + ",",
                            "\"T1\",",
                            "0,",
                            "50,",
                            "5,",
                            heat.isEmpty() ? "0," : "1250.25,",
                            "\"\",",
                            QString::number(number) + ",",
                            "\"0" + QString::number(number) + ".10.2024\",",
                            SqlText(status) + ",",
                            SqlText(modified) + ",",
                            SqlText(status == "RESPINS" ? "Venit peste limita" : "") + ",",
                            "\"C\",",
                            "\"\",",
                            "2,",
                            "305.5,",
                            heat.isEmpty() ? "0," : "250.05,",
                            "\"X\",",
                            "1,",
                            "0,",
                            "\"salariat\")"});
        QFile::remove(TablePath("TmpOm.dbf"));
        CreateMembersTable(TablePath("TmpOm.dbf"));
        for (int m = 0; m < members; ++m)
            ExecSql(QStringList{"INSERT INTO " + table("TmpOm.dbf"), "(NROM, NRCRT, TITULAR, CNP, VENIT, CALITATE)",
                                "VALUES (" + NextKeyText("NROM") + ", -1, " +
                                    SqlText(m ? name + " " + QString::number(m) : name) + ", " +
                                    SqlText(m ? "50001013039" + QString::number(m) + "1" : cnp) + ", 750, " +
                                    SqlText(m ? "copil" : "beneficiar") + ")"});
        ExecSql(QStringList{"UPDATE " + table("TmpOm.dbf"), "SET NRCRT=" + key});
        ExecSql(QStringList{"INSERT INTO " + table("Oameni.dbf"), "(NROM, NRCRT, TITULAR, CNP, VENIT, CALITATE)",
                            "SELECT NROM, NRCRT, TITULAR, CNP, VENIT, CALITATE", "FROM " + table("TmpOm.dbf")});
        QFile::remove(TablePath("TmpOm.dbf"));
        return key.toLongLong();
    }
};

TEST_F(Program, EditorAndMembers)
{
    EXPECT_EQ(rows("SELECT NRCRT, SUBSEMN, DATACERE, DATADISP, NR_DISP, VALMAX, TOTAL FROM " + table("Cereri.dbf") +
                   "\nWHERE LUNACRT=" + QString::number(kOct) + "\nORDER BY SUBSEMN"),
              (Rows{"2|ANGHEL MARIA|02.10.2024|~|~|0|0", "3|BARBU DAN|03.10.2024|~|~|250.05|1250.25",
                    "4|COSTEA ANA|04.10.2024|~|~|250.05|1250.25", "1|POPESCU ION|01.10.2024|~|~|250.05|1250.25"}));
    // The modify statement, one assignment per line.
    ExecSql(QStringList{"UPDATE " + table("Cereri.dbf"), "SET LUNADEC=" + QString::number(kOct) + ",",
                        "SUBSEMN=\"POPESCU ION VASILE\",", "NR_LUNI=4,", "DATACERE=\"07.10.2024\",", "CUMODIF=\"\",",
                        "TOTAL=4*250.05", "WHERE NRCRT=1"});
    EXPECT_EQ(rows("SELECT SUBSEMN, NR_LUNI, DATACERE, TOTAL FROM " + table("Cereri.dbf") + " WHERE NRCRT=1"),
              Rows{"POPESCU ION VASILE|4|07.10.2024|1000.2"});
    // Tariff of the latest application of the month with the same heat supplier.
    EXPECT_EQ(
        rows(QStringList{"SELECT NRCRT, TARIF FROM " + table("Cereri.dbf"), "WHERE LUNACRT=" + QString::number(kOct),
                         "AND FURNT=\"TERMOFICARE\"", "ORDER BY NRCRT DESC"}
                 .join('\n'))
            .front(),
        "4|305.5");
    // Same number in the month, the application itself excepted.
    EXPECT_EQ(rows("SELECT NR_CERE FROM " + table("Cereri.dbf") + "\nWHERE LUNACRT=" + QString::number(kOct) +
                   "\nAND NR_CERE=2\nAND NRCRT<>2"),
              Rows{});
    // The applicant already a member elsewhere; the member's CNP already used in the month.
    EXPECT_EQ(rows("SELECT B.NR_CERE, A.TITULAR FROM " + table("Cereri.dbf") + " B, " + table("Oameni.dbf") +
                   " A\nWHERE B.NRCRT=A.NRCRT AND B.LUNACRT=" + QString::number(kOct) +
                   "\nAND A.CNP=\"5000101303911\"\nAND A.CALITATE<>\"beneficiar\""),
              (Rows{"1|POPESCU ION 1", "4|COSTEA ANA 1"}));
    EXPECT_EQ(rows("SELECT A.CNP, B.NR_CERE, B.DATACERE FROM " + table("Oameni.dbf") + " A, " + table("Cereri.dbf") +
                   " B\nWHERE A.CNP=\"1800101303939\"\nAND A.NRCRT=B.NRCRT AND B.LUNACRT=" + QString::number(kOct)),
              Rows{"1800101303939|1|07.10.2024"});
    // Duplicate supplier codes.
    EXPECT_EQ(rows("SELECT SUBSEMN, NR_CERE, DATACERE, CODCLG AS CODCL\n,PODG AS POD\nFROM " + table("Cereri.dbf") +
                   "\nWHERE LUNACRT=" + QString::number(kOct) +
                   "\nAND NRCRT<>-2\nAND FURNG=\"ENGIE ROMANIA SA\"\n"
                   "AND (CODCLG=\"CL3\" OR PODG=\"POD4\")\nORDER BY NR_CERE"),
              (Rows{"BARBU DAN|3|03.10.2024|CL3|POD3", "COSTEA ANA|4|04.10.2024|CL4|POD4"}));
    // Member edits.
    ExecSql("UPDATE " + table("Oameni.dbf") +
            "\nSET TITULAR=\"POPESCU DAN\",\nCNP=\"5000101303911\",\nVENIT=0,\n"
            "CALITATE=\"copil\"\nWHERE NROM=2");
    ExecSql("DELETE FROM " + table("Oameni.dbf") + "\nWHERE NROM=3");
    EXPECT_EQ(rows("SELECT NROM, TITULAR, VENIT FROM " + table("Oameni.dbf") + " WHERE NRCRT=1 ORDER BY NROM"),
              (Rows{"1|POPESCU ION|750", "2|POPESCU DAN|0"}));
}

TEST_F(Program, CnpLookUpOverAllMonths)
{
    const QString all = "SELECT * FROM " + table("Cereri.dbf") + "\nORDER BY CNP,LUNACRT DESC";
    const sql::ResultSet r = QuerySql(all);
    ASSERT_EQ(r.rowCount(), 5u);
    EXPECT_EQ(r.value(0, "CNP").toString(), "1701010303932");
    EXPECT_EQ(r.value(3, "LUNACRT").toInt(), kNov) << "the most recent month comes first";
    // The same answer for one CNP, through the hash look-up.
    const sql::ResultSet one =
        QuerySql("SELECT * FROM " + table("Cereri.dbf") + "\nWHERE CNP=\"2750505303936\"\nORDER BY CNP,LUNACRT DESC");
    ASSERT_EQ(one.rowCount(), 2u);
    // Rows are views over their result set: compared by their cells.
    const auto cells = [](const sql::ResultSet::Row &row) {
        std::vector<sql::Value> out;
        for (std::size_t c = 0; c < row.size(); ++c)
            out.push_back(row[c]);
        return out;
    };
    EXPECT_EQ(cells(one.row(0)), cells(r.row(3)));
    EXPECT_EQ(cells(one.row(1)), cells(r.row(4)));
}

TEST_F(Program, MonthCopyWithMembers)
{
    // Temporary copies of the tables, emptied and packed.
    QFile::copy(TablePath("Cereri.dbf"), TablePath("TmpC.dbf"));
    QFile::copy(TablePath("Oameni.dbf"), TablePath("TmpO.dbf"));
    ExecSql("DELETE FROM " + table("TmpC.dbf"));
    ExecSql("DELETE FROM " + table("TmpO.dbf"));
    PackTable(TablePath("TmpC.dbf"));
    PackTable(TablePath("TmpO.dbf"));
    const QString s = QString::number(kOct), w = QString::number(kNov + 1);
    EXPECT_EQ(ExecSql(QStringList{"INSERT INTO " + table("TmpC.dbf"), "SELECT * FROM " + table("Cereri.dbf"),
                                  "WHERE LUNACRT=" + s, "AND STATUT<>\"INCETAT\" AND STATUT<>\"RESPINS\""}),
              3);
    ExecSql(QStringList{"ALTER TABLE " + table("TmpC.dbf"), "ADD NRCRTOLD DECIMAL(12,0)"});
    ExecSql(QStringList{"UPDATE " + table("TmpC.dbf"), "SET NRCRTOLD=NRCRT, LUNACRT=" + w});
    {
        sql::TableCursor cur(TablePath("TmpC.dbf").toStdString());
        for (bool ok = cur.first(); ok; ok = cur.next())
            cur.setValue("NRCRT", sql::Value::fromInteger(NextKey("NRCRT").truncated()));
    }
    ExecSql(QStringList{"INSERT INTO " + table("TmpO.dbf"), "(NROM, NRCRT, TITULAR, CNP, VENIT, CALITATE)",
                        "SELECT A.NROM, B.NRCRT, A.TITULAR, A.CNP, A.VENIT, A.CALITATE",
                        "FROM " + table("TmpC.dbf") + " B",
                        "INNER JOIN " + table("Oameni.dbf") + " A ON B.NRCRTOLD=A.NRCRT"});
    ExecSql(QStringList{"ALTER TABLE " + table("TmpC.dbf"), "DROP NRCRTOLD"});
    {
        sql::TableCursor cur(TablePath("TmpO.dbf").toStdString());
        for (bool ok = cur.first(); ok; ok = cur.next())
            cur.setValue("NROM", sql::Value::fromInteger(NextKey("NROM").truncated()));
    }
    EXPECT_EQ(rows(QStringList{"SELECT * FROM " + table("TmpC.dbf"), "WHERE CNP IN",
                               "(SELECT CNP FROM " + table("Cereri.dbf") + " WHERE LUNACRT=" + w + ")"}
                       .join('\n')),
              Rows{});
    ExecSql(QStringList{"UPDATE " + table("TmpC.dbf"), "SET NR_LUNI=NR_LUNI-1",
                        "WHERE STATUT<>\"RESPINS\" AND STATUT<>\"INCETAT\""});
    ExecSql(QStringList{"UPDATE " + table("TmpC.dbf"), "SET NR_LUNI=5",
                        "WHERE STATUT<>\"RESPINS\" AND STATUT<>\"INCETAT\" AND NR_LUNI=0"});
    ExecSql(QStringList{"UPDATE " + table("TmpC.dbf"), "SET TOTAL=NR_LUNI*VALMAX",
                        "WHERE STATUT<>\"RESPINS\" AND STATUT<>\"INCETAT\""});
    EXPECT_EQ(ExecSql(QStringList{"INSERT INTO " + table("Cereri.dbf"), "SELECT * FROM " + table("TmpC.dbf")}), 3);
    EXPECT_EQ(ExecSql(QStringList{"INSERT INTO " + table("Oameni.dbf"), "SELECT * FROM " + table("TmpO.dbf")}), 5);

    EXPECT_EQ(rows("SELECT NRCRT, SUBSEMN, NR_LUNI, TOTAL, DATACERE FROM " + table("Cereri.dbf") +
                   " WHERE LUNACRT=" + w + " ORDER BY SUBSEMN"),
              (Rows{"7|ANGHEL MARIA|4|0|02.10.2024", "8|COSTEA ANA|4|1000.2|04.10.2024",
                    "6|POPESCU ION|4|1000.2|01.10.2024"}));
    EXPECT_EQ(rows("SELECT B.SUBSEMN, COUNT(*) FROM " + table("Cereri.dbf") + " B INNER JOIN " + table("Oameni.dbf") +
                   " A ON A.NRCRT=B.NRCRT WHERE B.LUNACRT=" + w + " GROUP BY B.SUBSEMN ORDER BY B.SUBSEMN"),
              (Rows{"COSTEA ANA|2", "POPESCU ION|3"}));
    EXPECT_EQ(rows("SELECT COUNT(DISTINCT NROM), COUNT(*) FROM " + table("Oameni.dbf")), Rows{"12|12"});
    // Copying again finds the CNPs already in the month and copies nothing.
    EXPECT_EQ(rows(QStringList{"SELECT * FROM " + table("TmpC.dbf"), "WHERE CNP IN",
                               "(SELECT CNP FROM " + table("Cereri.dbf") + " WHERE LUNACRT=" + w + ")"}
                       .join('\n'))
                  .size(),
              3u);
}

TEST_F(Program, MonthDeletionAndRemovalOfApplicationsFromAnotherMonth)
{
    // Applicants of October also present in November leave October, members with them.
    QFile::copy(TablePath("Cereri.dbf"), TablePath("TmpS.dbf"));
    ExecSql("DELETE FROM " + table("TmpS.dbf") + " WHERE LUNACRT<>" + QString::number(kNov));
    EXPECT_EQ(ExecSql(QStringList{"DELETE FROM " + table("Cereri.dbf"), "WHERE LUNACRT=" + QString::number(kOct),
                                  "AND CNP IN", "(SELECT CNP FROM " + table("TmpS.dbf") + ")"}),
              1);
    EXPECT_EQ(ExecSql(QStringList{"DELETE FROM " + table("Oameni.dbf"), "WHERE NOT (NRCRT IN",
                                  "(SELECT NRCRT FROM " + table("Cereri.dbf") + "))"}),
              0)
        << "the application removed had no members";
    ExecSql("DELETE FROM " + table("Cereri.dbf") + " WHERE NRCRT=3");
    EXPECT_EQ(ExecSql(QStringList{"DELETE FROM " + table("Oameni.dbf"), "WHERE NOT (NRCRT IN",
                                  "(SELECT NRCRT FROM " + table("Cereri.dbf") + "))"}),
              1);
    // The deletion of a month: its members, then its applications.
    EXPECT_EQ(ExecSql(QStringList{"DELETE FROM " + table("Oameni.dbf"), "WHERE NRCRT IN",
                                  "(SELECT NRCRT FROM " + table("Cereri.dbf") +
                                      "WHERE LUNACRT=" + QString::number(kOct) + ")"}),
              5);
    EXPECT_EQ(ExecSql("DELETE FROM " + table("Cereri.dbf") + "\nWHERE LUNACRT=" + QString::number(kOct)), 2);
    EXPECT_EQ(rows("SELECT NRCRT FROM " + table("Cereri.dbf")), Rows{"5"});
    EXPECT_EQ(rows("SELECT NROM FROM " + table("Oameni.dbf")), Rows{"7"});
}

TEST_F(Program, NumberingAndDispositionDocuments)
{
    const QString m = QString::number(kOct);
    ExecSql(QStringList{"UPDATE " + table("Cereri.dbf"), "SET NR_DISP=\"\", DATADISP=NULL", "WHERE LUNACRT=" + m});
    const sql::ResultSet todo = QuerySql(QStringList{
        "SELECT NRCRT, NR_CERE FROM " + table("Cereri.dbf"), "WHERE LUNACRT=" + m, "AND NR_CERE>=1 AND NR_CERE<=4",
        "AND STATUT=\"APROBAT\" AND (CUMODIF<>\"X\" OR CUMODIF IS NULL)", "ORDER BY NR_CERE"});
    ASSERT_EQ(todo.rowCount(), 2u);
    int d = 7;
    for (std::size_t i = 0; i < todo.rowCount(); ++i)
        ExecSql(QStringList{"UPDATE " + table("Cereri.dbf"), "SET NR_DISP=\"" + QString::number(d++) + "\",",
                            "DATADISP=\"15.10.2024\"", "WHERE NRCRT=" + ToQString(todo.value(i, "NRCRT"))});
    EXPECT_EQ(rows("SELECT NR_CERE, NR_DISP, DATADISP FROM " + table("Cereri.dbf") + " WHERE LUNACRT=" + m +
                   " ORDER BY NR_CERE"),
              (Rows{"1|7|15.10.2024", "2|~|~", "3|~|~", "4|8|15.10.2024"}));
    // The applications without a number yet, and a range of numbers.
    EXPECT_EQ(rows("SELECT NR_CERE FROM " + table("Cereri.dbf") +
                   "\nWHERE (NR_DISP=\"\" OR NR_DISP=\"0\")\nAND LUNACRT=" + m + "\nORDER BY NR_CERE"),
              (Rows{"2", "3"}));
    EXPECT_EQ(rows("SELECT SUBSEMN FROM " + table("Cereri.dbf") +
                   "\nWHERE CAST(NR_DISP AS FLOAT)>=8\n"
                   "AND CAST(NR_DISP AS FLOAT)<=20\nAND LUNACRT=" +
                   m),
              Rows{"COSTEA ANA"});
    // The single disposition counts.
    const QString head = "FROM " + table("Cereri.dbf") + "\nWHERE CAST(NR_DISP AS FLOAT)=7\nAND LUNACRT=" + m;
    EXPECT_EQ(rows("SELECT Count(*) AS NRX, MAX(NR_CERE) AS NR0, MIN(NR_CERE) AS NR1, MAX(NR_LUNI) AS NRLUNI\n" + head +
                   "\nAND STATUT=\"APROBAT\" AND (CUMODIF<>\"X\" OR CUMODIF IS NULL)\nAND CUAJUT=\"X\""),
              Rows{"1|1|1|5"});
    EXPECT_EQ(rows("SELECT Count(*) AS NRX\n" + head + "\nAND STATUT=\"APROBAT\" AND SUMAL+SUMAG+SUMAE+SUMAT>0"),
              Rows{"1"});
    // The payment statement's selection.
    EXPECT_EQ(
        rows(
            "SELECT NR_CERE,SUBSEMN AS TITULAR, CNP, NR_DISP+\"/\" AS NRDISP, DATADISP, ADRESA, LOCALIT, CUANTUM,NR_LUNI,"
            "TOTAL, SUMAL, SUMAG, SUMAT, SUMAE\nFROM " +
            table("Cereri.dbf") + "\nWHERE LUNACRT=" + m +
            "\nAND STATUT=\"APROBAT\"\nAND LOCALIT=\"CAREI\"\nAND SUBSEMN>=\"A\"\nORDER BY TITULAR"),
        (Rows{"2|ANGHEL MARIA|2750505303936|/|~|Str. Horea nr. 2|CAREI|50|5|0|0|10|0|30",
              "4|COSTEA ANA|2650202303930|8/|15.10.2024|Str. Horea nr. 4|CAREI|50|5|1250.25|0|10|0|30",
              "1|POPESCU ION|1800101303939|7/|15.10.2024|Str. Horea nr. 1|CAREI|50|5|1250.25|0|10|0|30"}));
}

TEST_F(Program, ReportSelections)
{
    const QString w = QString::number(kOct);
    // AJPIS annex 1: approved heating aid of the period, the address joined from two columns.
    EXPECT_EQ(
        rows("SELECT SUBSEMN, CNP, LOCALIT + \" \" + ADRESA AS ADRESA, NR_DISP, DATADISP, NR_MEMBRI, VENITM, NR_LUNI, "
             "CODCLT, CUANTUM, VALMAX FROM " +
             table("Cereri.dbf") + "\nWHERE STATUT=\"APROBAT\" AND TOTAL>0 AND LUNACRT>=" + QString::number(kOct) +
             " AND LUNACRT<=" + QString::number(kNov) + "\nORDER BY NR_LUNI, SUBSEMN"),
        (Rows{"COSTEA ANA|2650202303930|CAREI Str. Horea nr. 4|~|~|2|500|5|T1|50|250.05",
              "POPESCU ION|1800101303939|CAREI Str. Horea nr. 1|~|~|3|500|5|T1|50|250.05"}));
    // Supplier report: grouped by supplier and person with the sum of the supplements.
    EXPECT_EQ(rows("SELECT FURNG AS FURN, SUBSEMN, CNP, SUM(SUMAG) AS SUMAT FROM " + table("Cereri.dbf") +
                   "\nWHERE LUNACRT=" + w +
                   " AND STATUT=\"APROBAT\"\nGROUP BY FURNG, SUBSEMN, CNP\nORDER BY FURN, SUBSEMN"),
              (Rows{"ENGIE ROMANIA SA|ANGHEL MARIA|2750505303936|10", "ENGIE ROMANIA SA|COSTEA ANA|2650202303930|10",
                    "ENGIE ROMANIA SA|POPESCU ION|1800101303939|10"}));
    // The members situation: every approved application, with or without members.
    ExecSql("DELETE FROM " + table("Oameni.dbf") + " WHERE NRCRT=4");
    EXPECT_EQ(rows("SELECT A.TITULAR, A.CNP, B.LOCALIT, B.SUBSEMN, B.CNP FROM " + table("Oameni.dbf") +
                   " A RIGHT JOIN " + table("Cereri.dbf") + " B ON A.NRCRT=B.NRCRT\nWHERE B.LUNACRT=" + w +
                   " AND B.STATUT=\"APROBAT\"\nORDER BY B.SUBSEMN, B.CNP, A.TITULAR"),
              (Rows{"~|~|CAREI|ANGHEL MARIA|2750505303936", "~|~|CAREI|COSTEA ANA|2650202303930",
                    "POPESCU ION|1800101303939|CAREI|POPESCU ION|1800101303939",
                    "POPESCU ION 1|5000101303911|CAREI|POPESCU ION|1800101303939",
                    "POPESCU ION 2|5000101303921|CAREI|POPESCU ION|1800101303939"}));
    // Dispositions table of the month, left-joined for the annexes.
    ExecSql("CREATE TABLE " + table("NrData0.dbf") +
            " (NRCRT DECIMAL(12,0), NRD CHAR(16), DATAD DATE, NR_DISP CHAR(27))");
    ExecSql("INSERT INTO " + table("NrData0.dbf") + " (NRCRT, NRD, DATAD) SELECT NRCRT, NR_DISP, DATADISP FROM " +
            table("Cereri.dbf") + " WHERE LUNACRT=" + w);
    ExecSql("UPDATE " + table("NrData0.dbf") + " SET NRD=\"5\", DATAD=\"01.11.2024\" WHERE NRCRT=1");
    ExecSql("UPDATE " + table("NrData0.dbf") + " SET NR_DISP=NRD+\"/\"+DATAD");
    EXPECT_EQ(rows("SELECT B.SUBSEMN, A.NR_DISP FROM " + table("Cereri.dbf") + " B LEFT JOIN " + table("NrData0.dbf") +
                   " A ON A.NRCRT=B.NRCRT WHERE B.LUNACRT=" + w + " AND B.CUAJUT=\"X\" ORDER BY B.SUBSEMN"),
              (Rows{"BARBU DAN|/", "COSTEA ANA|/", "POPESCU ION|5/01.11.2024"}));
}

TEST_F(Program, ImportJoins)
{
    // A register archive's tables: files and their inquiries, joined on the file id.
    QDir().mkpath(TablePath("U"));
    ExecSql("CREATE TABLE " + table("U/Cereri.dbf") +
            " (IDCERERE DECIMAL(10,0), NUME CHAR(40), CNP CHAR(13), STARE CHAR(10))");
    ExecSql("CREATE TABLE " + table("U/Anchete.dbf") +
            " (IDANCHETA DECIMAL(10,0), IDCERERE DECIMAL(10,0), VENITP DECIMAL(10,2), "
            "VENITV DECIMAL(10,2), VENITA DECIMAL(10,2))");
    ExecSql("INSERT INTO " + table("U/Cereri.dbf") +
            " VALUES (1, \"POP ION\", \"1800101303939\", \"APROBATA\"), "
            "(2, \"ENE ANA\", \"2750505303936\", \"APROBATA\"), (3, \"DINU\", \"1\", \"RESPINSA\")");
    ExecSql("INSERT INTO " + table("U/Anchete.dbf") +
            " VALUES (10, 1, 100, 50, 25), (11, 1, 200, 0, 0), (12, 3, 1, 1, 1)");
    ExecSql("DELETE FROM " + table("U/Cereri.dbf") + " WHERE STARE<>\"APROBATA\"");
    EXPECT_EQ(rows("SELECT C.IDCERERE, C.NUME, A.IDANCHETA, A.VENITP+A.VENITV+A.VENITA AS VENIT FROM " +
                   table("U/Cereri.dbf") + " C LEFT JOIN " + table("U/Anchete.dbf") +
                   " A ON C.IDCERERE=A.IDCERERE ORDER BY C.IDCERERE, A.IDANCHETA"),
              (Rows{"1|POP ION|10|175", "1|POP ION|11|200", "2|ENE ANA|~|~"}));
    // Grouped by the file with the incomes summed.
    EXPECT_EQ(rows("SELECT C.IDCERERE, C.NUME, SUM(A.VENITP) AS V FROM " + table("U/Cereri.dbf") + " C INNER JOIN " +
                   table("U/Anchete.dbf") + " A ON C.IDCERERE=A.IDCERERE GROUP BY C.IDCERERE, C.NUME"),
              Rows{"1|POP ION|300"});
}

} // namespace
