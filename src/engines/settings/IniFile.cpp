// Windows INI files read and written one value at a time (see IniFile.h). The parser works
// on the Windows-1250 bytes of the file; names are compared after folding the case of
// ASCII and of the Windows-1250 letters, so that "Setari", "SETARI" and "setari" are one
// section and locality names with diacritics match as Windows matches them.
#include "engines/settings/IniFile.h"

#include "engines/common/ByteLock.h"
#include "engines/common/Codepage.h"
#include "engines/common/FileChanges.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace focaris::ini {
namespace {

namespace fs = std::filesystem;

// Upper case of one Windows-1250 byte: ASCII letters, the lower-case letters of the upper
// half (0xE0..0xFE except ÷) and the scattered pairs below 0xE0.
unsigned char foldByte(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return c - 32;
    if (c >= 0xE0 && c != 0xF7 && c != 0xFF)
        return c - 32;
    switch (c) {
    case 0x9A: return 0x8A; // š
    case 0x9C: return 0x8C; // ś
    case 0x9D: return 0x8D; // ť
    case 0x9E: return 0x8E; // ž
    case 0x9F: return 0x8F; // ź
    case 0xB3: return 0xA3; // ł
    case 0xB9: return 0xA5; // ą
    case 0xBA: return 0xAA; // ş
    case 0xBE: return 0xBC; // ľ
    case 0xBF: return 0xAF; // ż
    default: return c;
    }
}

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldByte(static_cast<unsigned char>(a[i])) != foldByte(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && (isBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

enum class Kind { Other, Section, Key };

// One line of the file: where its text starts and ends (without the line break) and
// where the next line starts.
struct Line {
    std::size_t begin, end, next;
    Kind kind = Kind::Other;
    std::string_view name, value;
};

std::vector<Line> splitLines(std::string_view bytes)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t nl = bytes.find('\n', pos);
        std::size_t next = nl == std::string_view::npos ? bytes.size() : nl + 1;
        std::size_t end = nl == std::string_view::npos ? bytes.size() : nl;
        if (end > pos && bytes[end - 1] == '\r')
            --end;
        Line line{pos, end, next, Kind::Other, {}, {}};
        std::string_view text = trim(bytes.substr(pos, end - pos));
        if (!text.empty() && text.front() == '[') {
            std::size_t close = text.find(']');
            line.kind = Kind::Section;
            line.name = trim(text.substr(1, close == std::string_view::npos ? text.npos : close - 1));
        } else if (!text.empty() && text.front() != ';') {
            std::size_t eq = text.find('=');
            if (eq != std::string_view::npos && eq > 0) {
                line.kind = Kind::Key;
                line.name = trim(text.substr(0, eq));
                line.value = trim(text.substr(eq + 1));
                if (line.name.empty())
                    line.kind = Kind::Other;
            }
        }
        lines.push_back(line);
        pos = next;
    }
    return lines;
}

// Lines [first, last) of the first section of that name: first is the header's index.
struct SectionRange {
    std::size_t header, last;
};

std::optional<SectionRange> findSection(const std::vector<Line> &lines, std::string_view name)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != Kind::Section || !sameName(lines[i].name, name))
            continue;
        std::size_t j = i + 1;
        while (j < lines.size() && lines[j].kind != Kind::Section)
            ++j;
        return SectionRange{i, j};
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<Line> &lines, SectionRange range, std::string_view key)
{
    for (std::size_t i = range.header + 1; i < range.last; ++i)
        if (lines[i].kind == Kind::Key && sameName(lines[i].name, key))
            return i;
    return std::nullopt;
}

// Names and values as bytes of the file: Windows-1250, with line breaks turned into
// blanks so that a value can never add lines of its own.
std::string toDisk(std::string_view utf8)
{
    std::string bytes = text::utf8ToCp1250(utf8);
    for (char &c : bytes)
        if (c == '\r' || c == '\n')
            c = ' ';
    return bytes;
}

