// Counting the changes to files, the test crash point, and the flushes.
#include "engines/common/FileChanges.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <unistd.h>
#include <vector>

namespace focaris::files {
namespace fs = std::filesystem;
namespace {

struct CrashPlan {
    long long crashAt = 0;       // 0: never
    std::string countFile;       // empty: the count is not reported
    std::vector<std::string> roots;
    long long changes = 0;

    CrashPlan()
    {
        if (const char *at = std::getenv("FOCARIS_CRASH_AT"))
            crashAt = std::atoll(at);
        if (const char *count = std::getenv("FOCARIS_CRASH_COUNT"))
            countFile = count;
        if (const char *roots = std::getenv("FOCARIS_CRASH_ROOT")) {
            std::string all = roots;
            std::size_t start = 0;
            while (start <= all.size()) {
                const std::size_t end = std::min(all.find(':', start), all.size());
                if (end > start)
                    this->roots.push_back(normal(all.substr(start, end - start)));
                start = end + 1;
            }
        }
    }
    ~CrashPlan()
    {
        if (countFile.empty())
            return;
        if (FILE *f = std::fopen(countFile.c_str(), "w")) {
            std::fprintf(f, "%lld\n", changes);
            std::fclose(f);
        }
    }
    static std::string normal(const fs::path &p)
    {
        std::error_code ec;
        fs::path a = fs::absolute(p, ec);
        if (ec)
            a = p;
        std::string s = a.lexically_normal().string();
        while (s.size() > 1 && s.back() == '/')
            s.pop_back();
        return s;
    }
    bool watched(const fs::path &file) const
    {
        if (roots.empty())
            return true;
        const std::string f = normal(file);
        for (const auto &r : roots)
            if (f.size() > r.size() && f.compare(0, r.size(), r) == 0 && f[r.size()] == '/')
                return true;
        return false;
    }
};

CrashPlan &plan()
{
    static CrashPlan p;
    return p;
}

std::mutex &planLock()
{
    static std::mutex m;
    return m;
}

} // namespace

void beforeChange(const fs::path &file)
{
    CrashPlan &p = plan();
    if (p.crashAt == 0 && p.countFile.empty())
        return;
    std::lock_guard<std::mutex> guard(planLock());
    if (!p.watched(file))
        return;
    if (++p.changes == p.crashAt)
        ::_exit(86);
}

bool syncFile(int fd)
{
    for (;;) {
        if (::fsync(fd) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

void syncFolder(const fs::path &folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

bool syncPath(const fs::path &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = syncFile(fd);
    ::close(fd);
    return ok;
}

bool commitRename(const fs::path &from, const fs::path &to)
{
    syncPath(from);
    beforeChange(to);
    if (::rename(from.c_str(), to.c_str()) != 0)
        return false;
    syncFolder(to.parent_path());
    return true;
}

} // namespace focaris::files
