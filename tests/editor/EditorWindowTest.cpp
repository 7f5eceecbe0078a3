// The editor window driven as a clerk uses it: typing a known CNP, moving with Enter,
// the boxes and their amounts, the member and supplement dialogs, the refusals with
// their hints beside the right field, and a stored application read back.
#include "EditorFixture.h"

#include "applications/ApplicationStore.h"
#include "core/Keys.h"
#include "gui/applications/ApplicationEditorWindow.h"
#include "gui/applications/MemberDialog.h"
#include "gui/applications/SupplementDialog.h"
#include "gui/widgets/CnpEdit.h"
#include "gui/widgets/NumericEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace focaris::test {
namespace {

// Records the name of the control each hint points at.
class HintUi : public FakeUi {
public:
    QStringList at;
    void fieldHint(const QString &text, QObject *control) override
    {
        at << (control ? control->objectName() : QString());
        FakeUi::fieldHint(text, control);
    }
};

class EditorWindow : public EditorFixture {
protected:
    HintUi hui;
    QLineEdit *line(gui::ApplicationEditorWindow &w, const char *name) { return static_cast<QLineEdit *>(w.field(name)); }
    QComboBox *combo(gui::ApplicationEditorWindow &w, const char *name) { return static_cast<QComboBox *>(w.field(name)); }
    QCheckBox *box(gui::ApplicationEditorWindow &w, const char *name) { return static_cast<QCheckBox *>(w.field(name)); }
};

TEST_F(EditorWindow, TypingAKnownCnpFillsTheFormAndTheMembers)
{
    const QString cnp = Cnp("180010112345");
    addApplication(2, month() - 1, cnp, "POPESCU ION", 12, "05.10.2025");
    addMember(1, 2, "POPESCU ION", cnp, "400");
    addMember(2, 2, "POPESCU ANA", Cnp("285020312345"), "500", "partener");
    gui::ApplicationEditorWindow w(hui);
    w.openAdd();
    EXPECT_EQ(w.windowTitle(), "Adaugare Cerere");
    QTest::keyClicks(w.field("CNPSol"), cnp);
    EXPECT_EQ(line(w, "SubSemn")->text(), "POPESCU ION");
    EXPECT_EQ(line(w, "TitT")->text(), "POPESCU ION");
    EXPECT_EQ(combo(w, "Localit")->currentText(), "ORAS");
    EXPECT_EQ(line(w, "Tarif")->text(), "0");  // no application of the month with that supplier yet
    EXPECT_EQ(line(w, "Nr_Cere")->text(), "12");
    EXPECT_EQ(w.membersGrid()->rowCount(), 2);
    EXPECT_EQ(w.membersGrid()->item(1, 0)->text(), "POPESCU ANA");
    ASSERT_FALSE(hui.hints.isEmpty());
    EXPECT_EQ(hui.hints.last(), "A mai depus cererea nr.12 / 05.10.2025.");
    EXPECT_EQ(hui.at.last(), "CNPSol");
    // The whole CNP is still what was typed.
    EXPECT_EQ(line(w, "CNPSol")->text(), cnp);
}

TEST_F(EditorWindow, EnterMovesThroughTheFormAndTheBoxesSetTheirAmounts)
{
    gui::ApplicationEditorWindow w(hui);
    w.openAdd();
    QApplication::setActiveWindow(&w);
    QWidget *cnp = w.field("CNPSol");
    cnp->setFocus();
    QTest::keyClick(cnp, Qt::Key_Return);
    EXPECT_EQ(w.focusWidget(), w.field("SubSemn"));
    // A name field takes no more than its column holds.
    QTest::keyClicks(w.field("SubSemn"), QString(40, 'x'));
    EXPECT_EQ(line(w, "SubSemn")->text(), QString(32, 'X'));
    line(w, "SubSemn")->clear();
    QTest::keyClicks(w.field("SubSemn"), "popescu ion");
    EXPECT_EQ(line(w, "SubSemn")->text(), "POPESCU ION");
    EXPECT_EQ(line(w, "TitT")->text(), "POPESCU ION");  // the holder follows the applicant
    QTest::keyClick(w.field("SubSemn"), Qt::Key_Return);
    EXPECT_EQ(w.focusWidget(), w.field("Nr_Cere"));
    QTest::keyClicks(w.field("Nr_Cere"), "25");
    EXPECT_EQ(line(w, "Nr_Cere")->text(), "25");

    box(w, "SupL")->click();
    EXPECT_EQ(w.amountLabel("SupL")->text(), "20 lei/luna");
    box(w, "SupL")->click();
    EXPECT_EQ(w.amountLabel("SupL")->text(), "0 lei/luna");
    box(w, "SupT")->click();
    EXPECT_EQ(w.amountLabel("SupT")->text(), "10 lei/luna");

    // "RESPINS" shows the reason and disables the modification box.
    EXPECT_TRUE(w.field("MotivC")->isHidden());
    combo(w, "StatutD")->setCurrentText("RESPINS");
    EXPECT_FALSE(w.field("MotivC")->isHidden());
    EXPECT_FALSE(w.field("CuModif")->isEnabled());
}

TEST_F(EditorWindow, RefusalsPointAtTheirFieldAndKeepTheTypedValues)
{
    const QString cnp = Cnp("180010112345");
    gui::ApplicationEditorWindow w(hui);
    w.openAdd();
    QTest::keyClicks(w.field("CNPSol"), cnp);
    QTest::keyClicks(w.field("SubSemn"), "POPESCU ION");
    QTest::keyClicks(combo(w, "Localit")->lineEdit(), "ORAS");
    QTest::keyClicks(combo(w, "Furnizor")->lineEdit(), "TERMO SA");
    w.button("&Memoreaza")->click();
    EXPECT_EQ(hui.hints.last(), "Lipseste Tariful GCal!");
    EXPECT_EQ(hui.at.last(), "Tarif");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(line(w, "SubSemn")->text(), "POPESCU ION");
    w.field("Tarif")->setFocus();
    QTest::keyClicks(w.field("Tarif"), "300");
    w.button("&Memoreaza")->click();
    EXPECT_EQ(hui.at.last(), "NrMembri");
    EXPECT_EQ(hui.hints.last(), "Numar de membri incorect!");
    w.field("NrMembri")->setFocus();
    QTest::keyClicks(w.field("NrMembri"), "1");
    w.field("NrCam")->setFocus();
    QTest::keyClicks(w.field("NrCam"), "1");
    QTest::keyClicks(w.field("Copii14"), "1");
    w.button("&Memoreaza")->click();
    EXPECT_EQ(hui.at.last(), "Copii14");
    EXPECT_EQ(line(w, "Tarif")->text(), "300");
}

TEST_F(EditorWindow, AddWithAMemberAndGasIsStoredAndReadBack)
{
    const QString cnp = Cnp("180010112345");
    SetKey("NRCRT", 30);
    gui::ApplicationEditorWindow w(hui);
    w.openAdd();
    QTest::keyClicks(w.field("CNPSol"), cnp);
    QTest::keyClicks(w.field("SubSemn"), "POPESCU ION");
    QTest::keyClicks(combo(w, "Localit")->lineEdit(), "ORAS");
    QTest::keyClicks(combo(w, "Furnizor")->lineEdit(), "TERMO SA");
    line(w, "Tarif")->setText("300");
    line(w, "NrCam")->setText("2");
    box(w, "Actualizare")->setChecked(false);
    box(w, "Actualizare")->click();  // members, income and children from the list

    // "Adauga membru": the dialog opens preset with the applicant.
    QTimer::singleShot(0, [&] {
        gui::MemberDialog *d = w.memberDialog();
        EXPECT_EQ(d->titular()->text(), "POPESCU ION");
        EXPECT_EQ(d->cnp()->text(), cnp);
        d->venit()->setText("650");
        d->saveButton()->click();
    });
    w.button("Adauga membru")->click();
    EXPECT_EQ(w.membersGrid()->rowCount(), 1);
    EXPECT_EQ(line(w, "NrMembri")->text(), "1");
    EXPECT_EQ(line(w, "VenitTotal")->text(), "650");

    // The gas dialog starts with the thermal holder; a missing supplier is refused.
    QTimer::singleShot(0, [&] {
        gui::SupplementDialog *d = w.supplementDialog();
        EXPECT_EQ(d->titular()->text(), "POPESCU ION");
        EXPECT_TRUE(d->singuraSursa()->isHidden());
        EXPECT_FALSE(d->deleteButton()->isEnabled());
        d->saveButton()->click();
        EXPECT_EQ(hui.hints.last(), "Lipseste Furnizorul!");
        QTest::keyClicks(d->furnizor()->lineEdit(), "gaz sa");
        QTest::keyClicks(d->codClient(), "g77");
        d->saveButton()->click();
    });
    w.button("Supliment Gaze naturale")->click();
    EXPECT_EQ(w.amountLabel("SupGB")->text(), "10 lei/luna");

    QSignalSpy accepted(&w, &QDialog::accepted);
    w.button("&Memoreaza")->click();
    ASSERT_EQ(accepted.count(), 1) << hui.hints.join(" | ").toStdString();
    EXPECT_EQ(ApplicationStore(hui).store(w.editor()), 30);
    EXPECT_EQ(rows("SELECT SUBSEMN, NR_MEMBRI, TVENIT, FURNG, CODCLG, TITG, SUMAG, CUANTUM FROM " + cereri()),
              Rows{"POPESCU ION|1|650|GAZ SA|G77|POPESCU ION|10|60"});
    EXPECT_EQ(rows("SELECT NRCRT, VENIT FROM " + oameni()), Rows{"30|650"});
    EXPECT_EQ(PeekKey("ACTUALIZARE"), Amount(2));
}

TEST_F(EditorWindow, ModifyModeShowsWhatWasStoredAndEscapeSavesNothing)
{
    const QString cnp = Cnp("180010112345");
    addApplication(7, month(), cnp, "POPESCU ION", 12, "05.11.2025", ", SUMAE", ", 70");
    ExecSql("UPDATE " + cereri() + " SET TITT=\"ALT TITULAR\" WHERE NRCRT=7");
    addApplication(9, month(), Cnp("150010112345"), "ALTUL", 2, "05.11.2025");
    ExecSql("UPDATE " + cereri() + " SET TARIF=999 WHERE NRCRT=9");
    addMember(1, 7, "POPESCU ION", cnp);
    gui::ApplicationEditorWindow w(hui);
    // Actualizare ticked from an earlier opening must not recount the loaded values.
    w.openAdd();
    box(w, "Actualizare")->setChecked(true);
    w.reject();
    ASSERT_TRUE(w.openModify(7));
    EXPECT_EQ(w.windowTitle(), "Modificare cerere");
    EXPECT_EQ(line(w, "TitT")->text(), "ALT TITULAR");
    EXPECT_EQ(line(w, "Tarif")->text(), "310.5");
    EXPECT_EQ(line(w, "NrMembri")->text(), "2");
    EXPECT_EQ(line(w, "VenitTotal")->text(), "900");
    EXPECT_EQ(w.amountLabel("SupEB")->text(), "70 lei/luna");
    EXPECT_EQ(w.membersGrid()->rowCount(), 1);
    EXPECT_TRUE(hui.hints.isEmpty());
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.editor().saved());
    EXPECT_FALSE(w.openModify(4242));
}

} // namespace
} // namespace focaris::test
