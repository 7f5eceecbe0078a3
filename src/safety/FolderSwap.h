// Replacing the files of the data folder with those of a restored archive so that a
// process ended at any moment (a power cut, a dropped network folder) leaves either the
// old files or the new ones, and the scratch files the program's writes leave behind when
// they are cut short, recognised and removed.
#pragma once

#include <QString>

namespace focaris {

// True when the unpacked folder holds the program's tables ("Cereri.dbf" and
// "Oameni.dbf", names compared without regard to case) and both can be read to the end.
bool HoldsProgramTables(const QString &folder);

// Puts the files of `unpacked` in place of the files of the data folder `data`; the
// replaced files go to `bak` ("DataBAK"). The new files are first copied into `data` under
// fresh scratch names and the old ones into a fresh folder beside `bak`, all flushed to
// the disk; then a journal of the swap is committed in `data`, and only then are the
// scratch files renamed over the old ones, the old files the archive does not hold
// removed, and the previous DataBAK replaced by the new one. A process ended before the
// journal leaves the old data (the scratch files are leftovers); ended after it, the swap
// is finished by FinishInterruptedRestore. False, with the old data in place, when the
// copies could not be made.
bool SwapDataFiles(const QString &unpacked, const QString &data, const QString &bak);

// Finishes a swap that a journal in `data` shows was committed but not completed. Run by
// every start before anything reads the folder, and by a restore before its own swap.
void FinishInterruptedRestore(const QString &data);

// True for the name of a scratch file that one of the program's writes makes beside its
// target in the data folder or the program folder, and that only a write cut short leaves
// behind: the restore's scratch files and journal (and the ".restore-N.tmp" of earlier
// versions), a settings file written beside itself, a table being created or rebuilt, an
// archive being copied over another.
bool IsScratchFileName(const QString &name);

// What the start-up does before anything reads the folders: an interrupted restore is
// finished, the scratch files of interrupted writes are removed from the data folder (the
// local one too in network work) and the program folder, and so are the scratch folders
// of an interrupted DataBAK replacement and the unfinished copies in the automatic-save
// folder. Returns how many leftovers were removed.
int RemoveLeftovers();

} // namespace focaris
