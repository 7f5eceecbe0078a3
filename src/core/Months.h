// Month codes: a month is identified in the tables and in all month arithmetic by
// year × 12 + month − 1 (01.2024 is 24288). The codes 1 and 2 are reserved for the
// households imported from the two registers.
#pragma once

#include <QString>

namespace focaris {

// The years a working month may have: months are added from 2006 on, and no year past
// this one is a month the office could work on.
inline constexpr int kFirstMonthYear = 2006;
inline constexpr int kLastMonthYear = 2300;

// "MM.YYYY" → code: the digits before the first "." are the month, those after it the
// year. A text that does not read this way, a month outside 1..12 and a year outside
// kFirstMonthYear..kLastMonthYear give 0, so that no typed or stored text can stand for
// another month (13.2025 is not 01.2026) or reach the reserved codes. This is the one
// reading of a month text for the whole program and the tool.
int MonthCode(const QString &monthText);
// Code → "MM.YYYY" (month with two digits, year with at least four). Negative codes give
// the empty text.
QString MonthText(int code);
// 1..12 → "ianuarie" .. "decembrie"; any other number gives the empty text.
QString MonthName(int month);

} // namespace focaris
