// Folder helpers of the save and restore.
#include "engines/archive/FolderFiles.h"

#include "engines/common/FileChanges.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

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
        if (!it->is_directory(sec) || it->is_symlink(sec)) {
            files::beforeChange(it->path());
            if (!fs::remove(it->path(), sec) || sec)
                ok = false;
        }
    }
    return ok && !ec;
}

bool copyAndErase(const fs::path &source, const fs::path &target)
{
    std::ifstream in(source, std::ios::binary);
    if (!in)
        return false;
    // The copy is written beside the target under a fresh name and renamed over it, so
    // that an existing target (an archive opened for work and saved back) is never left
    // half-overwritten, and a leftover of an earlier copy is never taken for this one.
    std::string pattern = (target.parent_path() / ("." + target.filename().string() + ".part.XXXXXX")).string();
    files::beforeChange(pattern);
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return false;
    const fs::path partial = pattern;
    ::fchmod(fd, 0644);
    std::vector<char> buf(64 * 1024);
    bool ok = true;
    while (ok && in) {
        in.read(buf.data(), std::streamsize(buf.size()));
        std::size_t done = 0;
        const std::size_t n = std::size_t(in.gcount());
        if (n > 0)
            files::beforeChange(partial);
        while (ok && done < n) {
            const ssize_t w = ::write(fd, buf.data() + done, n - done);
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                ok = false;
            else
                done += std::size_t(w);
        }
    }
    ok = !in.bad() && ok && files::syncFile(fd);
    ok = ::close(fd) == 0 && ok;
    std::error_code ec;
    if (!ok || !files::commitRename(partial, target)) {
        files::beforeChange(partial);
        fs::remove(partial, ec);
        return false;
    }
    in.close();
    files::beforeChange(source);
    fs::remove(source, ec);
    return true;
}

bool isCopyLeftover(const std::string &name)
{
    const auto endsWith = [&](const std::string &tail) {
        return name.size() > tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
    };
    if (endsWith(".T21.part") || endsWith(".t21.part"))
        return true; // the fixed name earlier versions used
    const auto mark = name.rfind(".part.");
    return !name.empty() && name[0] == '.' && mark != std::string::npos && name.size() - mark == 12;
}

} // namespace focaris::archive
