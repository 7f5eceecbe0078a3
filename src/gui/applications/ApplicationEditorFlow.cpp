// The editor window's traffic with the editor operation: fields shown and gathered, the
// members grid, the amount labels, the buttons, Enter and the openings.
#include "gui/applications/ApplicationEditorWindow.h"

#include "core/Formats.h"
#include "core/Ui.h"
#include "gui/applications/MemberDialog.h"
#include "gui/applications/SupplementDialog.h"
#include "gui/widgets/CnpEdit.h"
#include "gui/widgets/DateField.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/NumericEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace focaris::gui {

namespace {

template <class W>
W *as(QWidget *w)
{
    return static_cast<W *>(w);
}

void setCombo(QComboBox *c, const QStringList &items, const QString &text)
{
    c->clear();
    c->addItems(items);
    c->setEditText(text);
}

void selectText(QComboBox *c, const QString &text)
{
    c->setCurrentIndex(c->findText(text));
}

} // namespace

void ApplicationEditorWindow::showFields()
{
    ++showing_;
    const ApplicationFields &f = editor_.fields();
    auto setLine = [this](const char *name, const QString &text) { as<QLineEdit>(field(name))->setText(text); };
    auto setBox = [this](const char *name, bool on) { as<QCheckBox>(field(name))->setChecked(on); };
    auto setEdit = [this](const char *name, const QString &text) { as<QComboBox>(field(name))->setEditText(text); };
    setLine("CNPSol", f.CNPSol);
    setLine("SubSemn", f.SubSemn);
    setLine("Nr_Cere", f.Nr_Cere);
    setBox("NewNo", f.NewNo);
    as<DateField>(field("DataCereD"))->setDate(f.DataCereD);
    selectText(as<QComboBox>(field("LunaDec")), f.LunaDec);
    setLine("AnulDec", f.AnulDec);
    setLine("Nr_Luni", f.Nr_Luni);
    setEdit("Localit", f.Localit);
    setLine("Adresa", f.Adresa);
    setLine("NrMembri", f.NrMembri);
    setLine("VenitTotal", f.VenitTotal);
    setLine("TitT", f.TitT);
    setLine("CNPT", f.CNPT);
    setEdit("Furnizor", f.Furnizor);
    setLine("CodClient", f.CodClient);
    setLine("NrCont", f.NrCont);
    setEdit("Asoc", f.Asoc);
    setLine("Tarif", f.Tarif);
    selectText(as<QComboBox>(field("StatutD")), f.StatutD);
    setEdit("MotivC", f.MotivC);
    setBox("CuModif", f.CuModif);
    setBox("L416", f.L416);
    setBox("ASF", f.ASF);
    selectText(as<QComboBox>(field("StCiv")), f.StCiv);
    selectText(as<QComboBox>(field("SitScol")), f.SitScol);
    setLine("NrCam", f.NrCam);
    setBox("Asig", f.Asig);
    setEdit("SitProf", f.SitProf);
    setLine("Copii14", f.Copii14);
    setLine("Copii18", f.Copii18);
    setBox("CuAjut", f.CuAjut);
    setBox("SupL", f.SupL);
    setBox("SupT", f.SupT);
    setBox("Actualizare", f.Actualizare);
    showStatus();
    showAmounts();
    --showing_;
}

