// Case-insensitive look-up of file names; see FileNames.h.
#include "engines/common/FileNames.h"

#include "engines/common/Codepage.h"

#include <system_error>

namespace focaris::files {

namespace fs = std::filesystem;

fs::path resolveCaseInsensitive(const fs::path &path)
{
    std::error_code ec;
    if (path.empty() || fs::exists(path, ec))
        return path;
    fs::path parent = path.parent_path();
    fs::path name = path.filename();
    if (name.empty())
        return path;
    fs::path dir = parent.empty() ? fs::path(".") : resolveCaseInsensitive(parent);
    if (!fs::is_directory(dir, ec))
        return path;
    const std::string wanted = name.string();
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (text::equalsIgnoreAsciiCase(it->path().filename().string(), wanted))
            return parent.empty() ? it->path().filename() : dir / it->path().filename();
    }
    return parent.empty() ? path : dir / name;
}

} // namespace focaris::files
