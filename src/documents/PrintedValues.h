// Values that every document and list prints the same way, whatever its template.
#pragma once

#include <QString>

namespace focaris::documents {

// The compensation percentage as every document and list shows it: the nearest whole
// number, an exact half going to the even neighbour (80.5 is 80), as the dispositions print
// it. Workbooks get this value itself, so that no cell format rounds it another way.
double WholePercent(double v);
// The form of address as the subject of a sentence or after "de" and "pentru": "domnul"
// for a CNP whose first digit is 1 or 5, "doamna" otherwise (the dative "domnului" and
// "doamnei" is FormOfAddress).
QString NominativeFormOfAddress(const QString &cnp);

} // namespace focaris::documents
