// Counting the changes to files, the test crash point, and the flushes.
#include "engines/common/FileChanges.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <string>
#include <unistd.h>
#include <vector>

namespace focaris::files {
namespace fs = std::filesystem;
namespace {

struct CrashPlan {
    long long crashAt = 0; // 0: never
    std::string countFile; // empty: the count is not reported
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

namespace {

const char kNotePrefix[] = ".Focaris.output.";

bool scratchShaped(const fs::path &p)
{
    const std::string name = p.filename().string();
    return name.size() > 1 && name[0] == '.' && name != "..";
}

bool writeAll(int fd, const std::string &text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

std::string absoluteText(const fs::path &p)
{
    std::error_code ec;
    const fs::path a = fs::absolute(p, ec);
    return (ec ? p : a).lexically_normal().string();
}

void removeQuietly(const fs::path &p)
{
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(p, ec)))
        return;
    beforeChange(p);
    fs::remove_all(p, ec);
}

} // namespace

OutsideWrite::OutsideWrite(const fs::path &noteFolder, const fs::path &target) : folder_(noteFolder), target_(target) {}

OutsideWrite::~OutsideWrite()
{
    if (note_.empty())
        return;
    beforeChange(note_);
    std::error_code ec;
    fs::remove(note_, ec);
}

void OutsideWrite::note(const std::vector<fs::path> &scratch, const fs::path &aside)
{
    if (folder_.empty() || !note_.empty())
        return;
    std::string text = "T " + absoluteText(target_) + "\n";
    if (!aside.empty())
        text += "A " + absoluteText(aside) + "\n";
    for (const auto &p : scratch)
        text += "S " + absoluteText(p) + "\n";
    // A path that cannot be written on one line is not noted: the write goes on as before.
    if (std::count(text.begin(), text.end(), '\n') != long(scratch.size() + 1 + (aside.empty() ? 0 : 1)))
        return;
    text += "end\n";
    std::string name = (folder_ / kNotePrefix).string() + "XXXXXX";
    beforeChange(name);
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return;
    const bool ok = writeAll(fd, text) && syncFile(fd);
    ::close(fd);
    if (!ok) {
        ::unlink(name.c_str());
        return;
    }
    syncFolder(folder_);
    note_ = name;
}

int RecoverOutsideWrites(const fs::path &noteFolder)
{
    std::vector<fs::path> notes;
    std::error_code ec;
    for (fs::directory_iterator it(noteFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string n = it->path().filename().string();
        if (n.size() == sizeof(kNotePrefix) - 1 + 6 && n.compare(0, sizeof(kNotePrefix) - 1, kNotePrefix) == 0)
            notes.push_back(it->path());
    }
    for (const auto &notePath : notes) {
        std::ifstream in(notePath);
        std::string line;
        fs::path target, aside;
        std::vector<fs::path> scratch;
        bool complete = false;
        while (std::getline(in, line)) {
            if (line == "end") {
                complete = true;
                break;
            }
            if (line.size() < 3 || line[1] != ' ')
                break;
            const fs::path p = line.substr(2);
            if (line[0] == 'T')
                target = p;
            else if (line[0] == 'A')
                aside = p;
            else if (line[0] == 'S')
                scratch.push_back(p);
        }
        in.close();
        // An incomplete note was cut short before anything it names was made.
        if (complete && !target.empty()) {
            std::error_code e;
            if (!aside.empty() && scratchShaped(aside) && fs::exists(aside, e) &&
                !fs::exists(fs::symlink_status(target, e))) {
                beforeChange(target);
                if (::rename(aside.c_str(), target.c_str()) == 0)
                    syncFolder(target.parent_path());
            }
            if (!aside.empty() && scratchShaped(aside))
                removeQuietly(aside);
            for (const auto &p : scratch)
                if (scratchShaped(p))
                    removeQuietly(p);
        }
        beforeChange(notePath);
        fs::remove(notePath, ec);
    }
    return int(notes.size());
}

} // namespace focaris::files
