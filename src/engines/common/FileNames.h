// Finding files the way Windows does: data folders and archives made on Windows hold
// names such as CERERI.DBF or Log.dbf while the program asks for "Cereri.dbf".
#pragma once

#include <filesystem>

namespace focaris::files {

// Returns the path of an existing file or folder whose name equals the last part of
// `path` without regard to ASCII case, looked up in its parent folder (the parent itself
// resolved the same way). When the exact name exists it is returned unchanged; when no
// such entry exists the path is returned as given, so that a new file gets the name as
// written.
std::filesystem::path resolveCaseInsensitive(const std::filesystem::path &path);

} // namespace focaris::files
