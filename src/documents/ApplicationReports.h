// The reports on applications ("Referate"): one RTF page group per approved application
// of the working month in a range of application numbers, from "Referat.rtf".
#pragma once

#include "documents/DocumentSupport.h"

#include <QStringList>

namespace focaris::documents {

// The range window's fields; they keep their last values between uses.
struct ReportRange {
    QString from = QStringLiteral("0"); // Cere0
    QString to = QStringLiteral("0");   // Cere1
};

// A typed number written back as a plain decimal number without trailing zeros ("07" is
// "7", "12.50" is "12.5"); text that is no number gives "0".
QString PlainNumberText(const QString &typed);

// The range window's "&Listeaza": both numbers written as plain numbers; refused at
// "Cere0" with "Interval incorect!" when the last is below the first.
Outcome CheckReportRange(ReportRange &range);

QStringList ReportsStatement(const QString &from, const QString &to, int monthCode);

// Prints the reports of the range (already checked) into `out`, or into a free
// "Referat" + n + ".rtf" of the temporary folder which is then opened for the person.
Outcome PrintReports(Ui &ui, const ReportRange &range, const QString &out = {});

} // namespace focaris::documents