bool enclosedInQuotes(std::string_view v)
{
    return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

std::string_view unquote(std::string_view v)
{
    if (enclosedInQuotes(v))
        return v.substr(1, v.size() - 2);
    return v;
}

std::string readAll(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return {};
    std::string bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>{});
    if (!isSettingsText(bytes))
        throw ForeignFile(file);
    return bytes;
}

[[noreturn]] void fail(const fs::path &file, const char *what)
{
    throw std::runtime_error(std::string("cannot ") + what + " " + file.string() + ": " + std::strerror(errno));
}

std::string readFd(int fd, const fs::path &file)
{
    std::string bytes;
    char buf[65536];
    off_t offset = 0;
    for (;;) {
        ssize_t n = ::pread(fd, buf, sizeof buf, offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(file, "read");
        }
        if (n == 0)
            break;
        bytes.append(buf, std::size_t(n));
        offset += n;
    }
    return bytes;
}

// Writes `bytes` to a new file beside `file` and renames it over `file`.
void replaceFile(const fs::path &file, const std::string &bytes, mode_t mode)
{
    std::string pattern = (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
    files::beforeChange(file.parent_path() / ("." + file.filename().string() + ".XXXXXX"));
    int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        fail(file, "write");
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ok = false;
        else
            done += std::size_t(n);
    }
    ok = ok && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    int saved = errno;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        files::beforeChange(file);
    if (ok && ::rename(pattern.c_str(), file.c_str()) == 0) {
        files::syncFolder(file.parent_path());
        return;
    }
    saved = saved ? saved : errno;
    ::unlink(pattern.c_str());
    errno = saved;
    fail(file, "write");
}

// The byte every writer of a settings file locks, far beyond the end of any settings file:
// a lock there never keeps a reader from the file's contents, also on a Windows share where
// byte-range locks are mandatory, and every computer on the share locks the same byte.
constexpr off_t kSettingsLockOffset = 0x7FFFFFF0;
// A writer waits this long for another's read-modify-write (a few file operations).
constexpr int kSettingsLockWaitMs = 20000;

int setRangeLock(int fd, bool &ofd, short type)
{
    return files::LockByte(fd, kSettingsLockOffset, type, ofd);
}

// Takes the exclusive byte-range lock of the open settings file, waiting for another
// writer to finish; throws when it stays held or the file system refuses locks.
void lockExclusive(int fd, bool &ofd, const fs::path &file)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kSettingsLockWaitMs);
    int sleepUs = 200;
    for (;;) {
        if (setRangeLock(fd, ofd, F_WRLCK) == 0)
            return;
        if (errno != EAGAIN && errno != EACCES && errno != EINTR)
            fail(file, "lock");
        if (std::chrono::steady_clock::now() >= deadline)
            throw std::runtime_error("cannot lock " + file.string() + ": held by another process");
        std::this_thread::sleep_for(std::chrono::microseconds(sleepUs));
        sleepUs = std::min(sleepUs * 2, 20000);
    }
}

// Runs a read-modify-write of the file under the exclusive byte-range lock of the settings
// file itself. Because a write renames a new file over the old one, a process that waited
// for the lock may hold it on a file that is no longer the one under that name; it then
// starts again on the current file. The file is created empty when missing, so that there
// is something to lock.
template <typename Change>
void modify(const fs::path &given, Change change)
{
    std::error_code ec;
    fs::path file = fs::is_symlink(given, ec) ? fs::canonical(given, ec) : given;
    if (ec)
        file = given;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0)
            fail(file, "write");
        bool ofd = true;
        try {
            lockExclusive(fd, ofd, file);
        } catch (...) {
            ::close(fd);
            throw;
        }
        struct stat held {
        }, named{};
        if (::fstat(fd, &held) != 0 || ::stat(file.c_str(), &named) != 0 || held.st_ino != named.st_ino ||
            held.st_dev != named.st_dev) {
            ::close(fd);
            continue;
        }
        try {
            std::string before = readFd(fd, file);
            if (!isSettingsText(before))
                throw ForeignFile(file);
            std::string after = change(before);
            if (after != before)
                replaceFile(file, after, held.st_mode & 07777);
        } catch (...) {
            ::close(fd);
            throw;
        }
        // Closing the descriptor releases the lock (both kinds of lock end with it).
        ::close(fd);
        return;
    }
    throw std::runtime_error("cannot lock " + file.string());
}

} // namespace

