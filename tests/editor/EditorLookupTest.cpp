// The editor's openings and the look-up of a typed CNP: what fills, from which earlier
// application, the hint, the copied members, and modify mode showing what was stored.
#include "EditorFixture.h"

#include "applications/ApplicationStore.h"
#include "core/Keys.h"

namespace focaris::test {
namespace {

class EditorLookup : public EditorFixture {};

TEST_F(EditorLookup, TypedCnpFillsFromTheMostRecentApplicationAndCopiesItsMembers)
{
    const QString cnp = Cnp("180010112345");
    addApplication(1, month() - 2, cnp, "VECHI ION", 3, "01.09.2025");
    addApplication(2, month() - 1, cnp, "POPESCU ION", 12, "05.10.2025");
    addMember(1, 2, "POPESCU ION", cnp, "400");
    addMember(2, 2, "POPESCU ANA", Cnp("285020312345"), "500", "partener");
    addMember(3, 1, "VECHI ION", cnp);
    SetKey("NROM", 50);

    ApplicationEditor e(ui);
    e.openAdd();
    EXPECT_EQ(e.key(), -2);
    // A CNP typed only partly is not looked up; the holder follows the applicant.
    ApplicationEditor::Lookup partial = e.cnpChanged(cnp.left(12));
    EXPECT_FALSE(partial.found);
    EXPECT_EQ(e.fields().CNPT, cnp.left(12));

    const ApplicationEditor::Lookup found = e.cnpChanged(cnp);
    ASSERT_TRUE(found.found);
    EXPECT_EQ(found.hint, "A mai depus cererea nr.12 / 05.10.2025.");
    const ApplicationFields &f = e.fields();
    EXPECT_EQ(f.SubSemn, "POPESCU ION");
    EXPECT_EQ(f.Nr_Cere, "12");
    EXPECT_EQ(f.Localit, "ORAS");
    EXPECT_EQ(f.Furnizor, "TERMO SA");
    EXPECT_EQ(f.NrMembri, "2");
    EXPECT_EQ(f.VenitTotal, "900");
    EXPECT_EQ(found.membersCopied, 2);
    const auto members = e.members();
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0].nrom, 50);
    EXPECT_EQ(members[1].nrom, 51);
    EXPECT_EQ(members[1].titular, "POPESCU ANA");
    EXPECT_EQ(members[1].nrcrt, -2);
    EXPECT_EQ(PeekKey("NROM"), Amount(52));
    // The stored members are untouched.
    EXPECT_EQ(rows("SELECT COUNT(*) FROM " + oameni()), Rows{"3"});
}

TEST_F(EditorLookup, ImportedRegistersGiveTheirHintAndComeAfterRealMonths)
{
    const QString vmg = Cnp("170030312345"), asf = Cnp("270030312345"), both = Cnp("190030312345");
    addApplication(1, 1, vmg, "DIN VMG", 0, "01.01.2025");
    addApplication(2, 2, asf, "DIN ASF", 0, "01.01.2025");
    addApplication(3, 1, both, "VMG VECHI", 0, "01.01.2025");
    addApplication(4, month() - 3, both, "DIN LUNA", 8, "02.08.2025");
    ApplicationEditor e(ui);
    e.openAdd();
    EXPECT_TRUE(e.cnpChanged(vmg).hint.startsWith("Beneficiar VMG cererea nr."));
    EXPECT_TRUE(e.cnpChanged(asf).hint.startsWith("Beneficiar ASF"));
    const ApplicationEditor::Lookup real = e.cnpChanged(both);
    EXPECT_TRUE(real.hint.startsWith("A mai depus cererea nr.8 / 02.08.2025"));
    EXPECT_EQ(e.fields().SubSemn, "DIN LUNA");
}

TEST_F(EditorLookup, NewNumberingKeepsTheSuggestedNumberAndTheTariffFollowsTheSupplier)
{
    const QString cnp = Cnp("180010112345");
    addApplication(1, month() - 1, cnp, "POPESCU ION", 12);
    // The month's latest application with that supplier gives the tariff.
    addApplication(5, month(), Cnp("150010112345"), "ALTUL", 2, "05.11.2025");
    ExecSql("UPDATE " + cereri() + " SET TARIF=412.8 WHERE NRCRT=5");
    SetKey("NR_CERE", 40);
    ApplicationEditor e(ui);
    e.openAdd();
    EXPECT_EQ(e.fields().Nr_Cere, "40");
    e.fields().NewNo = true;
    e.cnpChanged(cnp);
    EXPECT_EQ(e.fields().Nr_Cere, "40");
    EXPECT_EQ(e.fields().Tarif, "412.8");
    // A supplier with a double quote in it reaches the statement cleaned (and finds the
    // supplier stored under the cleaned name) instead of breaking it.
    e.fields().Tarif = "0";
    EXPECT_TRUE(e.supplierChanged("TERMO \"SA"));
    EXPECT_EQ(e.fields().Tarif, "412.8");
    EXPECT_FALSE(e.supplierChanged("\"ALTUL\" OR \"\"=\""));
    // The answer kept for the supplier follows the table: another writer's newer
    // application of the month, then the editor's own new one.
    addApplication(6, month(), Cnp("160010112345"), "ALTUL", 3, "05.11.2025");
    ExecSql("UPDATE " + cereri() + " SET TARIF=500 WHERE NRCRT=6");
    EXPECT_TRUE(e.supplierChanged("TERMO SA"));
    EXPECT_EQ(e.fields().Tarif, "500");
    ApplicationEditor other(ui);
    other.openAdd();
    fillValid(other, Cnp("170010112345"));
    other.fields().Tarif = "321.5";
    other.fields().Nr_Cere = "77";
    ASSERT_TRUE(other.save().saved);
    ApplicationStore(ui).store(other);
    EXPECT_TRUE(e.supplierChanged("TERMO SA"));
    EXPECT_EQ(e.fields().Tarif, "321.5");
}

