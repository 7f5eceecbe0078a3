// The member dialog's fields, presets and "Memoreaza".
#include "gui/applications/MemberDialog.h"

#include "core/Ui.h"
#include "gui/widgets/CnpEdit.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/NumericEdit.h"
#include "gui/widgets/UpperCaseValidator.h"
#include "gui/widgets/WindowAction.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

MemberDialog::MemberDialog(Ui &ui, QWidget *parent) : QDialog(parent), ui_(ui)
{
    setWindowTitle(QStringLiteral("Date membru"));
    holder_ = TextEntry(QStringLiteral("Titular"), this);
    holder_->setMaxLength(ColumnWidth("Titular"));
    holder_->setValidator(new UpperCaseValidator(holder_));
    cnp_ = Named<CnpEdit>(QStringLiteral("CNP"), this);
    income_ = Named<NumericEdit>(QStringLiteral("Venit"), 7, 2, this);
    relation_ = Named<QComboBox>(QStringLiteral("Calitate"), this);
    relation_->addItems(MemberRoles());
    clearFields_ = new QCheckBox(QStringLiteral("Goleste casutele"), this);
    save_ = DialogButton(QStringLiteral("Memoreaza"), this);
    auto *cancel = CancelButton(QStringLiteral("Renunt"), this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(FormRows({{QStringLiteral("Nume si prenume"), holder_},
                                {QStringLiteral("C.N.P."), cnp_},
                                {QStringLiteral("Venit lunar (lei)"), income_},
                                {QStringLiteral("Calitate"), relation_}}));
    // The tick box stands at the left edge of the button row.
    layout->addWidget(ButtonRow(this, {save_, cancel}, ButtonsAt::Right, {clearFields_}));

    connect(save_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { onSave(); }));
    connect(clearFields_, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            empty();
    });
}

void MemberDialog::empty()
{
    holder_->clear();
    cnp_->clear();
    income_->setText(QStringLiteral("0"));
    relation_->setCurrentIndex(0);
}

void MemberDialog::prepare(const QString &modeTitle, const MemberFields &preset, const SaveFunction &save)
{
    setWindowTitle(QStringLiteral("Date membru - ") + modeTitle);
    adding_ = modeTitle == QLatin1String("Adauga membru");
    saveFn_ = save;
    holder_->setText(preset.Titular);
    cnp_->setText(preset.CNP);
    income_->setText(preset.Venit.isEmpty() ? QStringLiteral("0") : preset.Venit);
    const int role = relation_->findText(preset.Calitate);
    relation_->setCurrentIndex(role < 0 ? 0 : role);
    if (adding_ && clearFields_->isChecked())
        empty();
    save_->setEnabled(true);
    holder_->setFocus();
    holder_->end(false);
}

bool MemberDialog::edit(const QString &modeTitle, const MemberFields &preset, const SaveFunction &save)
{
    prepare(modeTitle, preset, save);
    return exec() == QDialog::Accepted;
}

void MemberDialog::open(const QString &modeTitle, const MemberFields &preset, const SaveFunction &save)
{
    prepare(modeTitle, preset, save);
    show();
}

// Showing a dialog hands its focus field a tab-style focus, and a line edit selects its
// whole text on that: the preset family name would then be replaced by the first letter
// typed. The cursor goes back to the end of the name, nothing selected.
void MemberDialog::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    if (visible && focusWidget() == holder_) {
        holder_->deselect();
        holder_->end(false);
    }
}

MemberFields MemberDialog::fields() const
{
    return {holder_->text(), cnp_->text(), income_->text(), relation_->currentText()};
}

void MemberDialog::onSave()
{
    save_->setEnabled(false); // no second save while the check runs
    const EditorRefusal refusal = saveFn_ ? saveFn_(fields()) : EditorRefusal();
    save_->setEnabled(true);
    if (refusal.refused()) {
        QWidget *at = refusal.field == QLatin1String("CNP") ? static_cast<QWidget *>(cnp_) : holder_;
        ui_.fieldHint(refusal.message, at);
        return;
    }
    accept();
}

void MemberDialog::keyPressEvent(QKeyEvent *event)
{
    if (IsEnterKey(event)) {
        if (relation_->hasFocus())
            onSave();
        else
            focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace focaris::gui
