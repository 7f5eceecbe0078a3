// The suggestion form "Condica de sugestii": name, phone, e-mail, locality and the text;
// "&Trimite" checks the fields (a wrong one gets its hint and keeps what was typed),
// remembers the sender on this computer and sends the suggestion.
#pragma once

#include "shell/Suggestion.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class SuggestionWindow : public QDialog {
    Q_OBJECT
public:
    explicit SuggestionWindow(Ui &ui, QWidget *parent = nullptr);

    // Fills the sender's fields from the machine settings, empties the text and shows
    // the window.
    int exec() override;

    // How the request is sent; the network by default (tests may point it elsewhere).
    shell::HttpGet httpGet = shell::NetworkGet();

    QLineEdit *nameField() const { return name_; }
    QLineEdit *phoneField() const { return phone_; }
    QLineEdit *emailField() const { return email_; }
    QLineEdit *localityField() const { return locality_; }
    QPlainTextEdit *textField() const { return text_; }
    QPushButton *sendButton() const { return send_; }

private:
    void send();
    QWidget *fieldNamed(const QString &name) const;

    Ui &ui_;
    QLineEdit *name_;
    QLineEdit *phone_;
    QLineEdit *email_;
    QLineEdit *locality_;
    QPlainTextEdit *text_;
    QPushButton *send_;
};

} // namespace focaris::gui
