// The restore's swap of the data files, its journal, and the removal of the leftovers of
// interrupted writes.
#include "safety/FolderSwap.h"

#include "core/Context.h"
#include "core/Settings.h"
#include "engines/archive/FolderFiles.h"
#include "engines/common/FileChanges.h"
#include "engines/common/FileNames.h"
#include "engines/dbase/DbfTable.h"

#include <QRegularExpression>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace focaris {
namespace fs = std::filesystem;
namespace {

const char *kJournal = ".Focaris.restore.journal";
const char *kScratchPrefix = ".Focaris.restore.";
const char *kJournalHead = "FOCARIS-RESTORE 1";

fs::path toPath(const QString &p)
{
    return fs::path(p.toStdString());
}

// Copies `source` into the open, empty file `fd` and flushes it. False on any failure.
bool copyInto(const fs::path &source, int fd, const fs::path &target)
{
    std::ifstream in(source, std::ios::binary);
    if (!in)
        return false;
    std::vector<char> buf(256 * 1024);
    while (in) {
        in.read(buf.data(), std::streamsize(buf.size()));
        const std::size_t n = std::size_t(in.gcount());
        if (n > 0)
            files::beforeChange(target);
        for (std::size_t done = 0; done < n;) {
            const ssize_t w = ::write(fd, buf.data() + done, n - done);
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                return false;
            done += std::size_t(w);
        }
    }
    return !in.bad() && files::syncFile(fd);
}

// A fresh file `folder`/`prefix`XXXXXX, created exclusively, holding a flushed copy of
// `source`. Empty when it could not be made (nothing is left behind then).
fs::path freshCopy(const fs::path &source, const fs::path &folder, const std::string &prefix)
{
    std::string pattern = (folder / (prefix + "XXXXXX")).string();
    files::beforeChange(pattern);
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return {};
    struct stat st {};
    if (::stat(source.c_str(), &st) == 0)
        ::fchmod(fd, st.st_mode & 0777);
    const bool ok = copyInto(source, fd, pattern);
    if (::close(fd) != 0 || !ok) {
        std::error_code ec;
        files::beforeChange(pattern);
        fs::remove(pattern, ec);
        return {};
    }
    return pattern;
}

void removeFile(const fs::path &file)
{
    std::error_code ec;
    files::beforeChange(file);
    fs::remove(file, ec);
}

void removeTree(const fs::path &folder)
{
    std::error_code ec;
    std::vector<fs::path> inside;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        inside.push_back(it->path());
    for (auto it = inside.rbegin(); it != inside.rend(); ++it)
        removeFile(*it);
    removeFile(folder);
}

// The journal: where the new DataBAK waits, the DataBAK it replaces, the scratch files
// and the names they take, and the old files the archive does not hold.
struct Journal {
    fs::path bakStaging, bak;
    std::vector<std::pair<std::string, std::string>> puts;
    std::vector<std::string> drops;
};

std::string journalText(const Journal &j)
{
    std::string t = std::string(kJournalHead) + "\n";
    t += "bak\t" + j.bakStaging.string() + "\n";
    t += "target\t" + j.bak.string() + "\n";
    for (const auto &[scratch, final] : j.puts)
        t += "put\t" + scratch + "\t" + final + "\n";
    for (const auto &d : j.drops)
        t += "drop\t" + d + "\n";
    t += "end\n";
    return t;
}

// A journal read back; false when it is not complete (it is written beside and renamed
// into place, so that only happens to a file that is not the program's).
bool readJournal(const fs::path &file, Journal &j)
{
    std::ifstream in(file, std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || line != kJournalHead)
        return false;
    while (std::getline(in, line)) {
        if (line == "end")
            return true;
        const auto tab = line.find('\t');
        if (tab == std::string::npos)
            return false;
        const std::string kind = line.substr(0, tab), rest = line.substr(tab + 1);
        if (kind == "bak") {
            j.bakStaging = rest;
        } else if (kind == "target") {
            j.bak = rest;
        } else if (kind == "put") {
            const auto tab2 = rest.find('\t');
            if (tab2 == std::string::npos)
                return false;
            j.puts.emplace_back(rest.substr(0, tab2), rest.substr(tab2 + 1));
        } else if (kind == "drop") {
            j.drops.push_back(rest);
        } else {
            return false;
        }
    }
    return false;
}

bool writeJournal(const fs::path &data, const Journal &j)
{
    const std::string text = journalText(j);
    std::string pattern = (data / (std::string(kScratchPrefix) + "XXXXXX")).string();
    files::beforeChange(pattern);
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return false;
    bool ok = true;
    files::beforeChange(pattern);
    for (std::size_t done = 0; ok && done < text.size();) {
        const ssize_t w = ::write(fd, text.data() + done, text.size() - done);
        if (w < 0 && errno == EINTR)
            continue;
        ok = w > 0;
        if (ok)
            done += std::size_t(w);
    }
    ok = ok && files::syncFile(fd);
    ok = ::close(fd) == 0 && ok;
    if (ok && files::commitRename(pattern, data / kJournal))
        return true;
    removeFile(pattern);
    return false;
}

// DataBAK replaced by the folder that waits beside it: the previous one is renamed out of
// the way first and removed only once the new one carries the name.
bool replaceBak(const fs::path &staging, const fs::path &bak)
{
    std::error_code ec;
    if (!fs::is_directory(staging, ec))
        return true; // already in place
    fs::path old;
    if (fs::exists(bak, ec)) {
        std::string pattern = bak.string() + ".old.XXXXXX";
        if (!::mkdtemp(pattern.data()))
            return false;
        old = pattern;
        files::beforeChange(bak);
        if (::rename(bak.c_str(), old.c_str()) != 0) {
            removeFile(old);
            return false;
        }
    }
    files::beforeChange(bak);
    if (::rename(staging.c_str(), bak.c_str()) != 0)
        return false;
    files::syncFolder(bak.parent_path());
    if (!old.empty())
        removeTree(old);
    return true;
}

// Completes a committed swap; every step may already have been done by an earlier try.
// False when a step failed: the journal then stays for the next try.
bool finishSwap(const fs::path &data, const Journal &j)
{
    std::error_code ec;
    std::set<std::string> finals;
    for (const auto &[scratch, final] : j.puts) {
        finals.insert(final);
        const fs::path from = data / scratch;
        if (fs::exists(from, ec) && !files::commitRename(from, data / final))
            return false;
    }
    for (const auto &name : j.drops)
        if (!finals.count(name) && fs::exists(data / name, ec))
            removeFile(data / name);
    files::syncFolder(data);
    if (!j.bakStaging.empty() && !replaceBak(j.bakStaging, j.bak))
        return false;
    removeFile(data / kJournal);
    files::syncFolder(data);
    return true;
}

bool journalPending(const fs::path &data)
{
    std::error_code ec;
    return fs::exists(data / kJournal, ec);
}

// Removes the scratch files of interrupted writes directly inside `folder`.
int removeScratchFiles(const fs::path &folder)
{
    int removed = 0;
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code sec;
        if (it->is_regular_file(sec) && IsScratchFileName(QString::fromStdString(it->path().filename().string())))
            found.push_back(it->path());
    }
    for (const auto &f : found) {
        removeFile(f);
        ++removed;
    }
    return removed;
}

