// The CNP field: a one-line field that takes only digits, at most 13, through its own key
// handling (typed, pasted or dropped text alike), and answers whether its text is a valid
// CNP, the birth date and the sex it gives. Enter is passed on to the form.
#pragma once

#include <QDate>
#include <QLineEdit>

namespace focaris::gui {

class CnpEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CnpEdit(QWidget *parent = nullptr);

    // When true an empty text counts as valid.
    bool acceptsEmpty() const { return acceptsEmpty_; }
    void setAcceptsEmpty(bool accept) { acceptsEmpty_ = accept; }

    bool isValid() const;
    QDate birthDate() const;
    QString sex() const;

    // Inserts the digits of `text` at the caret as if they were typed one by one (other
    // characters are dropped, nothing beyond 13 digits).
    void insertDigits(const QString &text);
    // Pastes the clipboard's text through the same rule.
    void pasteDigits();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void insertDigit(QChar digit);
    bool acceptsEmpty_ = false;
};

} // namespace focaris::gui
