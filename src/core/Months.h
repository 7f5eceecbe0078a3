// Month codes: a month is identified in the tables and in all month arithmetic by
// year × 12 + month − 1 (01.2024 is 24288). The codes 1 and 2 are reserved for the
// households imported from the two registers.
#pragma once

#include <QString>

namespace focaris {

// "MM.YYYY" → code: the digits before the first "." are the month, those after it the
// year. A text that does not read this way gives 0.
int MonthCode(const QString &monthText);
// Code → "MM.YYYY" (month with two digits, year with at least four). Negative codes give
// the empty text.
QString MonthText(int code);
// 1..12 → "ianuarie" .. "decembrie"; any other number gives the empty text.
QString MonthName(int month);

} // namespace focaris