void ApplicationEditorWindow::gatherFields()
{
    ApplicationFields &f = editor_.fields();
    auto line = [this](const char *name) { return as<QLineEdit>(field(name))->text(); };
    auto box = [this](const char *name) { return as<QCheckBox>(field(name))->isChecked(); };
    auto text = [this](const char *name) { return as<QComboBox>(field(name))->currentText(); };
    f.CNPSol = line("CNPSol");
    f.SubSemn = line("SubSemn");
    f.Nr_Cere = line("Nr_Cere");
    f.NewNo = box("NewNo");
    f.DataCereD = as<DateField>(field("DataCereD"))->date();
    f.LunaDec = text("LunaDec");
    f.AnulDec = line("AnulDec");
    f.Nr_Luni = line("Nr_Luni");
    f.Localit = text("Localit");
    f.Adresa = line("Adresa");
    f.NrMembri = line("NrMembri");
    f.VenitTotal = line("VenitTotal");
    f.TitT = line("TitT");
    f.CNPT = line("CNPT");
    f.Furnizor = text("Furnizor");
    f.CodClient = line("CodClient");
    f.NrCont = line("NrCont");
    f.Asoc = text("Asoc");
    f.Tarif = line("Tarif");
    f.StatutD = text("StatutD");
    f.MotivC = text("MotivC");
    f.CuModif = box("CuModif");
    f.L416 = box("L416");
    f.ASF = box("ASF");
    f.StCiv = text("StCiv");
    f.SitScol = text("SitScol");
    f.NrCam = line("NrCam");
    f.Asig = box("Asig");
    f.SitProf = text("SitProf");
    f.Copii14 = line("Copii14");
    f.Copii18 = line("Copii18");
    f.CuAjut = box("CuAjut");
    f.SupL = box("SupL");
    f.SupT = box("SupT");
    f.Actualizare = box("Actualizare");
}

void ApplicationEditorWindow::showStatus()
{
    const bool rejected = editor_.motivShown();
    reasonLabel_->setVisible(rejected);
    field("MotivC")->setVisible(rejected);
    field("CuModif")->setEnabled(editor_.fields().StatutD == QLatin1String("APROBAT"));
}

void ApplicationEditorWindow::showAmounts()
{
    auto show = [this](const char *name, Amount a) {
        amounts_[name]->setText(QString::number(a.roundedHalfUp()) + " lei/luna");
    };
    show("SupL", editor_.sumaL());
    show("SupT", editor_.sumaT());
    show("SupGB", editor_.sumaG());
    show("SupEB", editor_.sumaE());
}

void ApplicationEditorWindow::showMembers(qint64 select)
{
    const std::vector<MemberRow> list = editor_.members();
    grid_->setRowCount(int(list.size()));
    int selectRow = list.empty() ? -1 : int(list.size()) - 1;
    for (int r = 0; r < int(list.size()); ++r) {
        const MemberRow &m = list[r];
        const QStringList cells{m.titular, m.cnp, FormatNumber(m.venit), m.calitate};
        for (int c = 0; c < 4; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            item->setData(Qt::UserRole, m.nrom);
            grid_->setItem(r, c, item);
        }
        if (m.nrom == select)
            selectRow = r;
    }
    // Names, CNPs and incomes show whole, whatever the font.
    for (int c = 0; c < 3 && !list.empty(); ++c)
        grid_->resizeColumnToContents(c);
    if (selectRow >= 0)
        grid_->selectRow(selectRow);
    const bool any = !list.empty();
    button("ModifyMember")->setEnabled(any);
    button("DeleteMember")->setEnabled(any);
}

qint64 ApplicationEditorWindow::selectedMember() const
{
    const QList<QTableWidgetItem *> items = grid_->selectedItems();
    return items.isEmpty() ? 0 : items.first()->data(Qt::UserRole).toLongLong();
}

void ApplicationEditorWindow::hint(const EditorRefusal &refusal)
{
    ui_.fieldHint(refusal.message, field(refusal.field));
}

void ApplicationEditorWindow::onCnpChanged()
{
    gatherFields();
    const ApplicationEditor::Lookup found = editor_.cnpChanged(as<QLineEdit>(field("CNPSol"))->text());
    const int caret = as<QLineEdit>(field("CNPSol"))->cursorPosition();
    showFields();
    as<QLineEdit>(field("CNPSol"))->setCursorPosition(caret);
    if (found.found) {
        showMembers();
        ui_.fieldHint(found.hint, field("CNPSol"));
    }
}

void ApplicationEditorWindow::onSave()
{
    if (!CheckDateFields(ui_, {as<DateField>(field("DataCereD"))}))
        return;
    gatherFields();
    const ApplicationEditor::SaveOutcome out = editor_.save();
    showFields();
    if (out.refusal.refused()) {
        hint(out.refusal);
        return;
    }
    if (out.saved) {
        ++showing_;
        setCombo(as<QComboBox>(field("Localit")), editor_.localities(), editor_.fields().Localit);
        --showing_;
        accept();
    }
}

