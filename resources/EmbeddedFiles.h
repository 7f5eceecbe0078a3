// Registers the program's embedded files with Qt's resource system. The files are
// compiled into the static library focaris_resources; a static library's resources are
// only linked in when something calls their registration, so every look-up goes through
// ensureRegistered() first (it is cheap and idempotent).
#pragma once

namespace focaris::resources {

// Makes the embedded files visible under ":/focaris/TYPE/NAME.ext".
void ensureRegistered();

// Root of the embedded files in Qt's resource file system.
inline constexpr const char *kRoot = ":/focaris";
// A resource listing "TYPE/NAME.ext" of every file still served by a placeholder.
inline constexpr const char *kPlaceholderList = ":/focaris/placeholders.txt";

} // namespace focaris::resources