// The folders an interrupted DataBAK replacement leaves beside DataBAK: a new one that
// never got the name is thrown away; an old one is thrown away once DataBAK exists, and
// otherwise takes the name back.
int removeBakLeftovers(const fs::path &programFolder)
{
    int removed = 0;
    const fs::path bak = files::resolveCaseInsensitive(programFolder / "DataBAK");
    const std::string name = bak.filename().string();
    std::vector<fs::path> news, olds;
    std::error_code ec;
    for (fs::directory_iterator it(programFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string n = it->path().filename().string();
        if (n.size() == name.size() + 11 && n.compare(0, name.size(), name) == 0) {
            if (n.compare(name.size(), 5, ".new.") == 0)
                news.push_back(it->path());
            else if (n.compare(name.size(), 5, ".old.") == 0)
                olds.push_back(it->path());
        }
    }
    for (const auto &f : news) {
        removeTree(f);
        ++removed;
    }
    for (const auto &f : olds) {
        if (!fs::exists(bak, ec)) {
            files::beforeChange(bak);
            if (::rename(f.c_str(), bak.c_str()) == 0)
                continue;
        }
        removeTree(f);
        ++removed;
    }
    return removed;
}

} // namespace

bool HoldsProgramTables(const QString &folder)
{
    for (const char *name : {"Cereri.dbf", "Oameni.dbf"}) {
        const fs::path table = files::resolveCaseInsensitive(toPath(folder) / name);
        std::error_code ec;
        if (!fs::is_regular_file(table, ec))
            return false;
        try {
            dbf::DbfTable t(table, true);
            t.readAll();
        } catch (const std::exception &) {
            return false;
        }
    }
    return true;
}