std::optional<std::string> readValueFrom(std::string_view bytes, std::string_view section, std::string_view key)
{
    const std::string s = toDisk(section), k = toDisk(key);
    auto lines = splitLines(bytes);
    auto range = findSection(lines, trim(s));
    if (!range)
        return std::nullopt;
    auto at = findKey(lines, *range, trim(k));
    if (!at)
        return std::nullopt;
    return text::cp1250ToUtf8(unquote(lines[*at].value));
}

std::string withValue(std::string_view bytes, std::string_view section, std::string_view key, std::string_view value)
{
    const std::string s = toDisk(section), k = toDisk(key);
    std::string v = toDisk(value);
    // A value the reader would change (blanks at either end, or a pair of quotes around
    // it) is written inside double quotes, which the reader, like Windows, drops again.
    if (!v.empty() && (isBlank(v.front()) || isBlank(v.back()) || enclosedInQuotes(v)))
        v = '"' + v + '"';
    const std::string_view sName = trim(s), kName = trim(k);
    // Names that could not be read back as the same section and key are refused.
    if (sName.empty() || sName.find(']') != sName.npos)
        throw std::invalid_argument("invalid section name [" + s + "]");
    if (kName.empty() || kName.find('=') != kName.npos || kName.front() == '[' || kName.front() == ';')
        throw std::invalid_argument("invalid key name '" + k + "'");
    auto lines = splitLines(bytes);
    std::string out;
    out.reserve(bytes.size() + kName.size() + v.size() + sName.size() + 8);
    auto range = findSection(lines, sName);
    if (!range) {
        out.append(bytes);
        if (!out.empty() && out.back() != '\n')
            out += "\r\n";
        out += "[" + std::string(sName) + "]\r\n" + std::string(kName) + "=" + v + "\r\n";
        return out;
    }
    if (auto at = findKey(lines, *range, kName)) {
        // The line keeps its indentation, its key as written in the file and its own
        // line break.
        const Line &line = lines[*at];
        const std::size_t nameEnd = std::size_t(line.name.data() - bytes.data()) + line.name.size();
        out.append(bytes.substr(0, nameEnd));
        out += "=" + v;
        out.append(bytes.substr(line.end));
        return out;
    }
    // A new key goes after the section's last line that is not blank.
    std::size_t after = range->header;
    for (std::size_t i = range->header + 1; i < range->last; ++i)
        if (!trim(bytes.substr(lines[i].begin, lines[i].end - lines[i].begin)).empty())
            after = i;
    const Line &line = lines[after];
    out.append(bytes.substr(0, line.next));
    if (line.next == bytes.size() && bytes.back() != '\n') // last line without a line break
        out += "\r\n";
    out += std::string(kName) + "=" + v + "\r\n";
    out.append(bytes.substr(line.next));
    return out;
}

std::string withoutSection(std::string_view bytes, std::string_view section)
{
    const std::string s = toDisk(section);
    auto lines = splitLines(bytes);
    auto range = findSection(lines, trim(s));
    if (!range)
        return std::string(bytes);
    std::size_t from = lines[range->header].begin;
    std::size_t to = range->last < lines.size() ? lines[range->last].begin : bytes.size();
    return std::string(bytes.substr(0, from)) + std::string(bytes.substr(to));
}

