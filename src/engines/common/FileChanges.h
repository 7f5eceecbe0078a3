// The one place every change the program makes to a file passes: the writes, truncations,
// renames and deletions of the dBase writer, the settings writer, the archive writer and
// the folder operations of the save and restore. It flushes files and folders after a
// committing rename, and it carries the crash point the crash tests use.
#pragma once

#include <filesystem>

namespace focaris::files {

// Called just before a file is written, truncated, renamed or deleted. In the program it
// only counts. The crash tests set two variables of the environment:
//   FOCARIS_CRASH_AT=N       the process ends at once (_exit, no clean-up of any kind) at
//                            the N-th change, before that change is made;
//   FOCARIS_CRASH_COUNT=FILE the number of changes made is written to FILE when the
//                            process ends normally;
// and FOCARIS_CRASH_ROOT (folders separated by ':') limits the count to the changes of
// files inside those folders (the data folder, the program folder, the save folder).
void beforeChange(const std::filesystem::path &file);

// Flushes an open file to the disk (fsync); false when the system reports a failure.
bool syncFile(int fd);
// Flushes a folder's entries (a rename or a new file in it) to the disk; a folder that
// cannot be opened or flushed (some network file systems) is ignored.
void syncFolder(const std::filesystem::path &folder);
// Flushes the file at `path` (opened for the flush) and gives whether that worked.
bool syncPath(const std::filesystem::path &path);

// Renames `from` over `to` as the last step of a write beside the target: the file is
// flushed first, the folder after. False when the rename failed.
bool commitRename(const std::filesystem::path &from, const std::filesystem::path &to);

} // namespace focaris::files
