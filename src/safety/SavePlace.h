// Where a save archive may not be written: into the data folder (the next save would carry
// the archive inside itself, and a restore would overwrite it), into the temporary folder
// (deleted when the program ends) or into "DataBAK" (emptied by the next restore). The
// check looks at the real place of the folder, whatever the spelling of its path.
#pragma once

#include <QString>

namespace focaris {

// The path with every symbolic link of its existing part resolved, "." and ".." removed
// and no trailing separator; the part that does not exist yet is kept as written.
QString RealPath(const QString &path);

// True when `folder` is, or lies inside, the data folder (shared or local), the temporary
// folder, ProgramFolder/Temp or ProgramFolder/DataBAK. Compared without regard to case, as the office's
// Windows installations compared these paths.
bool ForbiddenSavePlace(const QString &folder);

} // namespace focaris
