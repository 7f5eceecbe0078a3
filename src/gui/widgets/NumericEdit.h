// The numeric field of the forms: digits and at most one decimal separator ("."), no
// sign, a limit on the integer digits and on the decimals, no text beginning with "00"
// (refused with a beep), a digit typed over a lone "0" replaces it, erasing the last
// character leaves "0", the Delete key does nothing, and entering the field selects its
// whole text. Pasted text is taken only when the whole result obeys the same rules.
#pragma once

// moc does not read the C++20 headers behind these types; it needs none of them.
#ifndef Q_MOC_RUN
#include "core/Amount.h"
#endif

#include <QLineEdit>

namespace focaris::gui {

class NumericEdit : public QLineEdit {
    Q_OBJECT
public:
    NumericEdit(int integerDigits, int decimals, QWidget *parent = nullptr);

    // The text read as a number (a leading separator reads with a 0 before it); 0 when
    // it does not parse.
    Amount value() const;
    // True when `text` is a text the field may hold.
    bool acceptable(const QString &text) const;

    // Test hook: how many keystrokes were refused with a beep.
    int beeps() const { return beeps_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void put(const QString &insert);
    void refuse();
    int integerDigits_;
    int decimals_;
    int beeps_ = 0;
};

} // namespace focaris::gui
