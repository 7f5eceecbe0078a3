// "&Memoreaza": the fifteen checks in their order with the field each points at, the
// normalising, and the questions against the working month answered both ways.
#include "EditorFixture.h"

#include "applications/ApplicationStore.h"
#include "core/Keys.h"

#include <functional>

namespace focaris::test {
namespace {

class EditorSave : public EditorFixture {};

struct Case {
    const char *message;
    const char *field;
    std::function<void(ApplicationFields &)> change;
};

TEST_F(EditorSave, EachCheckRefusesAtItsFieldAndKeepsWhatWasTyped)
{
    const QString cnp = Cnp("180010112345");
    const std::vector<Case> cases{
        {"CNP incorect!", "CNPSol", [](ApplicationFields &f) { f.CNPSol = "1800101123456"; }},
        {"Numar de cerere incorect!", "Nr_Cere", [](ApplicationFields &f) { f.Nr_Cere = "0"; }},
        {"Anul este incorect!", "AnulDec", [](ApplicationFields &f) { f.AnulDec = "2020"; }},
        {"Anul este incorect!", "AnulDec", [](ApplicationFields &f) { f.AnulDec = "2301"; }},
        {"Perioada incorecta pentru Ajutor!", "Nr_Luni", [](ApplicationFields &f) { f.Nr_Luni = "6"; }},
        {"Lipseste Furnziorul!", "Furnizor", [](ApplicationFields &f) { f.Furnizor = " T\"A "; }},
        {"Lipseste Tariful GCal!", "Tarif", [](ApplicationFields &f) { f.Tarif = "0"; }},
        // Without the heating aid the tariff is still needed.
        {"Lipseste Tariful GCal!", "Tarif",
         [](ApplicationFields &f) {
             f.CuAjut = false;
             f.Furnizor = "";
             f.Tarif = ".";
         }},
        {"Lipseste numele si prenumele Subsemnatului!", "SubSemn", [](ApplicationFields &f) { f.SubSemn = " \" "; }},
        {"Lipseste numele si prenumele titularului!", "TitT", [](ApplicationFields &f) { f.TitT = "  "; }},
        {"CNP incorect!", "CNPT", [](ApplicationFields &f) { f.CNPT = "123"; }},
        {"Lipseste Localitatea titularului!", "Localit", [](ApplicationFields &f) { f.Localit = " "; }},
        {"Numar de membri incorect!", "NrMembri", [](ApplicationFields &f) { f.NrMembri = "0.9"; }},
        {"Nu ati scris motivul!", "MotivC",
         [](ApplicationFields &f) {
             f.StatutD = "RESPINS";
             f.MotivC = "  ";
         }},
        {"Mai multi copii decat membri!", "Copii14",
         [](ApplicationFields &f) {
             f.Copii14 = "2";
             f.Copii18 = "1";
         }},
        {"Trebuie sa exista macar o camera!", "NrCam", [](ApplicationFields &f) { f.NrCam = "0"; }},
    };
    for (const Case &c : cases) {
        ApplicationEditor e(ui);
        e.openAdd();
        fillValid(e, cnp);
        c.change(e.fields());
        const ApplicationFields before = e.fields();
        const ApplicationEditor::SaveOutcome out = e.save();
        EXPECT_FALSE(out.saved) << c.message;
        EXPECT_EQ(out.refusal.message, c.message);
        EXPECT_EQ(out.refusal.field, c.field) << c.message;
        EXPECT_EQ(e.fields().CNPSol, before.CNPSol);
        EXPECT_EQ(e.fields().Tarif, before.Tarif);
    }
    // Two children and one adult make three members: accepted.
    ApplicationEditor e(ui);
    e.openAdd();
    fillValid(e, cnp);
    e.fields().Copii14 = "1";
    e.fields().Copii18 = "1";
    e.fields().AnulDec = "2021";
    EXPECT_TRUE(e.save().saved);

    // No working month.
    SetWorkingMonth("");
    ApplicationEditor n(ui);
    n.openAdd();
    fillValid(n, cnp);
    EXPECT_EQ(n.save().refusal.field, "NrMembri");
    EXPECT_EQ(rows("SELECT COUNT(*) FROM " + cereri()), Rows{"0"});
}

TEST_F(EditorSave, NormalisingCleansEveryTextAndRewritesNumbers)
{
    ApplicationEditor e(ui);
    e.openAdd();
    fillValid(e, Cnp("180010112345"));
    ApplicationFields &f = e.fields();
    f.SubSemn = "  POPESCU  \"ION\" ";
    f.TitT = "POP\"ESCU";
    f.Furnizor = " TERMO   SA ";
    f.Adresa = "STR.  \"X\"";
    f.NrMembri = "3.7";
    f.VenitTotal = ".5";
    f.NrCam = "2.";
    f.CuModif = true;
    f.StatutD = "RESPINS";
    f.MotivC = " VENIT \"MARE\" ";
    ASSERT_TRUE(e.save().saved);
    EXPECT_EQ(f.SubSemn, "POPESCU ION");
    EXPECT_EQ(f.TitT, "POP ESCU");
    EXPECT_EQ(f.Furnizor, "TERMO SA");
    EXPECT_EQ(f.Adresa, "STR. X");
    EXPECT_EQ(f.NrMembri, "3");
    EXPECT_EQ(f.VenitTotal, "0.5");
    EXPECT_EQ(f.NrCam, "2");
    EXPECT_FALSE(f.CuModif);
    EXPECT_EQ(f.MotivC, "VENIT MARE");
    // The cleaned reason is what the list file keeps.
    EXPECT_EQ(readFile(tmp / "prog/Motive.lst"), "VENIT MARE\r\n");
}

TEST_F(EditorSave, QuestionsAgainstTheMonthAreAnsweredBothWays)
{
    const QString cnp = Cnp("180010112345");
    addApplication(1, month(), cnp, "POPESCU ION", 3, "01.11.2025");
    {
        ApplicationEditor e(ui);
        e.openAdd();
        fillValid(e, cnp);
        ui.messageAnswers = {MessageResult::Nu};
        const auto out = e.save();
        EXPECT_FALSE(out.saved);
        EXPECT_FALSE(out.refusal.refused());
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].title, "CNP existent");
        EXPECT_EQ(ui.messages[0].kind, MessageKind::Warning);
        ui.messageAnswers = {MessageResult::Da};
        EXPECT_TRUE(e.save().saved);
    }
    // The same number in the month is refused without a question.
    ui.messages.clear();
    ApplicationEditor e(ui);
    e.openAdd();
    fillValid(e, Cnp("150010112345"));
    e.fields().Nr_Cere = "3";
    const auto out = e.save();
    EXPECT_EQ(out.refusal.message, "Mai exista acest numar de cerere in luna aceasta!");
    EXPECT_EQ(out.refusal.field, "Nr_Cere");
    EXPECT_TRUE(ui.messages.empty());

