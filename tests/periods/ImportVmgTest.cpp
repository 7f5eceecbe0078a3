// The VMG import against register archives written by an independent writer: what is
// imported and how, the members attached to the right applications, the replacement of
// the previous import, and archives that are damaged or incomplete.
#include "GuiFixture.h"
#include "RegisterArchive.h"
#include "SqlRows.h"

#include "core/DataStore.h"
#include "core/Keys.h"
#include "core/Tables.h"
#include "engines/dbase/DbfTable.h"
#include "periods/ImportShared.h"
#include "periods/Imports.h"

#include <QDir>
#include <QFileInfo>

using namespace focaris;
using namespace focaris::test;

namespace {

class ImportVmgTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        CreateTables();
    }
    void TearDown() override { periods::BeforeMembersTableReplaced() = {}; }

    // A register file row with the columns of kVmgFiles.
    static QJsonArray file(int id, const QString &name, const QString &state, QJsonValue venitp = 100.0)
    {
        return QJsonArray{id,
                          10 + id,
                          "2024-02-0" + QString::number(id % 9 + 1),
                          name,
                          "1800101123456",
                          "Mihai Viteazu",
                          "5",
                          "",
                          "",
                          "",
                          "3",
                          "ORAŞTIE",
                          3,
                          venitp,
                          50.25,
                          QJsonValue::Null,
                          "CS",
                          "",
                          "X",
                          state};
    }
    static QJsonArray member(int file, int order, const QString &name, int relation)
    {
        return QJsonArray{file,
                          order,
                          name,
                          "2800101123456",
                          10.0,
                          20.0,
                          QJsonValue::Null,
                          relation ? QJsonValue(relation) : QJsonValue(QJsonValue::Null),
                          ""};
    }
    std::filesystem::path archive(const QJsonArray &files, const QJsonArray &inquiries, const QJsonArray &members,
                                  int cut = 0, bool withInquiries = true)
    {
        const auto path = tmp / ("vmg" + std::to_string(++made_) + ".416");
        std::vector<RegisterTableDef> tables{{"Cereri.dbf", kVmgFiles, files}, {"Oameni.dbf", kVmgMembers, members}};
        if (withInquiries)
            tables.push_back({"Anchete.dbf", kVmgInquiries, inquiries});
        if (!WriteRegisterArchive(path, tables, cut))
            throw std::runtime_error("python3-dbf is needed");
        return path;
    }
    static Rows rows(const QString &statement) { return rowsOf(QuerySql(statement)); }
    periods::ImportResult import(const std::filesystem::path &a)
    {
        return periods::ImportVmgArchive(ui, QString::fromStdString(a.string()));
    }
    int made_ = 0;
};

TEST_F(ImportVmgTest, ImportsApprovedFilesWithTheirInquiriesAndMembers)
{
    const auto a = archive(
        QJsonArray{file(1, "ŞTEFĂNESCU \"ION\"", "APROBATA"), file(2, "POPA ANA", "APROBATA", QJsonValue::Null),
                   file(3, "RESPINS VASILE", "SUSPENDATA")},
        QJsonArray{QJsonArray{1, 2, 1}, QJsonArray{1, 3, 0}, QJsonArray{3, 4, 1}},
        QJsonArray{member(1, 2, "ŢUŢU MIHAI", 4), member(1, 1, "ŞTEFĂNESCU ION", 1), member(2, 1, "POPA ANA", 5),
                   member(2, 2, "POPA IOANA", 0), member(3, 1, "RESPINS VASILE", 1)});
    SetKey("NRCRT", 1);
    SetKey("NROM", 1);
    const periods::ImportResult r = import(a);
    ASSERT_TRUE(r.imported);
    EXPECT_EQ(r.applications, 3); // file 1 twice (two inquiries), file 2 once
    EXPECT_EQ(r.members, 4);

    // The double quote of the register's name is cleaned away; a blank income part counts
    // as 0; the file without inquiry has no rooms and is not insured.
    EXPECT_EQ(
        rows("SELECT NRCRT,LUNACRT,LUNADEC,SUBSEMN,CNP,LOCALIT,ADRESA,NR_MEMBRI,TVENIT,L416,ASF,STCIV,NRCAM,ASIG,"
             "NR_CERE,DATACERE FROM \"Cereri.dbf\" ORDER BY NRCRT"),
        (Rows{
            "1|1|0|ŞTEFĂNESCU ION|1800101123456|ORAŞTIE|STR.MIHAI VITEAZU NR.5 AP.3|3|150.25|X|X|CS|2|X|11|02.02.2024",
            "2|1|0|ŞTEFĂNESCU ION|1800101123456|ORAŞTIE|STR.MIHAI VITEAZU NR.5 AP.3|3|150.25|X|X|CS|3|~|11|02.02.2024",
            "3|1|0|POPA ANA|1800101123456|ORAŞTIE|STR.MIHAI VITEAZU NR.5 AP.3|3|50.25|X|X|CS|0|~|12|03.02.2024"}));
    EXPECT_EQ(
        rows("SELECT DISTINCT CUANTUM,NR_LUNI,TOTAL,NR_DISP,STATUT,CUAJUT,SUMAL,SUMAG,SUMAE,SUMAT,CUMODIF,COPII14,"
             "COPII18,SITPROF,MOTIVR FROM \"Cereri.dbf\""),
        (Rows{"0|5|0|0|APROBAT|X|0|0|0|0|~|0|0|~|~"}));
    // Members go to the first copy of their file, in IDOM order; unknown relations are adults.
    EXPECT_EQ(rows("SELECT NROM,NRCRT,TITULAR,VENIT,CALITATE FROM \"Oameni.dbf\" ORDER BY NROM"),
              (Rows{"1|1|ŞTEFĂNESCU ION|30|beneficiar", "2|1|ŢUŢU MIHAI|30|copil", "3|3|POPA ANA|30|adult",
                    "4|3|POPA IOANA|30|adult"}));
    EXPECT_EQ(PeekKeyText("NRCRT"), "4");
    EXPECT_EQ(PeekKeyText("NROM"), "5");
    EXPECT_EQ(rows("SELECT ACTIUNE FROM \"Log.dbf\""), (Rows{"Import date din L416."}));
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().title, "Import din Legea 416");
    EXPECT_EQ(ui.messages.back().text, "\rCererile au fost importate cu succes!");
    EXPECT_TRUE(ui.progressTexts.contains("Desfac baza de date..."));
    EXPECT_TRUE(ui.progressTexts.contains("Preluare persoane..."));
    EXPECT_FALSE(ui.progressVisible);
    // The unpacked copy stays in the temporary folder.
    EXPECT_TRUE(QFileInfo(r.unpackedTo).isDir());
    EXPECT_TRUE(r.unpackedTo.startsWith(TempFolder() + "/VMG"));
}

