// The login dialog.
#include "gui/admin/LoginDialog.h"

#include "gui/widgets/DialogParts.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

LoginDialog::LoginDialog(QWidget *parent) : QDialog(parent, kDialogFlags)
{
    SetUpDialog(this, QStringLiteral("InputQuery2"), QStringLiteral("Autentificare"));
    prompt_ = new QLabel(QStringLiteral("Introduceti parola"), this);
    field_ = new QLineEdit(this);
    field_->setEchoMode(QLineEdit::Password);
    field_->setMinimumWidth(240);
    verify_ = new QPushButton(QStringLiteral("&Verifica"), this);
    close_ = new QPushButton(QStringLiteral("&Inchide"), this);
    verify_->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(field_);
    layout->addWidget(ButtonRow(this, {verify_, close_}));
    connect(verify_, &QPushButton::clicked, this, &QDialog::accept);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    connect(field_, &QLineEdit::returnPressed, this, &QDialog::accept);
}

bool LoginDialog::ask(QString &text, const QString &caption, const QString &prompt)
{
    setWindowTitle(caption);
    prompt_->setText(prompt);
    field_->clear();
    field_->setFocus();
    const bool ok = exec() == QDialog::Accepted;
    if (ok)
        text = field_->text();
    field_->clear();
    return ok;
}

} // namespace focaris::gui
