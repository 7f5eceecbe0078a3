// The date field of every window.
#include "gui/widgets/DateField.h"

#include "core/Formats.h"
#include "core/Ui.h"

namespace focaris::gui {

DateField::DateField(QWidget *parent) : QLineEdit(parent)
{
    setInputMask(QStringLiteral("99.99.9999"));
    setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 16);
}

DateField::DateField(const QDate &date, QWidget *parent) : DateField(parent)
{
    setDate(date);
}

QDate DateField::date() const
{
    return ParseDate(text());
}

void DateField::setDate(const QDate &date)
{
    setText(date.isValid() ? FormatDate(date) : QString());
}

QString WrongDateText()
{
    return QStringLiteral("Data scrisa nu exista in calendar!");
}

bool CheckDateFields(Ui &ui, std::initializer_list<DateField *> fields)
{
    for (DateField *field : fields) {
        if (field && !field->date().isValid()) {
            ui.fieldHint(WrongDateText(), field);
            field->setFocus();
            field->selectAll();
            return false;
        }
    }
    return true;
}

} // namespace focaris::gui