TEST_F(ImportVmgTest, MembersFollowTheirOwnFileWhenANewKeyEqualsAnotherFilesRegisterId)
{
    // The first file gets the new key 5, which is the register id of the second file; a
    // member of no file carries the key of an application of the working month.
    ExecSql("INSERT INTO \"Cereri.dbf\" (NRCRT,LUNACRT,SUBSEMN) VALUES (9,24300,\"LUNA DE LUCRU\")");
    SetKey("NRCRT", 5);
    SetKey("NROM", 1);
    const auto a = archive(QJsonArray{file(100, "PRIMUL", "APROBATA"), file(5, "AL DOILEA", "APROBATA")}, QJsonArray{},
                           QJsonArray{member(100, 1, "MEMBRU PRIMUL", 1), member(5, 1, "MEMBRU AL DOILEA", 1),
                                      member(9, 1, "FARA DOSAR", 1)});
    ASSERT_TRUE(import(a).imported);
    EXPECT_EQ(
        rows(
            "SELECT O.TITULAR,C.SUBSEMN FROM \"Oameni.dbf\" O, \"Cereri.dbf\" C WHERE O.NRCRT=C.NRCRT ORDER BY O.NROM"),
        (Rows{"MEMBRU PRIMUL|PRIMUL", "MEMBRU AL DOILEA|AL DOILEA"}));
}

TEST_F(ImportVmgTest, ASecondImportReplacesTheFirstAfterASaveAndKeepsTheWorkingMonths)
{
    ExecSql("INSERT INTO \"Cereri.dbf\" (NRCRT,LUNACRT,SUBSEMN) VALUES (1,24300,\"LUNA DE LUCRU\")");
    ExecSql("INSERT INTO \"Oameni.dbf\" (NROM,NRCRT,TITULAR) VALUES (1,1,\"MEMBRU LUNA\")");
    ExecSql("INSERT INTO \"Oameni.dbf\" (NROM,NRCRT,TITULAR) VALUES (2,777,\"FARA CERERE\")");
    SetKey("NRCRT", 2);
    SetKey("NROM", 3);
    const auto a =
        archive(QJsonArray{file(1, "POPA ANA", "APROBATA")}, QJsonArray{}, QJsonArray{member(1, 1, "POPA ANA", 1)});
    ASSERT_TRUE(import(a).imported);
    EXPECT_TRUE(ui.messages.back().text.indexOf("salvate") < 0); // nothing replaced the first time

    const periods::ImportResult again = import(a);
    ASSERT_TRUE(again.imported);
    EXPECT_EQ(rows("SELECT NRCRT,LUNACRT,SUBSEMN FROM \"Cereri.dbf\" ORDER BY NRCRT"),
              (Rows{"1|24300|LUNA DE LUCRU", "3|1|POPA ANA"}));
    // The members of the working month stay; those of no application and of the first
    // import are gone.
    EXPECT_EQ(rows("SELECT NRCRT,TITULAR FROM \"Oameni.dbf\" ORDER BY NROM"), (Rows{"1|MEMBRU LUNA", "3|POPA ANA"}));
    ASSERT_FALSE(again.savedTo.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(again.savedTo));
    EXPECT_TRUE(ui.messages.back().text.contains(again.savedTo));
}