bool IsScratchFileName(const QString &name)
{
    static const QRegularExpression patterns(
        QStringLiteral("^(\\.restore-\\d+\\.tmp"       // the restore of earlier versions
                       "|\\.Focaris\\.restore\\..+"    // the restore's scratch files and journal
                       "|\\..+\\.set\\.[A-Za-z0-9]{6}" // a settings file written beside itself
                       "|\\..+\\.dbf\\.(new|rebuild)"  // a table being created or rebuilt
                       "|\\.~.+\\.part)$"),            // a document (an inquiry) being written
        QRegularExpression::CaseInsensitiveOption);
    return patterns.match(name).hasMatch() || archive::isCopyLeftover(name.toStdString());
}

bool SwapDataFiles(const QString &unpackedFolder, const QString &dataFolder, const QString &bakFolder)
{
    const fs::path unpacked = toPath(unpackedFolder), data = toPath(dataFolder), bak = toPath(bakFolder);
    // What an earlier restore cut short left behind goes first, so that its scratch files
    // are neither taken for data files nor carried into DataBAK.
    FinishInterruptedRestore(dataFolder);
    if (journalPending(data))
        return false;
    removeScratchFiles(data);
    removeBakLeftovers(bak.parent_path());

    Journal j;
    j.bak = bak;
    std::vector<fs::path> made;
    auto dropMade = [&] {
        for (auto it = made.rbegin(); it != made.rend(); ++it) {
            std::error_code ec;
            if (fs::is_directory(*it, ec))
                removeTree(*it);
            else
                removeFile(*it);
        }
        return false;
    };
    // Something other than a file where a new file must go would stop the swap half-way.
    for (const auto &file : archive::listFiles(unpacked)) {
        std::error_code ec;
        const auto st = fs::symlink_status(data / file.filename(), ec);
        if (fs::exists(st) && !fs::is_regular_file(st))
            return false;
    }
    // The new files beside the old ones, under fresh names.
    for (const auto &file : archive::listFiles(unpacked)) {
        const fs::path scratch = freshCopy(file, data, kScratchPrefix);
        if (scratch.empty())
            return dropMade();
        made.push_back(scratch);
        j.puts.emplace_back(scratch.filename().string(), file.filename().string());
    }
    files::syncFolder(data);
    // The old files into a fresh folder that becomes DataBAK at the end.
    std::error_code ec;
    fs::create_directories(bak.parent_path(), ec);
    std::string stagingPattern = bak.string() + ".new.XXXXXX";
    if (!::mkdtemp(stagingPattern.data()))
        return dropMade();
    j.bakStaging = stagingPattern;
    made.push_back(j.bakStaging);
    for (const auto &file : archive::listFiles(data)) {
        const std::string name = file.filename().string();
        if (IsScratchFileName(QString::fromStdString(name)))
            continue;
        const fs::path target = j.bakStaging / name;
        files::beforeChange(target);
        const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0)
            return dropMade();
        const bool ok = copyInto(file, fd, target);
        if (::close(fd) != 0 || !ok)
            return dropMade();
        j.drops.push_back(name);
    }
    files::syncFolder(j.bakStaging);
    // The commit: from here on the swap is finished, now or by the next start.
    if (!writeJournal(data, j))
        return dropMade();
    return finishSwap(data, j);
}

void FinishInterruptedRestore(const QString &dataFolder)
{
    const fs::path data = toPath(dataFolder);
    if (!journalPending(data))
        return;
    Journal j;
    if (readJournal(data / kJournal, j))
        finishSwap(data, j);
    else
        removeFile(data / kJournal);
}

int RemoveLeftovers()
{
    int removed = 0;
    // The scratch of reports and exports cut short in folders of the person's choosing,
    // noted in the program folder before they were made.
    if (!ProgramFolder().isEmpty())
        removed += files::RecoverOutsideWrites(toPath(ProgramFolder()));
    std::set<QString> dataFolders{DataFolder(), LocalDataFolder()};
    for (const QString &folder : dataFolders) {
        if (folder.isEmpty())
            continue;
        FinishInterruptedRestore(folder);
        if (!journalPending(toPath(folder)))
            removed += removeScratchFiles(toPath(folder));
    }
    if (!ProgramFolder().isEmpty()) {
        if (!dataFolders.count(ProgramFolder()))
            removed += removeScratchFiles(toPath(ProgramFolder()));
        removed += removeBakLeftovers(toPath(ProgramFolder()));
    }
    const QString saves = ReadMachineSetting(QStringLiteral("CALESALVARI")).trimmed();
    if (!saves.isEmpty() && saves != QStringLiteral("-")) {
        std::vector<fs::path> found;
        std::error_code ec;
        for (fs::directory_iterator it(toPath(saves), ec), end; !ec && it != end; it.increment(ec))
            if (archive::isCopyLeftover(it->path().filename().string()))
                found.push_back(it->path());
        for (const auto &f : found) {
            removeFile(f);
            ++removed;
        }
    }
    return removed;
}

} // namespace focaris
