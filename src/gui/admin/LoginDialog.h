// The login dialog ("Autentificare"): one masked field, "&Verifica" accepts (also Enter
// in the field), "&Inchide" and Escape cancel. The field is empty each time it opens.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace focaris::gui {

class LoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoginDialog(QWidget *parent = nullptr);

    // Shows the dialog; true when accepted, with the typed text in `text`.
    bool ask(QString &text, const QString &caption = QStringLiteral("Autentificare"),
             const QString &prompt = QStringLiteral("Introduceti parola"));

    QLineEdit *field() const { return field_; }
    QPushButton *verifyButton() const { return verify_; }
    QPushButton *closeButton() const { return close_; }

private:
    QLabel *prompt_;
    QLineEdit *field_;
    QPushButton *verify_;
    QPushButton *close_;
};

} // namespace focaris::gui
