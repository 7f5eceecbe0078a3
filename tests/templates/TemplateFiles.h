// Where the checks find the built-in files: the committed resources of the source tree
// (resources/files/<TYPE>/<NAME>.<ext>), which the build compiles into the program.
#pragma once

#include <filesystem>

namespace focaris::test {

inline std::filesystem::path resourceFiles()
{
    return FOCARIS_RESOURCE_FILES;
}
inline std::filesystem::path modelDir()
{
    return resourceFiles() / "MODEL";
}

} // namespace focaris::test
