// The value rules shared by the documents of the month: how numbers, names, addresses
// and marks of an application row are written into a disposition, a report, a form or
// a statement, and the office's own values (county, locality, officials) read from the
// shared settings.
#pragma once

#include "admin/AidParameters.h"
#include "engines/localsql/Value.h"

#include <QDate>
#include <QString>

#include <utility>

namespace focaris::documents {

// The office's values as the documents print them.
struct Office {
    QString judet;   // county name
    QString tipLoc;  // "COMUNA", "ORASUL", "MUNICIPIUL" or empty
    QString locArt;  // "comunei ", "orasului ", "municipiului " (with the final blank)
    QString localit; // name of the administrative unit
    QString primar, secretar, contabil, intocmit, director;
    QString codJud, codFiscal;
    AidParameters params;
};
// Reads the office from the shared settings file of the data folder.
Office LoadOffice();

// A field read as a number (texts that read as numbers count, anything else is 0).
double NumberOf(const sql::Value &v);
// Nearest whole number, an exact half going to the even neighbour: 80.5 → "80".
QString WholeHalfEven(double v);
// The whole part (towards zero): 45.70 → "45".
QString WholeTruncated(double v);
// Shortest decimal form with "." and no trailing zeros: 1769.5, 0.82, 20.
QString Shortest(double v);
// Exactly two decimals: "1769.50".
QString TwoDecimals(double v);
// A date field as dd.mm.yyyy; empty for a blank date.
QString DateText(const sql::Value &v);
QDate DateOf(const sql::Value &v);
// A text field trimmed at its end as stored (blank gives the empty text).
QString TextOf(const sql::Value &v);

// "domnului" for a CNP whose first digit is 1 or 5, "doamnei" otherwise (also for an
// empty CNP).
QString FormOfAddress(const QString &cnp);
// The address, then ", " and the locality when the locality is not blank.
QString Domicile(const QString &adresa, const QString &localit);
// The name split at its first blank: family name and given names (empty when none).
std::pair<QString, QString> SplitName(const QString &name);
// "X" when the amount is above 0, else one blank.
QString Mark(double amount);
// A disposition number as printed: as stored, empty when it is blank or "0".
QString DispositionNumber(const QString &stored);
// A typed number read as a whole number and written back in digits ("07" → "7",
// "12.9" → "12"); text that is no number gives "0".
QString WholeNumberText(const QString &typed);
// The first letter of a name with the Romanian diacritics taken as their plain letters
// (Ă Â as A, Î as I, Ş Ș as S, Ţ Ț as T) and small letters as capitals; a null char for
// an empty name.
QChar PlainInitial(const QString &name);

} // namespace focaris::documents
