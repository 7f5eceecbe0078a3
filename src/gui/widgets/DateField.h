// The date field of every window: a one-line field with the mask "99.99.9999" that keeps
// exactly what was typed, so that an impossible day (31.02.2026) is never turned into
// another date behind the person's back; CheckDateFields refuses it at the field before
// the window uses it.
#pragma once

#include <QDate>
#include <QLineEdit>

#include <initializer_list>

namespace focaris {
class Ui;
}

namespace focaris::gui {

class DateField : public QLineEdit {
    Q_OBJECT
public:
    explicit DateField(QWidget *parent = nullptr);
    DateField(const QDate &date, QWidget *parent);

    // The date typed; invalid when the text is not a day of the calendar.
    QDate date() const;
    // Shows `date` as "dd.mm.yyyy" (a blank field for an invalid date).
    void setDate(const QDate &date);
};

// The refusal shown beside an impossible date.
QString WrongDateText();

// True when every field holds a day of the calendar. Otherwise the first field that does
// not gets the field hint WrongDateText() and the focus, and the result is false.
bool CheckDateFields(Ui &ui, std::initializer_list<DateField *> fields);

} // namespace focaris::gui
