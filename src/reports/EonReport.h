// "Raport Furnizori / Format E-On Gaz Tg.Mures": the gas and electricity supplements of
// the working month in the import layout of the supplier E.ON, as two Excel 2007
// workbooks, after the person names the supplier as typed in the applications and gives
// the postal code of every locality.
#pragma once

#include "reports/AjpisReport.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace focaris::reports {

// What the supplier dialog shows and what the person chose in it.
struct EonChoice {
    QStringList suppliers; // the gas suppliers of the month, in capitals, ascending
    QString supplier;      // the one chosen (empty: none)
    // The localities of the month, ascending, with their postal codes (section
    // "CODURIP" of the shared settings; empty when none is stored).
    std::vector<std::pair<QString, QString>> postalCodes;
};

// A refused choice: the message and the field it is about ("FurnG" or "SMDBGrid1").
struct EonRefusal {
    QString message, field;
};

// The dialog's lists: the distinct FURNG of the working month's applications that are
// approved or modified and have a heating aid or a gas supplement; the distinct LOCALIT
// of all its applications with their stored codes.
EonChoice LoadEonChoice();
// "Nu ati ales nimic!" without a supplier; "Nu ati scris Codul postal!" at the first
// locality whose code is blank.
std::optional<EonRefusal> CheckEonChoice(const EonChoice &choice);
// Remembers every locality's code for the next run.
void StorePostalCodes(const EonChoice &choice);

// Writes one workbook (gas when `gas`, else electricity) for the supplier chosen, through
// a temporary file beside `path`; returns the number of applications written.
int WriteEonWorkbook(const QString &path, const EonChoice &choice, bool gas);

// The whole report after a valid choice: asks for the folder ("Alegeti directorul unde
// punem Raportul E-On"), asks before replacing EON_TERMICA_RAPORT, writes
// "Suplimente_Gaz.xlsx" and "Suplimente_Electrica.xlsx", says "Raportul a fost creat!"
// and opens the folder.
ReportResult MakeEonReport(Ui &ui, const EonChoice &choice);

} // namespace focaris::reports
