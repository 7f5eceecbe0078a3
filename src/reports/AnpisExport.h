// The national agency's file of the month's heating aid: "Date_" + fiscal code + "v2.xml",
// one element per application with a heating aid, with its address, the household's
// figures, the rights granted, the members and the income.
#pragma once

#include "core/Ui.h"
#include "reports/ExportCommon.h"

#include <QIODevice>
#include <QString>

namespace focaris::exports {

// The menu command: checks the settings, asks for the folder, asks before replacing the
// file, writes it whole (through a temporary file) and says so only after it is in place.
ExportResult ExportAnpis(Ui &ui);

// The file name for a fiscal code: "Date_" + its digits + "v2.xml".
QString AnpisFileName(const QString &codFiscal);

// Writes the document of the working month to `out`; returns the number of applications
// written (0 writes nothing). `step` is called every 100 applications.
int WriteAnpisDocument(QIODevice &out, const ExportSettings &settings, const QString &workingMonth,
                       const std::function<void()> &step = {});

} // namespace focaris::exports
