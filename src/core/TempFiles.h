// Temporary files and folders of the run, all below TempFolder (deleted when the program
// ends), and the "cannot be deleted" test the program uses where Windows would refuse to
// delete a file another program holds open.
#pragma once

#include <QString>

namespace focaris {

// True when another program holds the file, as files::isFileInUse decides (a LibreOffice
// lock file beside it, a lock held on it, or the file marked read-only).
bool FileInUse(const QString &path);
// Deletes a file unless it is in use; true when it is gone afterwards (also when it never
// existed).
bool TryDeleteFile(const QString &path);

// TempFolder/TmpFoc/<prefix><n><extension> for the first n from 0 whose file is absent or
// could be deleted; the TmpFoc folder is made when missing. Empty when no n below 1000
// qualifies. The file itself is not created. The extension is appended as given (".rtf").
QString NewTempFile(const QString &prefix, const QString &extension);
// A name for a document shown to the person: <base><n><extension> for the first n below
// `limit` with no file yet, so that a print never replaces the one before it (which may
// still be open or not yet saved); when every name is taken, the first whose file could
// be deleted. The folder of `base` is made when missing. Empty when none qualifies.
QString NewDocumentFile(const QString &base, const QString &extension, int limit = 1000);
// TempFolder/<prefix><n> for the first n below 100 that is absent or could be deleted,
// created with its parents. Empty when none qualifies or it cannot be made.
QString NewTempFolder(const QString &prefix);
// ProgramFolder/TMP<n>, chosen and created the same way: the database engine's private
// folder for its temporary files.
QString NewSessionFolder();
// Deletes a folder and everything in it; true on success. When any file below it is in
// use nothing is deleted and the result is false; a folder that does not exist gives false.
bool DeleteFolder(const QString &path);

} // namespace focaris
