// The supplement dialog's fields, "&Memoreaza" and "&Sterge".
#include "gui/applications/SupplementDialog.h"

#include "core/Ui.h"
#include "gui/widgets/CnpEdit.h"
#include "gui/widgets/UpperCaseValidator.h"
#include "gui/widgets/WindowAction.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

SupplementDialog::SupplementDialog(Ui &ui, QWidget *parent) : QDialog(parent), ui_(ui)
{
    setWindowTitle(QStringLiteral("Date Supliment"));
    title_ = new QLabel(this);
    QFont f = title_->font();
    f.setBold(true);
    title_->setFont(f);
    furnizor_ = new QComboBox(this);
    furnizor_->setObjectName("Furnizor");
    furnizor_->setEditable(true);
    furnizor_->setInsertPolicy(QComboBox::NoInsert);
    furnizor_->lineEdit()->setMaxLength(ColumnWidth("Furnizor"));
    furnizor_->lineEdit()->setValidator(new UpperCaseValidator(furnizor_));
    codClient_ = new QLineEdit(this);
    codClient_->setObjectName("CodClient");
    pod_ = new QLineEdit(this);
    pod_->setObjectName("POD");
    titular_ = new QLineEdit(this);
    titular_->setObjectName("Titular");
    for (QLineEdit *e : {codClient_, pod_, titular_}) {
        e->setMaxLength(ColumnWidth(e->objectName()));
        e->setValidator(new UpperCaseValidator(e));
    }
    cnp_ = new CnpEdit(this);
    cnp_->setObjectName("CNP");
    singura_ = new QCheckBox(QStringLiteral("Este Singura sursa de energie din locuinta"), this);
    save_ = new QPushButton(QStringLiteral("&Memoreaza"), this);
    cancel_ = new QPushButton(QStringLiteral("&Renunt"), this);
    delete_ = new QPushButton(QStringLiteral("&Sterge"), this);
    for (QPushButton *b : {save_, cancel_, delete_})
        b->setAutoDefault(false);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Denumire Furnizor"), furnizor_);
    form->addRow(QStringLiteral("Cod de client"), codClient_);
    form->addRow(QStringLiteral("CLC (POD)"), pod_);
    auto *holder = new QGroupBox(QStringLiteral("Titular de Contract"), this);
    auto *holderForm = new QFormLayout(holder);
    holderForm->addRow(QStringLiteral("Nume si prenume"), titular_);
    holderForm->addRow(QStringLiteral("C.N.P."), cnp_);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(delete_);
    buttons->addStretch();
    buttons->addWidget(save_);
    buttons->addWidget(cancel_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addLayout(form);
    layout->addWidget(holder);
    layout->addWidget(singura_);
    layout->addLayout(buttons);

    connect(save_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { onSave(); }));
    connect(delete_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { onDelete(); }));
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(furnizor_, &QComboBox::editTextChanged, this,
            [this](const QString &t) { delete_->setEnabled(!t.trimmed().isEmpty()); });
}

void SupplementDialog::prepare(ApplicationEditor &editor, SupplementKind kind)
{
    editor_ = &editor;
    kind_ = kind;
    outcome_ = Cancelled;
    title_->setText(kind == SupplementKind::Gas ? QStringLiteral("Supliment Gaze") : QStringLiteral("Supliment Electrica"));
    furnizor_->clear();
    furnizor_->addItems(editor.supplementSuppliers(kind));
    const SupplementData d = editor.supplementForDialog(kind);
    furnizor_->setEditText(d.Furnizor);
    codClient_->setText(d.CodClient);
    pod_->setText(d.POD);
    titular_->setText(d.Titular);
    cnp_->setText(d.CNP);
    // The box starts unticked every time: it is not read back from the stored amount.
    singura_->setChecked(false);
    singura_->setVisible(kind == SupplementKind::Electricity);
    delete_->setEnabled(!d.Furnizor.trimmed().isEmpty());
    save_->setEnabled(true);
    furnizor_->setFocus();
}

SupplementDialog::Outcome SupplementDialog::edit(ApplicationEditor &editor, SupplementKind kind)
{
    prepare(editor, kind);
    exec();
    return outcome_;
}

void SupplementDialog::open(ApplicationEditor &editor, SupplementKind kind)
{
    prepare(editor, kind);
    show();
}

SupplementData SupplementDialog::gather() const
{
    return {furnizor_->currentText(), codClient_->text(), pod_->text(), titular_->text(), cnp_->text()};
}

void SupplementDialog::onSave()
{
    SupplementData d = gather();
    save_->setEnabled(false);
    const ApplicationEditor::SupplementOutcome out = editor_->checkSupplement(kind_, d);
    save_->setEnabled(true);
    // The cleaned texts are what the fields show from now on.
    furnizor_->setEditText(d.Furnizor);
    codClient_->setText(d.CodClient);
    pod_->setText(d.POD);
    titular_->setText(d.Titular);
    if (out.refusal.refused()) {
        QWidget *at = out.refusal.field == QLatin1String("CNP")        ? static_cast<QWidget *>(cnp_)
                      : out.refusal.field == QLatin1String("Furnizor") ? static_cast<QWidget *>(furnizor_)
                                                                       : titular_;
        ui_.fieldHint(out.refusal.message, at);
        return;
    }
    if (!out.saved)
        return;
    editor_->supplementSaved(kind_, d, kind_ == SupplementKind::Electricity && singura_->isChecked());
    outcome_ = Saved;
    accept();
}

void SupplementDialog::onDelete()
{
    if (ui_.message("Stergere Supliment", "\rDoriti sa stergeti suplimentul?", MsgConfirmation, BtnDa + BtnNu) != ResDa)
        return;
    editor_->supplementDeleted(kind_);
    outcome_ = Deleted;
    accept();
}

void SupplementDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace focaris::gui
