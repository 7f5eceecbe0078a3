// The new-password dialog.
#include "gui/admin/NewPasswordDialog.h"

#include "gui/widgets/DialogParts.h"
#include "gui/widgets/UpperCaseValidator.h"
#include "shell/Passwords.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

NewPasswordDialog::NewPasswordDialog(QWidget *parent) : QDialog(parent, kDialogFlags)
{
    SetUpDialog(this, QStringLiteral("EditPass"), QStringLiteral("Schimbare parola"));
    auto *label = new QLabel(QStringLiteral("Parola noua"), this);
    field_ = TextEntry(QStringLiteral("Password"), this);
    field_->setMaxLength(40);
    field_->setValidator(new UpperCaseValidator(field_));
    field_->setMinimumWidth(260);
    store_ = DialogButton(QStringLiteral("&Memoreaza"), this);
    auto *cancel = CancelButton(QStringLiteral("&Renunt"), this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(field_);
    layout->addWidget(ButtonRow(this, {store_, cancel}));
    connect(store_, &QPushButton::clicked, this, &NewPasswordDialog::store);
    // Enter moves to the next control rather than accepting the dialog.
    connect(field_, &QLineEdit::returnPressed, this, [this] { store_->setFocus(); });
}

void NewPasswordDialog::store()
{
    QString text = field_->text();
    const bool ok = ui_ && shell::AcceptNewPassword(*ui_, text, field_);
    field_->setText(text);
    if (ok)
        accept();
}

bool NewPasswordDialog::ask(QString &password)
{
    field_->clear();
    if (!ExecFrom(this, field_))
        return false;
    password = field_->text();
    return true;
}

} // namespace focaris::gui