std::string withoutKey(std::string_view bytes, std::string_view section, std::string_view key)
{
    const std::string s = toDisk(section), k = toDisk(key);
    auto lines = splitLines(bytes);
    auto range = findSection(lines, trim(s));
    if (!range)
        return std::string(bytes);
    auto at = findKey(lines, *range, trim(k));
    if (!at)
        return std::string(bytes);
    return std::string(bytes.substr(0, lines[*at].begin)) + std::string(bytes.substr(lines[*at].next));
}

std::vector<std::string> sectionNamesFrom(std::string_view bytes)
{
    std::vector<std::string> names;
    for (const Line &line : splitLines(bytes))
        if (line.kind == Kind::Section)
            names.push_back(text::cp1250ToUtf8(line.name));
    return names;
}

std::vector<std::string> keyNamesFrom(std::string_view bytes, std::string_view section)
{
    const std::string s = toDisk(section);
    std::vector<std::string> names;
    auto lines = splitLines(bytes);
    auto range = findSection(lines, trim(s));
    if (!range)
        return names;
    for (std::size_t i = range->header + 1; i < range->last; ++i)
        if (lines[i].kind == Kind::Key)
            names.push_back(text::cp1250ToUtf8(lines[i].name));
    return names;
}

ForeignFile::ForeignFile(const fs::path &file)
    : std::runtime_error("Fisierul de setari " + file.string() +
                         " nu poate fi citit: nu este scris ca un fisier de setari al programului "
                         "(alta codificare sau alt continut). Nu il folosesc si nu scriu nimic in el."),
      file(file)
{
}

bool isSettingsText(std::string_view bytes)
{
    // Byte-order marks of UTF-8, UTF-16 and UTF-32 (the last two also begin with NUL or
    // with FF FE, caught below).
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF" || bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")
        return false;
    bool blank = true;
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\t' && c != '\r' && c != '\n' && u != 0x1A)
            return false;
        if (!isBlank(c) && c != '\r' && c != '\n' && u != 0x1A)
            blank = false;
    }
    if (blank)
        return true;
    for (const Line &line : splitLines(bytes))
        if (line.kind == Kind::Section)
            return true;
    return false;
}

void requireSettingsFile(const fs::path &file)
{
    (void)readAll(file);
}

std::optional<std::string> readValue(const fs::path &file, std::string_view section, std::string_view key)
{
    return readValueFrom(readAll(file), section, key);
}

std::string readString(const fs::path &file, std::string_view section, std::string_view key, std::string_view def)
{
    auto v = readValue(file, section, key);
    return v ? *v : std::string(def);
}

void writeValue(const fs::path &file, std::string_view section, std::string_view key, std::string_view value)
{
    (void)withValue({}, section, key, value); // refuses bad names before the file is touched
    modify(file, [&](const std::string &bytes) { return withValue(bytes, section, key, value); });
}

std::optional<std::string> updateValue(const fs::path &file, std::string_view section, std::string_view key,
                                       const std::function<std::string(const std::optional<std::string> &)> &next)
{
    (void)withValue({}, section, key, {}); // refuses bad names before the file is touched
    std::optional<std::string> old;
    modify(file, [&](const std::string &bytes) {
        old = readValueFrom(bytes, section, key);
        return withValue(bytes, section, key, next(old));
    });
    return old;
}

void eraseSection(const fs::path &file, std::string_view section)
{
    std::error_code ec;
    if (!fs::exists(file, ec))
        return;
    modify(file, [&](const std::string &bytes) { return withoutSection(bytes, section); });
}

void eraseKey(const fs::path &file, std::string_view section, std::string_view key)
{
    std::error_code ec;
    if (!fs::exists(file, ec))
        return;
    modify(file, [&](const std::string &bytes) { return withoutKey(bytes, section, key); });
}

std::vector<std::string> sectionNames(const fs::path &file)
{
    return sectionNamesFrom(readAll(file));
}

std::vector<std::string> keyNames(const fs::path &file, std::string_view section)
{
    return keyNamesFrom(readAll(file), section);
}

} // namespace focaris::ini
