// The suggestion form "Condica de sugestii".
#include "gui/shell/SuggestionWindow.h"

#include "core/Ui.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/WindowAction.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

SuggestionWindow::SuggestionWindow(Ui &ui, QWidget *parent) : QDialog(parent, kDialogFlags), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("SugestiiF"), QStringLiteral("Condica de sugestii"));
    const auto line = [this](const char *name, int length) {
        auto *edit = TextEntry(QString::fromLatin1(name), this);
        edit->setMaxLength(length);
        edit->setMinimumWidth(320);
        return edit;
    };
    name_ = line("Nume", 60);
    phone_ = line("Telefon", 20);
    email_ = line("Mail", 60);
    locality_ = line("Comuna", 60);
    text_ = Named<QPlainTextEdit>(QStringLiteral("Sugestie"), this);
    text_->setTabChangesFocus(true);
    text_->setMinimumHeight(140);
    auto *intro =
        new QLabel(QStringLiteral("Scrieti-ne ce ati dori sa faca programul sau ce nu merge cum trebuie:"), this);
    send_ = DialogButton(QStringLiteral("&Trimite"), this, QStringLiteral("Trimite"));
    auto *cancel = CancelButton(QStringLiteral("&Renunta"), this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(FormRows({{QStringLiteral("Numele si prenumele"), name_},
                                {QStringLiteral("Telefon / fax"), phone_},
                                {QStringLiteral("E-mail"), email_},
                                {QStringLiteral("Comuna / orasul"), locality_}}));
    layout->addWidget(intro);
    layout->addWidget(text_);
    layout->addWidget(ButtonRow(this, {send_, cancel}));
    // Enter goes from field to field, as in the program's other forms.
    for (QLineEdit *edit : {name_, phone_, email_, locality_})
        connect(edit, &QLineEdit::returnPressed, this, [this] { focusNextChild(); });
    connect(send_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { send(); }));
}

int SuggestionWindow::exec()
{
    const shell::Suggestion remembered = shell::RememberedSender();
    name_->setText(remembered.name);
    phone_->setText(remembered.phone);
    email_->setText(remembered.email);
    locality_->setText(remembered.locality);
    text_->clear();
    name_->setFocus();
    return QDialog::exec();
}

QWidget *SuggestionWindow::fieldNamed(const QString &name) const
{
    QWidget *w = findChild<QWidget *>(name);
    return w ? w : name_;
}

void SuggestionWindow::send()
{
    shell::Suggestion s{name_->text(), phone_->text(), email_->text(), locality_->text(), text_->toPlainText()};
    shell::SuggestionRefusal refusal;
    send_->setEnabled(false);
    const shell::SuggestionResult result = shell::SendSuggestion(ui_, s, httpGet, &refusal);
    send_->setEnabled(true);
    switch (result) {
    case shell::SuggestionResult::Refused: {
        QWidget *field = fieldNamed(refusal.field);
        ui_.fieldHint(refusal.message, field);
        field->setFocus();
        break;
    }
    case shell::SuggestionResult::Sent: accept(); break;
    case shell::SuggestionResult::NoAddress:
    case shell::SuggestionResult::Failed: break;
    }
}

} // namespace focaris::gui
