// The one place every change the program makes to a file passes: the writes, truncations,
// renames and deletions of the dBase writer, the settings writer, the archive writer and
// the folder operations of the save and restore. It flushes files and folders after a
// committing rename, and it carries the crash point the crash tests use.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

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

// A write outside the folders the start-up cleans (a report's output folder, a file the
// person chose): the scratch files and folders it makes beside its target are noted, before
// they are made, in a note of its own inside `noteFolder` (the program folder). A start
// after a crash reads the notes (RecoverOutsideWrites): a target that was moved aside and
// not yet replaced takes its name back, the scratch paths are removed. The note goes when
// the object goes (after the commit, or after the write removed its scratch itself).
// Without a note folder nothing is noted.
class OutsideWrite {
public:
    OutsideWrite(const std::filesystem::path &noteFolder, const std::filesystem::path &target);
    ~OutsideWrite();
    OutsideWrite(const OutsideWrite &) = delete;
    OutsideWrite &operator=(const OutsideWrite &) = delete;

    // Notes the scratch paths (flushed to the disk) before the write makes them; `aside`
    // is where the old target is moved before the new one takes its name (empty: never).
    // A note that cannot be written (a program folder without write rights) does not stop
    // the write: it goes on as it did before notes existed.
    void note(const std::vector<std::filesystem::path> &scratch, const std::filesystem::path &aside = {});

private:
    std::filesystem::path folder_, target_, note_;
};

// What the start-up does with the notes of OutsideWrite in `noteFolder`: each complete
// note's target moved back from aside when it is missing, its scratch paths removed (only
// names of the scratch shape, starting with '.'), the note removed. Returns how many notes
// were handled.
int RecoverOutsideWrites(const std::filesystem::path &noteFolder);

} // namespace focaris::files
