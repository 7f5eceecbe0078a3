// The message dialog through which every question, warning, error and confirmation is
// shown: a fixed 339 x 171 window with a coloured title strip and button strip, up to four
// buttons placed evenly in one row. One instance is created and reused.
#pragma once

#include "core/Ui.h"

#include <QColor>
#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

namespace focaris::gui {

class MessageDialog : public QDialog {
    Q_OBJECT
public:
    explicit MessageDialog(QWidget *parent = nullptr);

    // Shows the message modally and returns the result of the button pressed; Escape gives
    // Renunt, and an empty button set gives Renunt without showing.
    MessageResult run(const QString &title, const QString &text, MessageKind kind, MessageButtons buttons);

    // Prepares the dialog as run() does, without showing it (run() and the tests use it).
    // Returns the number of visible buttons.
    int prepare(const QString &title, const QString &text, MessageKind kind, MessageButtons buttons);

    // x of the i-th (from 1) of `count` visible buttons.
    static int buttonX(int i, int count);

    // The buttons in display order: Da, Nu, Renunt, OK.
    QPushButton *button(int index) const { return buttons_[index]; }
    QLabel *titleLabel() const { return title_; }
    QLabel *textLabel() const { return text_; }
    MessageKind kind() const { return kind_; }
    QColor gradientFrom() const { return from_; }
    QColor gradientTo() const { return to_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void reject() override;

private:
    QLabel *icon_;
    QLabel *title_;
    QLabel *text_;
    std::array<QPushButton *, 4> buttons_{};
    MessageKind kind_ = MessageKind::Error;
    QColor from_, to_;
};

} // namespace focaris::gui
