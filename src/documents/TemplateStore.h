// The user-editable templates of the data folder: which exist, installing the missing
// ones from the built-in copies (never overwriting a present file, so the office's own
// changes survive program updates), and replacing those whose built-in copy changed in
// a program version newer than the one that last opened the data folder.
#pragma once

#include "core/Amount.h"

#include <QString>

#include <array>

namespace focaris {

struct DataTemplate {
    const char *resource; // resource name, type "Model"
    const char *file;     // file name in the data folder
};

// In installation order.
inline constexpr std::array<DataTemplate, 13> kDataTemplates{{
    {"Ancheta", "ModelAncheta2.rtf"},
    {"Cerere", "ModCerere.rtf"},
    {"CerereS", "ModCerereS.rtf"},
    {"Referat", "Referat.rtf"},
    {"Stat", "Stat.xls"},
    {"Respingere", "Respingere.rtf"},
    {"Stabilire", "Stabilire.rtf"},
    {"StabilireU", "StabilireU.xls"},
    {"Modificare", "Modificare.rtf"},
    {"Anexa17", "Anexa17.xls"},
    {"Anexa16", "Anexa16.xls"},
    {"Anexa15", "Anexa15.xls"},
    {"Anexa14", "Anexa14.xls"},
}};

inline constexpr const char *kTemplateType = "Model";

// The version of the program, stored in the data folder by UpgradeTemplates.
inline constexpr Amount kTemplatesVersion = Amount::fromUnits(10029);

// Installs, in the order above, every template whose file is missing from `dataFolder`
// (looked up without regard to case). A file that cannot be written is skipped silently:
// the document that needs it reports it missing, and the next start tries again. When
// `programFolder` is given, the program icon "ico1.ico" is installed there the same way.
// Returns the number of files written.
int InstallMissingFiles(const QString &dataFolder, const QString &programFolder = QString());

// The template half of the data upgrade for a data folder last opened by program version
// `storedVersion` (0 for a new folder): below 1.0011 the four supplement annexes, below
// 1.0014 "Referat.rtf", "Stabilire.rtf" and "StabilireU.xls", below 1.0026 "Anexa14.xls"
// are deleted and installed again from the built-in copies. A file open in another
// program stays as it is.
void RefreshTemplates(const QString &dataFolder, Amount storedVersion);

// The same for the working context's data folder: reads the version stored under
// "SERVER"/"Versiune" of "Focaris.set", stores kTemplatesVersion there, and refreshes.
void UpgradeTemplates();

} // namespace focaris
