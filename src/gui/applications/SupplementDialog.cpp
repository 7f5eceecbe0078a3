// The supplement dialog's fields, "&Memoreaza" and "&Sterge".
#include "gui/applications/SupplementDialog.h"

#include "core/Ui.h"
#include "gui/widgets/CnpEdit.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/UpperCaseValidator.h"
#include "gui/widgets/WindowAction.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

SupplementDialog::SupplementDialog(Ui &ui, QWidget *parent) : QDialog(parent), ui_(ui)
{
    setWindowTitle(QStringLiteral("Date Supliment"));
    title_ = Heading(QString(), this);
    supplier_ = Named<QComboBox>(QStringLiteral("Furnizor"), this);
    supplier_->setEditable(true);
    supplier_->setInsertPolicy(QComboBox::NoInsert);
    supplier_->lineEdit()->setMaxLength(ColumnWidth("Furnizor"));
    supplier_->lineEdit()->setValidator(new UpperCaseValidator(supplier_));
    clientCode_ = TextEntry(QStringLiteral("CodClient"), this);
    deliveryPoint_ = TextEntry(QStringLiteral("POD"), this);
    holder_ = TextEntry(QStringLiteral("Titular"), this);
    for (QLineEdit *e : {clientCode_, deliveryPoint_, holder_}) {
        e->setMaxLength(ColumnWidth(e->objectName()));
        e->setValidator(new UpperCaseValidator(e));
    }
    cnp_ = Named<CnpEdit>(QStringLiteral("CNP"), this);
    singleSource_ = new QCheckBox(QStringLiteral("Este Singura sursa de energie din locuinta"), this);
    save_ = DialogButton(QStringLiteral("&Memoreaza"), this);
    cancel_ = CancelButton(QStringLiteral("&Renunt"), this);
    delete_ = DialogButton(QStringLiteral("&Sterge"), this);

    auto *holder = new QGroupBox(QStringLiteral("Titular de Contract"), this);
    auto *holderForm = new QFormLayout(holder);
    AddFormRows(holderForm, {{QStringLiteral("Nume si prenume"), holder_}, {QStringLiteral("C.N.P."), cnp_}});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addLayout(FormRows({{QStringLiteral("Denumire Furnizor"), supplier_},
                                {QStringLiteral("Cod de client"), clientCode_},
                                {QStringLiteral("CLC (POD)"), deliveryPoint_}}));
    layout->addWidget(holder);
    layout->addWidget(singleSource_);
    // "&Sterge" stands at the left edge, away from the two that close the dialog.
    layout->addWidget(ButtonRow(this, {save_, cancel_}, ButtonsAt::Right, {delete_}));

    connect(save_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { onSave(); }));
    connect(delete_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { onDelete(); }));
    connect(supplier_, &QComboBox::editTextChanged, this,
            [this](const QString &t) { delete_->setEnabled(!t.trimmed().isEmpty()); });
}

void SupplementDialog::prepare(ApplicationEditor &editor, SupplementKind kind)
{
    editor_ = &editor;
    kind_ = kind;
    outcome_ = Cancelled;
    title_->setText(kind == SupplementKind::Gas ? QStringLiteral("Supliment Gaze")
                                                : QStringLiteral("Supliment Electrica"));
    supplier_->clear();
    supplier_->addItems(editor.supplementSuppliers(kind));
    const SupplementData d = editor.supplementForDialog(kind);
    supplier_->setEditText(d.Furnizor);
    clientCode_->setText(d.CodClient);
    deliveryPoint_->setText(d.POD);
    holder_->setText(d.Titular);
    cnp_->setText(d.CNP);
    // The box starts unticked every time: it is not read back from the stored amount.
    singleSource_->setChecked(false);
    singleSource_->setVisible(kind == SupplementKind::Electricity);
    delete_->setEnabled(!d.Furnizor.trimmed().isEmpty());
    save_->setEnabled(true);
    supplier_->setFocus();
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
    return {supplier_->currentText(), clientCode_->text(), deliveryPoint_->text(), holder_->text(), cnp_->text()};
}

void SupplementDialog::onSave()
{
    SupplementData d = gather();
    save_->setEnabled(false);
    const ApplicationEditor::SupplementOutcome out = editor_->checkSupplement(kind_, d);
    save_->setEnabled(true);
    // The cleaned texts are what the fields show from now on.
    supplier_->setEditText(d.Furnizor);
    clientCode_->setText(d.CodClient);
    deliveryPoint_->setText(d.POD);
    holder_->setText(d.Titular);
    if (out.refusal.refused()) {
        QWidget *at = out.refusal.field == QLatin1String("CNP")        ? static_cast<QWidget *>(cnp_)
                      : out.refusal.field == QLatin1String("Furnizor") ? static_cast<QWidget *>(supplier_)
                                                                       : holder_;
        ui_.fieldHint(out.refusal.message, at);
        return;
    }
    if (!out.saved)
        return;
    editor_->supplementSaved(kind_, d, kind_ == SupplementKind::Electricity && singleSource_->isChecked());
    outcome_ = Saved;
    accept();
}

void SupplementDialog::onDelete()
{
    if (ui_.message("Stergere Supliment", "\rDoriti sa stergeti suplimentul?", MessageKind::Confirmation,
                    MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
        return;
    editor_->supplementDeleted(kind_);
    outcome_ = Deleted;
    accept();
}

void SupplementDialog::keyPressEvent(QKeyEvent *event)
{
    if (IsEnterKey(event)) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace focaris::gui
