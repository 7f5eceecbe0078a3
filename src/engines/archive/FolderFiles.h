// Folder helpers of the save and restore: which files a folder holds, emptying a folder,
// and the copy-then-delete move used by the automatic save.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace focaris::archive {

// Full paths of the non-empty regular files directly inside `folder` (hidden files
// included, subfolders and links to folders left out), in the order the folder listing
// returns them. An unreadable or missing folder gives an empty list.
std::vector<std::filesystem::path> listFiles(const std::filesystem::path &folder);

// Deletes every file directly inside `folder`; subfolders stay. Returns false when a
// file could not be deleted.
bool clearFolder(const std::filesystem::path &folder);

// Copies `source` to `target` (created or overwritten) and then deletes the source.
// When the source cannot be opened, the target cannot be written or the copy is short,
// nothing is deleted, an existing target is left as it was, and the result is false.
bool copyAndErase(const std::filesystem::path &source, const std::filesystem::path &target);

// True for the name of a copy that copyAndErase left unfinished (the process ended
// during the copy): ".NAME.part.XXXXXX", or "NAME.T21.part" of earlier versions.
bool isCopyLeftover(const std::string &name);

} // namespace focaris::archive
