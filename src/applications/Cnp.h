// The Romanian personal numeric code (CNP): 13 digits S YY MM DD JJ NNN C, where S gives
// sex and century, YYMMDD the birth date and C a control digit.
#pragma once

#include <QDate>
#include <QString>

namespace focaris::cnp {

// True for a valid code: 13 characters, first digit 1, 2, 5, 6, 7, 8 or 9, a real
// calendar date (1900s, or 2000s for 5 and 6) and the right control digit. The empty text
// gives `acceptEmpty`.
bool IsValid(const QString &cnp, bool acceptEmpty = false);
// The birth date, without regard to the control digit: a null QDate (the date 0, older
// than any limit) when the text has 6 characters or fewer or its digit groups are not
// numbers; 1 January 1900 when they do not form a date.
QDate BirthDate(const QString &cnp);
// "masculin" when the first digit is 1, 5, 7 or 9 or the text is empty, else "feminin".
QString Sex(const QString &cnp);

} // namespace focaris::cnp
