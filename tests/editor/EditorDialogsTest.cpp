// The member buttons and the supplement dialog's check as operations: presets, the
// duplicate CNP among the month's members, the recount, and "Verificare Coduri".
#include "EditorFixture.h"

#include "core/Keys.h"

namespace focaris::test {
namespace {

class EditorDialogs : public EditorFixture {};

TEST_F(EditorDialogs, MemberPresetsDuplicatesAndRecount)
{
    const QString cnp = Cnp("180010112345");
    addApplication(1, month(), Cnp("150010112345"), "ALTUL", 3, "01.11.2025");
    addMember(1, 1, "ALTUL", Cnp("150010112345"));
    addMember(2, 1, "ALTA", Cnp("250010112345"), "0", "partener");
    addApplication(2, month() - 1, Cnp("160010112345"), "VECHI", 3, "01.10.2025");
    addMember(3, 2, "VECHI", Cnp("160010112345"));
    SetKey("NROM", 10);

    ApplicationEditor e(ui);
    e.openAdd();
    fillValid(e, cnp);
    e.fields().SubSemn = " POPESCU  ION ";
    e.fields().DataCereD = QDate(2025, 11, 3);
    e.setActualizare(true);
    MemberFields first = e.memberPreset();
    EXPECT_EQ(first.Titular, "POPESCU ION");
    EXPECT_EQ(first.CNP, cnp);
    EXPECT_EQ(first.Calitate, "beneficiar");
    EXPECT_EQ(e.addMember(first).nrom, 10);
    MemberFields second = e.memberPreset();
    EXPECT_EQ(second.Titular, "POPESCU ");
    EXPECT_EQ(second.CNP, "");

    // Refusals, in order: name, CNP, a member of another application of the month.
    EXPECT_EQ(e.addMember({" ", cnp, "0", "copil"}).refusal.message, "Lipseste numele omului!");
    EXPECT_EQ(e.addMember({"X", "", "0", "copil"}).refusal.field, "CNP");
    const auto dup = e.addMember({"ALTA", Cnp("250010112345"), "0", "partener"});
    EXPECT_EQ(dup.refusal.message, "CNP existent la Membru, cererea nr.3/01.11.2025");
    EXPECT_EQ(dup.refusal.field, "CNP");
    // A member of another month's application is no obstacle.
    const auto child = e.addMember({"POPESCU MIC", Cnp("516010112345"), "120.5", "copil"});
    ASSERT_FALSE(child.refusal.refused());
    const auto old = e.addMember({"VECHI", Cnp("160010112345"), "300", "adult"});
    ASSERT_FALSE(old.refusal.refused());
    EXPECT_EQ(rows("SELECT COUNT(*) FROM " + oameni()), Rows{"3"}); // the temporary table holds them

    // Recounted: 3 members, the incomes added, one child under 14 (born January 2016).
    EXPECT_EQ(e.fields().NrMembri, "3");
    EXPECT_EQ(e.fields().VenitTotal, "420.5");
    EXPECT_EQ(e.fields().Copii14, "1");
    EXPECT_EQ(e.fields().Copii18, "0");

    EXPECT_FALSE(e.modifyMember(child.nrom, {"POPESCU MIC", Cnp("516010112345"), "1000", "copil"}).refusal.refused());
    EXPECT_EQ(e.fields().VenitTotal, "1300");
    ui.messageAnswers = {MessageResult::Nu};
    EXPECT_FALSE(e.deleteMember(old.nrom));
    EXPECT_EQ(ui.messages.back().text, "Stergeti pe VECHI ?");
    ui.messageAnswers = {MessageResult::Da};
    EXPECT_TRUE(e.deleteMember(old.nrom));
    EXPECT_FALSE(e.deleteMember(9999)); // nothing selected: no question
    EXPECT_EQ(e.fields().NrMembri, "2");
}

TEST_F(EditorDialogs, ModifyModeMembersAreStoredAtOnceAndTheMemberItselfIsNoDuplicate)
{
    const QString cnp = Cnp("180010112345");
    addApplication(7, month(), cnp, "POPESCU ION", 5, "01.11.2025");
    addMember(1, 7, "POPESCU ION", cnp);
    ApplicationEditor e(ui);
    ASSERT_TRUE(e.openModify(7));
    EXPECT_FALSE(e.modifyMember(1, {"POPESCU ION", cnp, "999", "beneficiar"}).refusal.refused());
    EXPECT_EQ(rows("SELECT VENIT FROM " + oameni() + " WHERE NROM=1"), Rows{"999"});
    // Adding the same person again is refused: they are already a member in the month.
    EXPECT_EQ(e.addMember({"POPESCU ION", cnp, "0", "adult"}).refusal.field, "CNP");
}

TEST_F(EditorDialogs, SupplementCheckAsksAboutTheSameCodesWithTheSameSupplierOnly)
{
    const QString cnp = Cnp("180010112345");
    addApplication(1, month(), Cnp("150010112345"), "VECIN", 3, "01.11.2025",
                   ", FURNG, CODCLG, PODG, FURNE, CODCLE, PODE", ", \"GAZ SA\", \"G1\", \"P1\", \"ENEL\", \"\", \"\"");
    ApplicationEditor e(ui);
    e.openAdd();
    fillValid(e, cnp);
    EXPECT_EQ(e.supplementSuppliers(SupplementKind::Gas), QStringList{"GAZ SA"});
    SupplementData d = e.supplementForDialog(SupplementKind::Gas);
    EXPECT_EQ(d.Titular, "POPESCU ION"); // the thermal holder when none is held
    d.Furnizor = "GAZ SA";
    d.CodClient = "G1";
    d.POD = "P1";
    ui.messageAnswers = {MessageResult::Nu};
    auto out = e.checkSupplement(SupplementKind::Gas, d);
    EXPECT_FALSE(out.saved);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Verificare Coduri");
    EXPECT_EQ(
        ui.messages[0].text,
        "Mai exista acelasi Cod de client si acelasi CLC (POD)\rla Cererea 3/01.11.2025 - VECIN!\rContinuam asa?");
    d.CodClient = "G2";
    ui.messageAnswers = {MessageResult::Da};
    out = e.checkSupplement(SupplementKind::Gas, d);
    EXPECT_TRUE(out.saved);
    EXPECT_TRUE(ui.messages.back().text.startsWith("Mai exista acelasi CLC (POD)\r"));
    // The same codes with another supplier pass without a question.
    ui.messages.clear();
    d.Furnizor = "ALT GAZ";
    d.CodClient = "G1";
    EXPECT_TRUE(e.checkSupplement(SupplementKind::Gas, d).saved);
    EXPECT_TRUE(ui.messages.empty());
    // Empty codes match another empty code of the same supplier.
    SupplementData el{"ENEL", "", "", "POPESCU ION", cnp};
    ui.messageAnswers = {MessageResult::Da};
    EXPECT_TRUE(e.checkSupplement(SupplementKind::Electricity, el).saved);
    ASSERT_EQ(ui.messages.size(), 1u);

    SupplementData bad{"ENEL", "", "", " ", cnp};
    EXPECT_EQ(e.checkSupplement(SupplementKind::Electricity, bad).refusal.message, "Lipseste Titularul de contract!");
    bad = {"ENEL", "", "", "X", "1"};
    EXPECT_EQ(e.checkSupplement(SupplementKind::Electricity, bad).refusal.field, "CNP");
    bad = {" \" ", "", "", "X", cnp};
    EXPECT_EQ(e.checkSupplement(SupplementKind::Electricity, bad).refusal.message, "Lipseste Furnizorul!");

    // The amounts: the single source gives IndE2, saving again without the box IndE;
    // deleting empties the data and sets 0.
    e.supplementSaved(SupplementKind::Electricity, el, true);
    EXPECT_EQ(e.sumaE(), Amount(70));
    e.supplementSaved(SupplementKind::Electricity, el, false);
    EXPECT_EQ(e.sumaE(), Amount(30));
    e.supplementDeleted(SupplementKind::Electricity);
    EXPECT_EQ(e.sumaE(), Amount());
    EXPECT_TRUE(e.supplement(SupplementKind::Electricity).empty());
}

} // namespace
} // namespace focaris::test