    // The applicant as a partner in another application of the month.
    addMember(1, 1, "POPESCU VASILE", Cnp("150010112345"), "0", "partener");
    e.fields().Nr_Cere = "4";
    ui.messageAnswers = {MessageResult::Nu};
    EXPECT_FALSE(e.save().saved);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Validare Cerere");
    EXPECT_EQ(ui.messages[0].text, "Acest CNP exista la Cererea \r3 la Membrul: POPESCU VASILE!\rContinuam asa?");
    ui.messageAnswers = {MessageResult::Da};
    EXPECT_TRUE(e.save().saved);
}

TEST_F(EditorSave, AnApprovedApplicationMustPassTheIncomeTestEvenWithoutHeatingAid)
{
    ApplicationEditor e(ui);
    e.openAdd();
    fillValid(e, Cnp("180010112345"));
    e.fields().CuAjut = false;
    e.fields().NrMembri = "3";
    e.fields().VenitTotal = "4200"; // 1400 per member, a family: not eligible
    const auto out = e.save();
    EXPECT_EQ(out.refusal.message, "Cererea NU poate fi APROBATA!");
    EXPECT_EQ(out.refusal.field, "StatutD");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Memorare Cerere");
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
    // Rejected, it is stored without the test and without supplier data or supplements.
    e.fields().StatutD = "RESPINS";
    e.fields().MotivC = "venit peste limita";
    e.setSupL(true);
    SupplementData gas{"GAZ SA", "G1", "P1", "POPESCU ION", Cnp("180010112345")};
    e.supplementSaved(SupplementKind::Gas, gas, false);
    e.fields().Asoc = "ASOC";
    EXPECT_TRUE(e.save().saved);
    EXPECT_EQ(e.sumaL(), Amount());
    EXPECT_EQ(e.sumaG(), Amount());
    EXPECT_EQ(e.supplement(SupplementKind::Gas).Furnizor, "");
    EXPECT_EQ(e.supplement(SupplementKind::Gas).Titular, "POPESCU ION");
    EXPECT_EQ(e.fields().Asoc, "");
}

TEST_F(EditorSave, SavingMovesTheSuggestedNumberPastTheMonthsLargestAndGrowsTheLists)
{
    const QString cnp = Cnp("180010112345");
    addApplication(7, month(), cnp, "POPESCU ION", 5, "01.11.2025");
    addApplication(8, month(), Cnp("280010112345"), "POPESCU ANA", 12, "01.11.2025");
    // Saving an older application leaves the number offered next where it was.
    SetKey("NR_CERE", 40);
    ApplicationEditor e(ui);
    ASSERT_TRUE(e.openModify(7));
    e.fields().Localit = "SAT NOU";
    ASSERT_TRUE(e.save().saved);
    EXPECT_EQ(PeekKey("NR_CERE"), Amount(40));
    EXPECT_TRUE(e.localities().contains("SAT NOU"));
    // A counter behind the month's numbers moves past the largest of them, not onto 6.
    SetKey("NR_CERE", 3);
    ApplicationEditor again(ui);
    ASSERT_TRUE(again.openModify(7));
    ASSERT_TRUE(again.save().saved);
    EXPECT_EQ(PeekKey("NR_CERE"), Amount(13));
}

} // namespace
} // namespace focaris::test
