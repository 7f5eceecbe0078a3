// The fixed text formats of the program: numbers with "." as decimal separator and no
// grouping, dates as "dd.MM.yyyy", whatever the regional settings of the computer.
#pragma once

#include "core/Amount.h"

#include <QDate>
#include <QString>

namespace focaris {

inline constexpr const char *kDateFormat = "dd.MM.yyyy";

// Shortest decimal form of an amount: "2053", "0.82", "1.0029".
QString FormatNumber(Amount value);
// Number text → amount; text that is not a number gives 0.
Amount ParseNumber(const QString &text);
// "dd.MM.yyyy"; an invalid (null) date gives the empty text.
QString FormatDate(const QDate &date);
// "dd.MM.yyyy" → date; anything else gives a null date.
QDate ParseDate(const QString &text);

} // namespace focaris
