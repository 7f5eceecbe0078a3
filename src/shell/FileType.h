// Registration of the save-archive type ".T21" with the desktop for the current user: a
// MIME type, a desktop entry that opens such a file with the program, and the program as
// the type's default application. Opening a ".T21" then starts the program with the file
// as its first parameter.
#pragma once

#include <QString>

namespace focaris::shell {

inline constexpr const char *kSaveMimeType = "application/x-focaris-save";

// The user's data folder for desktop files: $XDG_DATA_HOME, else ~/.local/share.
QString UserDataHome();

// True when the desktop entry already opens ".T21" files with `executable`.
bool FileTypeRegistered(const QString &executable);

// Writes the MIME type and the desktop entry (when not already done for `executable`)
// and asks the desktop databases to refresh, without waiting. Returns false when a file
// could not be written; the start-up ignores the result.
bool RegisterFileType(const QString &executable, const QString &iconFile);

} // namespace focaris::shell
