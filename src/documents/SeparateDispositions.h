// The separate dispositions of the month: one RTF page group per application, for a
// range of disposition numbers, from the grant, modification or rejection template of
// the data folder.
#pragma once

#include "documents/DocumentSupport.h"

#include <QDate>
#include <QStringList>

namespace focaris::documents {

enum class DispositionKind { Grant, Modification, Rejection };

// The range window's fields.
struct DispositionRange {
    QString from = QStringLiteral("1"); // Disp0
    QString to = QStringLiteral("1");   // Disp1
    QDate start;                        // DataA: the aid is granted from this date
};

// The first day of the month after `today` (the range window's start date).
QDate FirstOfNextMonth(const QDate &today);

// The range window's "&Listeaza": both numbers become their whole values; refused at
// "Disp0" with "Intervalul ales este incorect!" when the last is below the first.
Outcome CheckDispositionRange(DispositionRange &range);

// The statement of the dispositions of a kind in the range, for the month code.
QStringList SeparateDispositionsStatement(DispositionKind kind, const QString &from, const QString &to, int monthCode);

// The template of a kind: "Stabilire.rtf", "Modificare.rtf" or "Respingere.rtf".
QString DispositionTemplate(DispositionKind kind);

// Prints the dispositions of the working month in the range (already checked) into
// `out`, or into a free "Dispozitie" + n + ".rtf" of the temporary folder which is then
// opened for the person. Messages go through `ui`.
Outcome PrintSeparateDispositions(Ui &ui, DispositionKind kind, const DispositionRange &range, const QString &out = {});

} // namespace focaris::documents
