// The fixed text formats for numbers and dates.
#include "core/Formats.h"

namespace focaris {

QString FormatNumber(Amount value)
{
    return QString::fromStdString(value.toString());
}

Amount ParseNumber(const QString &text)
{
    return Amount::parseOrZero(text.toStdString());
}

QString FormatDate(const QDate &date)
{
    return date.isValid() ? date.toString(QLatin1String(kDateFormat)) : QString();
}

QDate ParseDate(const QString &text)
{
    return QDate::fromString(text.trimmed(), QLatin1String(kDateFormat));
}

} // namespace focaris
