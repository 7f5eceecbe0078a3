// "Raport AJPIS": the county agency's annexes for a period and the working month, written
// as the folder TERMICA_AJPIS where the person chooses: Annex 1 by number of months with
// Annex 21, Annex 22, Annexes 14 to 17, Annexes 23 and 24 per energy type with data, and
// Annex 25 per supplier.
#pragma once

#include "core/Ui.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace focaris::reports {

// The period of the "Rapoarte" dialog: only month and year of each date count.
struct ReportPeriod {
    QDate from, to;
};
// The heating season around `today`: 1 November to 31 March, of this year and the next
// from October on, else of the previous year and this one.
ReportPeriod DefaultSeason(const QDate &today);
// The period's check: "Perioada incorecta!" when `to` is before `from`, else empty.
QString CheckPeriod(const ReportPeriod &period);

// What a report did: done is false when it was cancelled, refused or failed (the person
// has been told why); files lists what it wrote, as the person finds them.
struct ReportResult {
    bool done = false;
    QString folder;
    QStringList files;
};

// The whole report for the months from..to (month codes) and the working month: checks
// the settings, asks for the folder (Ui::chooseFolder "Alegeti directorul unde punem
// Raportul"), asks before replacing an existing TERMICA_AJPIS, writes every annex, puts
// the folder in place and opens it. A missing template, a sheet that would pass the .xls
// row limit or a failed write ends it with nothing of the new set in place.
ReportResult MakeAjpisReport(Ui &ui, int fromMonth, int toMonth);

} // namespace focaris::reports
