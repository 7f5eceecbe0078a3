// The new-password dialog.
#include "gui/admin/NewPasswordDialog.h"

#include "gui/widgets/UpperCaseValidator.h"
#include "shell/Passwords.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

NewPasswordDialog::NewPasswordDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("EditPass"));
    setWindowTitle(QStringLiteral("Schimbare parola"));
    setModal(true);
    auto *label = new QLabel(QStringLiteral("Parola noua"), this);
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("PassN"));
    field_->setMaxLength(40);
    field_->setValidator(new UpperCaseValidator(field_));
    field_->setMinimumWidth(260);
    store_ = new QPushButton(QStringLiteral("&Memoreaza"), this);
    cancel_ = new QPushButton(QStringLiteral("&Renunt"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(store_);
    buttons->addWidget(cancel_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(field_);
    layout->addLayout(buttons);
    connect(store_, &QPushButton::clicked, this, &NewPasswordDialog::store);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    // Enter moves to the next control rather than accepting the dialog.
    connect(field_, &QLineEdit::returnPressed, this, [this] { store_->setFocus(); });
    store_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
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
    field_->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    password = field_->text();
    return true;
}

} // namespace focaris::gui