TEST_F(ImportVmgTest, ADamagedOrIncompleteArchiveLeavesTheTablesAsTheyWere)
{
    const auto good =
        archive(QJsonArray{file(1, "POPA ANA", "APROBATA")}, QJsonArray{}, QJsonArray{member(1, 1, "POPA ANA", 1)});
    ASSERT_TRUE(import(good).imported);
    const Rows before = rows("SELECT NRCRT,LUNACRT,SUBSEMN FROM \"Cereri.dbf\"");
    const Rows membersBefore = rows("SELECT NROM,NRCRT FROM \"Oameni.dbf\"");

    const auto cut = archive(QJsonArray{file(2, "ALTUL", "APROBATA")}, QJsonArray{}, QJsonArray{}, 200);
    const auto noInquiries = archive(QJsonArray{file(2, "ALTUL", "APROBATA")}, QJsonArray{}, QJsonArray{}, 0, false);
    std::vector<RegisterTableDef> wrong{{"Cereri.dbf", "IDCERERE N(10,0); NUME C(40)", QJsonArray{QJsonArray{2, "X"}}},
                                        {"Anchete.dbf", kVmgInquiries, QJsonArray{}},
                                        {"Oameni.dbf", kVmgMembers, QJsonArray{}}};
    const auto missingColumns = tmp / "columns.416";
    ASSERT_TRUE(WriteRegisterArchive(missingColumns, wrong));
    for (const auto &bad : {cut, noInquiries, missingColumns}) {
        SCOPED_TRACE(bad.string());
        ui.messages.clear();
        EXPECT_FALSE(import(bad).imported);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].title, "Preluare L416");
        EXPECT_TRUE(ui.messages[0].text.startsWith("\rArhiva este defecta!"));
        EXPECT_EQ(rows("SELECT NRCRT,LUNACRT,SUBSEMN FROM \"Cereri.dbf\""), before);
        EXPECT_EQ(rows("SELECT NROM,NRCRT FROM \"Oameni.dbf\""), membersBefore);
        EXPECT_FALSE(ui.progressVisible);
    }
    EXPECT_TRUE(ui.messages[0].text.contains("Cereri.dbf"));
    // The unpacked copies of the refused archives are removed.
    EXPECT_EQ(QDir(TempFolder()).entryList({"VMG*"}, QDir::Dirs).size(), 0);
}

TEST_F(ImportVmgTest, AnInterruptedRebuildOfTheMembersTableLeavesEveryMember)
{
    ExecSql("INSERT INTO \"Cereri.dbf\" (NRCRT,LUNACRT) VALUES (1,24300)");
    for (int i = 1; i <= 3; ++i)
        ExecSql("INSERT INTO \"Oameni.dbf\" (NROM,NRCRT,TITULAR) VALUES (" + QString::number(i) + "," +
                QString::number(i) + ",\"M" + QString::number(i) + "\")");
    // Stopped at the moment the old way had deleted the table and not yet moved the new
    // one in: the member of the application is there, the orphans are only marked.
    periods::BeforeMembersTableReplaced() = [] { throw std::runtime_error("stopped"); };
    EXPECT_THROW(periods::RebuildMembersTable(), std::runtime_error);
    EXPECT_EQ(rows("SELECT TITULAR FROM \"Oameni.dbf\" ORDER BY NROM"), (Rows{"M1"}));
    EXPECT_EQ(dbf::DbfTable(tmp / "prog/Data/Oameni.dbf").recordCount(), 3u);

    periods::BeforeMembersTableReplaced() = {};
    ExecSql("INSERT INTO \"Oameni.dbf\" (NROM,NRCRT,TITULAR) VALUES (4,5,\"M4\")");
    periods::RebuildMembersTable();
    EXPECT_EQ(rows("SELECT TITULAR FROM \"Oameni.dbf\""), (Rows{"M1"}));
    EXPECT_EQ(dbf::DbfTable(tmp / "prog/Data/Oameni.dbf").recordCount(), 1u); // packed
    EXPECT_EQ(QDir(DataFolder()).entryList(QDir::Files).filter("dbf", Qt::CaseInsensitive).size(), 3);
}

TEST_F(ImportVmgTest, AddressAndRoleFollowTheRegistersCodes)
{
    EXPECT_EQ(periods::ImportedAddress("Mihai  Viteazu", "5", "", "", "", "3"), "STR.MIHAI VITEAZU NR.5 AP.3");
    EXPECT_EQ(periods::ImportedAddress("", "12", "B4", "A", "2", ""), "NR.12 BL.B4 SC.A ET.2");
    EXPECT_EQ(periods::ImportedAddress("Unirii \"Mari\"", "", "", "", "", ""), "STR.UNIRII MARI");
    EXPECT_EQ(periods::RoleFromRelationCode(1, false), "beneficiar");
    EXPECT_EQ(periods::RoleFromRelationCode(3, false), "partener");
    EXPECT_EQ(periods::RoleFromRelationCode(4, false), "copil");
    EXPECT_EQ(periods::RoleFromRelationCode(5, false), "adult");
    EXPECT_EQ(periods::RoleFromRelationCode(0, true), "adult");
}

} // namespace
