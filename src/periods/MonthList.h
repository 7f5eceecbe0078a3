// The list of the months the office works with: "Luni.lst" in the data folder, one month
// text a line, the most recently added month first, Windows-1250 with CR LF line ends. The
// file is absent when no month exists and is found whatever the case of its name.
#pragma once

#include <QString>
#include <QStringList>

namespace focaris::periods {

// The path of the list in the data folder (the existing file's own spelling when there is
// one, else "Luni.lst").
QString MonthListPath();

// The months of the list in file order; blank lines are skipped. Empty when the file is
// absent or cannot be read.
QStringList ReadMonthList();

// Rewrites the list; an empty list deletes the file. The new text is written to a scratch
// file beside it and renamed over the old one, so a failure leaves the old list whole.
// Throws std::runtime_error when the file cannot be written or deleted.
void WriteMonthList(const QStringList &months);

} // namespace focaris::periods