void ApplicationEditorWindow::onAddMember()
{
    gatherFields();
    qint64 added = 0;
    const bool saved = memberDialog_->edit("Adauga membru", editor_.memberPreset(), [&](const MemberFields &m) {
        const ApplicationEditor::MemberOutcome out = editor_.addMember(m);
        added = out.nrom;
        return out.refusal;
    });
    if (saved) {
        showFields();
        showMembers(added);
    }
}

void ApplicationEditorWindow::onModifyMember()
{
    const qint64 nrom = selectedMember();
    if (nrom == 0)
        return; // nothing selected, nothing to change
    MemberFields preset;
    for (const MemberRow &m : editor_.members())
        if (m.nrom == nrom)
            preset = {m.titular, m.cnp, FormatNumber(m.venit), m.calitate};
    gatherFields();
    const bool saved = memberDialog_->edit(
        "Modificare membru", preset, [&](const MemberFields &m) { return editor_.modifyMember(nrom, m).refusal; });
    if (saved) {
        showFields();
        showMembers(nrom);
    }
}

void ApplicationEditorWindow::onDeleteMember()
{
    const qint64 nrom = selectedMember();
    if (nrom == 0)
        return;
    gatherFields();
    if (editor_.deleteMember(nrom)) {
        showFields();
        showMembers();
    }
}

void ApplicationEditorWindow::onSupplement(SupplementKind kind)
{
    gatherFields();
    supplementDialog_->edit(editor_, kind);
    showAmounts();
}

void ApplicationEditorWindow::keyPressEvent(QKeyEvent *event)
{
    if (IsEnterKey(event)) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ApplicationEditorWindow::done(int result)
{
    if (isVisible()) {
        gatherFields();
        editor_.close();
    }
    QDialog::done(result);
}

// What both openings show once the editor holds the application: the lists (without
// running their reactions), the fields, the members, the CNP focused. The window is not
// shown here: a dialog waiting in exec() is modal only when exec() is what shows it.
void ApplicationEditorWindow::showOpened(const QString &caption)
{
    setWindowTitle(caption);
    ++showing_;
    setCombo(as<QComboBox>(field("Localit")), editor_.localities(), {});
    setCombo(as<QComboBox>(field("Furnizor")), editor_.suppliers(), {});
    setCombo(as<QComboBox>(field("Asoc")), editor_.associations(), {});
    setCombo(as<QComboBox>(field("MotivC")), editor_.reasons(), {});
    // The stored status stays chosen even when the list does not offer it, so that saving
    // unchanged keeps it.
    QStringList statuses = StatusTexts();
    if (!statuses.contains(editor_.fields().StatutD))
        statuses << editor_.fields().StatutD;
    auto *statut = as<QComboBox>(field("StatutD"));
    statut->clear();
    statut->addItems(statuses);
    --showing_;
    showFields();
    showMembers();
    field("CNPSol")->setFocus();
}

// Showing hands the focus field a tab-style focus, on which a line edit selects its text;
// the loaded CNP stays unselected, so that a key typed by mistake does not replace it.
void ApplicationEditorWindow::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    if (visible && focusWidget() == field("CNPSol"))
        as<QLineEdit>(field("CNPSol"))->deselect();
}

void ApplicationEditorWindow::openAdd()
{
    editor_.openAdd();
    showOpened(QStringLiteral("Adaugare Cerere"));
    show();
}

bool ApplicationEditorWindow::openModify(qint64 nrcrt)
{
    if (!editor_.openModify(nrcrt))
        return false;
    showOpened(QStringLiteral("Modificare cerere"));
    show();
    return true;
}

// An editor already open holds what the clerk is typing: a second opening would replace
// it, so it is refused.
bool ApplicationEditorWindow::addModal()
{
    if (isVisible())
        return false;
    editor_.openAdd();
    showOpened(QStringLiteral("Adaugare Cerere"));
    return exec() == QDialog::Accepted && editor_.saved();
}

bool ApplicationEditorWindow::modifyModal(qint64 nrcrt)
{
    if (isVisible() || !editor_.openModify(nrcrt))
        return false;
    showOpened(QStringLiteral("Modificare cerere"));
    return exec() == QDialog::Accepted && editor_.saved();
}

} // namespace focaris::gui
