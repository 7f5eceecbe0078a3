// The tax agency's form F2201: the adults of the month's approved applications, as
// requests of at most 501 rows of the source list each ("F2201_1.xml", "F2201_2.xml", ...),
// every request with its own number.
#pragma once

#include "core/Ui.h"
#include "reports/ExportCommon.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

#include <vector>

namespace focaris::exports {

// One row of the source list: a member of an approved application of the month.
struct F2201Person {
    QString cnp;
    qint64 nrCere = 0;
    QDate dataCere;
    bool adult = false;
    QString name;
};

// The request number of the first file for an export started at `now`: the integer part
// of (spreadsheet day serial of now - 2017) x 10,000,000, computed in whole numbers.
qint64 F2201FirstRequest(const QDateTime &now);

// True when the birth date read from the CNP lies before `today` moved back 18 years (a
// person whose 18th birthday is today is not yet adult; an unreadable CNP counts as adult).
bool F2201Adult(const QString &cnp, const QDate &today);

// The documents of a list, in file order: positions 1-500 in the first, then 501 positions
// each; minors take a position but write no element.
std::vector<QByteArray> F2201Documents(const std::vector<F2201Person> &list, const QString &folder,
                                       const QString &codFiscal, const QDateTime &now);

// The merged, ordered source list of the working month.
std::vector<F2201Person> F2201List(const QDate &today);

// The menu command. `now` fixes the clock (request numbers, creation moments, ages).
ExportResult ExportF2201(Ui &ui, const QDateTime &now = QDateTime::currentDateTime());

} // namespace focaris::exports
