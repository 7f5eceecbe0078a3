// Folder helpers of the save and restore.
#include "engines/archive/FolderFiles.h"

#include <fstream>

namespace focaris::archive {
namespace fs = std::filesystem;

std::vector<fs::path> listFiles(const fs::path &folder)
{
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code sec;
        if (it->is_regular_file(sec) && it->file_size(sec) > 0 && !sec)
            files.push_back(it->path());
    }
    return files;
}

bool clearFolder(const fs::path &folder)
{
    bool ok = true;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code sec;
        if (!it->is_directory(sec) || it->is_symlink(sec))
            if (!fs::remove(it->path(), sec) || sec)
                ok = false;
    }
    return ok && !ec;
}

bool copyAndErase(const fs::path &source, const fs::path &target)
{
    std::ifstream in(source, std::ios::binary);
    if (!in)
        return false;
    // The copy is written beside the target and renamed over it, so that an existing
    // target (an archive opened for work and saved back) is never left half-overwritten.
    fs::path partial = target;
    partial += ".part";
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    std::vector<char> buf(64 * 1024);
    while (in) {
        in.read(buf.data(), std::streamsize(buf.size()));
        out.write(buf.data(), in.gcount());
        if (!out)
            break;
    }
    out.close();
    std::error_code ec;
    if (in.bad() || !out) {
        fs::remove(partial, ec);
        return false;
    }
    fs::rename(partial, target, ec);
    if (ec) {
        fs::remove(partial, ec);
        return false;
    }
    in.close();
    fs::remove(source, ec);
    return true;
}

} // namespace focaris::archive
