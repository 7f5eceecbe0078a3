// Detection of files held by other programs; see FileInUse.h.
#include "engines/common/FileInUse.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <system_error>

namespace focaris::files {
namespace fs = std::filesystem;

namespace {

// LibreOffice (and OpenOffice) write ".~lock.NAME#" next to every document they open.
bool hasOfficeLockFile(const fs::path &path)
{
    std::error_code ec;
    fs::path lock = path.parent_path() / (".~lock." + path.filename().string() + "#");
    return fs::exists(lock, ec);
}

// A lock taken by another process: a POSIX record lock anywhere in the file (reported by
// F_GETLK) or a whole-file flock (our probe for an exclusive one fails).
bool hasForeignLock(const fs::path &path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    bool locked = false;
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0;
    if (::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK)
        locked = true;
    if (!locked) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::flock(fd, LOCK_UN);
        else if (errno == EWOULDBLOCK)
            locked = true;
    }
    ::close(fd);
    return locked;
}

bool isReadOnly(const fs::path &path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    return S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0;
}

} // namespace

bool isFileInUse(const fs::path &path)
{
    std::error_code ec;
    if (!fs::exists(path, ec))
        return false;
    return hasOfficeLockFile(path) || hasForeignLock(path);
}

bool deleteUnlessInUse(const fs::path &path)
{
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec)))
        return true;
    if (isFileInUse(path) || isReadOnly(path))
        return false;
    fs::remove(path, ec);
    return !fs::exists(fs::symlink_status(path, ec));
}

} // namespace focaris::files
