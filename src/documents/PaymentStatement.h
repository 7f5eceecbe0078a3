// The payment statement ("Situatie Plati"): the approved applications of the working
// month with their disposition, aid and supplements, on the three sheets of "Stat.xls"
// (all approved, those with heating aid, those with supplements), for signing at payment.
#pragma once

#include "documents/DocumentSupport.h"

#include <QStringList>

namespace focaris::documents {

// The first item of the locality list: every locality.
inline const QString kAllLocalities = QStringLiteral("* toate localitatile *");

// The selection window's fields.
struct StatementSelection {
    QString locality = kAllLocalities;        // Localit
    QString fromLetter = QStringLiteral("A"); // Lit1
    QString toLetter = QStringLiteral("Z");   // Lit2
    QString monthText;                        // PerioadaS, remembered as CONST/PERSTAT
};

// The 22 letters of the two letter lists.
const QStringList &StatementLetters();
// The locality list: the first item, then the localities of the working month.
QStringList StatementLocalities();
// The month text remembered from the last statement.
QString RememberedStatementMonth();

// The window's "&Am ales": refused at "Lit1" or "Lit2" for a letter not in the lists;
// otherwise the month text is remembered.
Outcome ConfirmStatementSelection(const StatementSelection &selection);

// The statement of sheet 1 without the letter conditions: the letters are applied to the
// rows it returns (see StatementRowSelected).
QStringList PaymentStatementStatement(const StatementSelection &selection, int monthCode);
// True when a name falls in the letter range: its first letter, with the Romanian
// diacritics read as their plain letters, from `from` up to `to` ("Z" has no upper bound).
bool InLetterRange(const QString &name, const QString &from, const QString &to);

// Builds the statement into `out`, or into a free "XLSTmp" + n + ".xls" of the temporary
// folder which is then opened for the person.
Outcome PrintPaymentStatement(Ui &ui, const StatementSelection &selection, const QString &out = {});

} // namespace focaris::documents