TEST_F(EditorLookup, SuggestionListsFollowEveryWriterOfTheTable)
{
    addApplication(1, month(), Cnp("150010112345"), "ALTUL", 2, "05.11.2025");
    ApplicationEditor e(ui);
    e.openAdd();
    EXPECT_EQ(e.localities(), QStringList{"ORAS"});
    // Another writer's new locality is seen at the next opening.
    addApplication(2, month(), Cnp("160010112345"), "ALTUL", 3, "05.11.2025");
    ExecSql("UPDATE " + cereri() + " SET LOCALIT=\"ALBA\" WHERE NRCRT=2");
    e.openAdd();
    EXPECT_EQ(e.localities(), (QStringList{"ALBA", "ORAS"}));
    // The editor's own store adds what it wrote.
    fillValid(e, Cnp("180010112345"));
    e.fields().Localit = "ZAU";
    e.fields().Asoc = "BLOC 4";
    ASSERT_TRUE(e.save().saved);
    ApplicationStore(ui).store(e);
    e.openAdd();
    EXPECT_EQ(e.localities(), (QStringList{"ALBA", "ORAS", "ZAU"}));
    EXPECT_TRUE(e.associations().contains("BLOC 4"));
}

TEST_F(EditorLookup, AddModeResetsButKeepsDateListsAndStatus)
{
    ReadSetting("CONSTANTE", "LunaI");
    WriteSetting("CONSTANTE", "LunaI", "1");
    WriteSetting("CONSTANTE", "AnulI", "2026");
    WriteSetting("CONSTANTE", "PerI", "3");
    SetKey("ACTUALIZARE", 2);
    ApplicationEditor e(ui);
    e.openAdd();
    EXPECT_EQ(e.fields().LunaDec, "02");
    EXPECT_EQ(e.fields().AnulDec, "2026");
    EXPECT_EQ(e.fields().Nr_Luni, "3");
    EXPECT_TRUE(e.fields().Actualizare);
    EXPECT_EQ(e.fields().DataCereD, QDate::currentDate());
    e.fields().DataCereD = QDate(2025, 1, 2);
    e.fields().StCiv = "Vaduv /a";
    e.fields().StatutD = "RESPINS";
    e.fields().SubSemn = "X";
    e.fields().Actualizare = false;
    e.fields().LunaDec = "12";
    e.close();
    EXPECT_EQ(PeekKey("ACTUALIZARE"), Amount(1));
    EXPECT_EQ(ReadSetting("CONSTANTE", "LunaI"), "11");
    e.openAdd();
    EXPECT_EQ(e.fields().DataCereD, QDate(2025, 1, 2));
    EXPECT_EQ(e.fields().StCiv, "Vaduv /a");
    EXPECT_EQ(e.fields().StatutD, "RESPINS");
    EXPECT_EQ(e.fields().SubSemn, "");
    EXPECT_EQ(e.fields().CuAjut, true);
}

TEST_F(EditorLookup, ModifyModeShowsTheStoredValuesWithoutAnyReaction)
{
    const QString cnp = Cnp("180010112345");
    addApplication(7, month(), cnp, "POPESCU ION", 12, "05.11.2025", ", SUMAL, SUMAE, STCIV, SITSCOL, MOTIVR",
                   ", 20, 70, \"UC\", \"Q\", \"\"");
    // Holder differs from the applicant; another application of the month with the same
    // supplier has a different tariff.
    ExecSql("UPDATE " + cereri() + " SET TITT=\"ALT TITULAR\", CNPT=\"\", LUNADEC=" +
            QString::number(MonthCode("10.2025")) + " WHERE NRCRT=7");
    addApplication(9, month(), Cnp("150010112345"), "ALTUL", 2, "05.11.2025");
    ExecSql("UPDATE " + cereri() + " SET TARIF=999 WHERE NRCRT=9");
    addMember(1, 7, "POPESCU ION", cnp);
    SetKey("ACTUALIZARE", 2);

    ApplicationEditor e(ui);
    EXPECT_FALSE(e.openModify(12345));
    e.fields().Actualizare = true;
    ASSERT_TRUE(e.openModify(7));
    const ApplicationFields &f = e.fields();
    EXPECT_EQ(f.TitT, "ALT TITULAR");
    EXPECT_EQ(f.CNPT, "");
    EXPECT_EQ(f.Tarif, "310.5");
    EXPECT_EQ(f.NrMembri, "2"); // not recounted from the one member
    EXPECT_EQ(f.LunaDec, "10");
    EXPECT_EQ(f.AnulDec, "2025");
    EXPECT_EQ(f.StCiv, "Uniune consensuala ");
    EXPECT_EQ(f.SitScol, ""); // an unknown code shows no selection
    EXPECT_TRUE(f.SupL);
    EXPECT_FALSE(f.SupT);
    EXPECT_EQ(e.sumaL(), Amount(20));
    EXPECT_EQ(e.sumaE(), Amount(70));
    EXPECT_EQ(e.members().size(), 1u);
    EXPECT_EQ(e.lookupsRun(), 0);
}

} // namespace
} // namespace focaris::test
