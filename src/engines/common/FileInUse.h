// "Is this file in use by another program?" On Windows a document open in the word
// processor cannot be deleted, and the program relies on that to skip or refuse such
// files. Linux lets anyone delete an open file, so the test is made explicitly here:
// a file counts as in use when LibreOffice's lock file ".~lock.NAME#" lies beside it, or
// when another process holds a lock on it (POSIX record lock or flock).
#pragma once

#include <filesystem>

namespace focaris::files {

// True when the existing file `path` is held by another program (see above). A file that
// does not exist is not in use.
bool isFileInUse(const std::filesystem::path &path);

// Deletes `path` the way the Windows program does: a file in use is left alone, and so is
// a file marked read-only (Windows refuses to delete those too). Returns
// true when no file of that name exists afterwards (also when there was none).
bool deleteUnlessInUse(const std::filesystem::path &path);

} // namespace focaris::files
