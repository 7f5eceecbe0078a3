// Checks of the personal numeric code: validity, birth date and sex.
#include "applications/Cnp.h"

namespace focaris::cnp {
namespace {

// The number written by `count` characters from `from`, or -1 when they are not digits.
int digitsAt(const QString &s, int from, int count)
{
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        if (i >= s.size() || s[i] < '0' || s[i] > '9')
            return -1;
        value = value * 10 + (s[i].unicode() - '0');
    }
    return value;
}

} // namespace

bool IsValid(const QString &cnp, bool acceptEmpty)
{
    if (cnp.isEmpty())
        return acceptEmpty;
    if (cnp.size() != 13)
        return false;
    for (QChar c : cnp)
        if (c < '0' || c > '9')
            return false;
    const int s = cnp[0].unicode() - '0';
    int century;
    switch (s) {
    case 1:
    case 2:
    case 7:
    case 8:
    case 9: century = 1900; break;
    case 5:
    case 6: century = 2000; break;
    default: return false; // 0, 3 and 4 (the 1800s) are refused
    }
    if (!QDate::isValid(century + digitsAt(cnp, 1, 2), digitsAt(cnp, 3, 2), digitsAt(cnp, 5, 2)))
        return false;
    static const int weights[12] = {2, 7, 9, 1, 4, 6, 3, 5, 8, 2, 7, 9};
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (cnp[i].unicode() - '0') * weights[i];
    const int r = sum % 11;
    const int control = r == 10 ? 1 : r;
    return cnp[12].unicode() - '0' == control;
}

QDate BirthDate(const QString &cnp)
{
    if (cnp.size() <= 6)
        return {};
    const int year = digitsAt(cnp, 1, 2), month = digitsAt(cnp, 3, 2), day = digitsAt(cnp, 5, 2);
    if (year < 0 || month < 0 || day < 0)
        return {};
    const int century = (cnp[0] == '5' || cnp[0] == '6') ? 2000 : 1900;
    const QDate date(century + year, month, day);
    return date.isValid() ? date : QDate(1900, 1, 1);
}

QString Sex(const QString &cnp)
{
    if (cnp.isEmpty())
        return QStringLiteral("masculin");
    const QChar s = cnp[0];
    return (s == '1' || s == '5' || s == '7' || s == '9') ? QStringLiteral("masculin") : QStringLiteral("feminin");
}

} // namespace focaris::cnp
