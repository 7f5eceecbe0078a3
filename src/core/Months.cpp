// Month codes, month texts and month names.
#include "core/Months.h"

#include <QStringList>

namespace focaris {

int MonthCode(const QString &monthText)
{
    const qsizetype dot = monthText.indexOf('.');
    if (dot <= 0)
        return 0;
    const QString monthPart = monthText.left(dot), yearPart = monthText.mid(dot + 1);
    auto allDigits = [](const QString &s) {
        if (s.isEmpty() || s.size() > 6)
            return false;
        for (QChar c : s)
            if (c < '0' || c > '9')
                return false;
        return true;
    };
    if (!allDigits(monthPart) || !allDigits(yearPart))
        return 0;
    const int month = monthPart.toInt(), year = yearPart.toInt();
    if (month < 1 || month > 12 || year < kFirstMonthYear || year > kLastMonthYear)
        return 0;
    return year * 12 + month - 1;
}

QString MonthText(int code)
{
    if (code < 0)
        return {};
    return QStringLiteral("%1.%2").arg(code % 12 + 1, 2, 10, QLatin1Char('0')).arg(code / 12, 4, 10, QLatin1Char('0'));
}

QString MonthName(int month)
{
    static const QStringList names = {"ianuarie", "februarie", "martie",     "aprilie",   "mai",       "iunie",
                                      "iulie",    "august",    "septembrie", "octombrie", "noiembrie", "decembrie"};
    return month >= 1 && month <= 12 ? names[month - 1] : QString();
}

} // namespace focaris
