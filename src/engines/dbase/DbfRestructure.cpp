// Creating tables and rebuilding them (pack, add and drop columns). A rebuilt table is
// written to a file beside the old one and renamed over it: a crash at any moment leaves
// either the complete old table or the complete new one.
#include "engines/dbase/DbfFormat.h"

#include "engines/common/Codepage.h"
#include "engines/common/FileChanges.h"
#include "engines/common/FileNames.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace focaris::dbf {

using namespace detail;
namespace fs = std::filesystem;

static void syncFolder(const fs::path &folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A scratch file beside `target`, removed again unless kept.
class SideFile {
public:
    SideFile(const fs::path &target, const char *suffix, mode_t mode)
        : path_(target.parent_path() / ("." + target.filename().string() + suffix))
    {
        fd_.reset(::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
        if (!fd_.valid())
            failErrno(path_.string(), "the work file cannot be created");
        ::fchmod(fd_.get(), mode);
    }
    ~SideFile()
    {
        if (!kept_) {
            files::beforeChange(path_);
            ::unlink(path_.c_str());
        }
    }
    int fd() const { return fd_.get(); }
    const fs::path &path() const { return path_; }
    void finish()
    {
        if (::fsync(fd_.get()) != 0)
            failErrno(path_.string(), "the work file cannot be saved");
        fd_.reset();
    }
    void keep() { kept_ = true; }

private:
    fs::path path_;
    Fd fd_;
    bool kept_ = false;
};

void DbfTable::create(const fs::path &given, const std::vector<ColumnDef> &columns, const CreateOptions &options)
{
    const fs::path path = files::resolveCaseInsensitive(given);
    const std::string name = path.string();
    std::error_code ec;
    if (fs::exists(path, ec))
        fail(name, "the table already exists");
    std::string bytes = buildHeader(columns, options, name);
    bytes.push_back(0x1A);

    SideFile side(path, ".new", 0666);
    pwriteFull(side.fd(), bytes.data(), bytes.size(), 0, side.path().string());
    side.finish();
    // link() refuses to replace an existing file, so two computers creating the same
    // table at once cannot overwrite each other's; file systems without hard links get
    // an exclusive create instead.
    files::beforeChange(path);
    if (::link(side.path().c_str(), path.c_str()) == 0) {
        syncFolder(path.parent_path());
        return;
    }
    if (errno == EEXIST)
        fail(name, "the table already exists");
    Fd out(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!out.valid()) {
        if (errno == EEXIST)
            fail(name, "the table already exists");
        failErrno(name, "the table cannot be created");
    }
    pwriteFull(out.get(), bytes.data(), bytes.size(), 0, name);
    ::fsync(out.get());
}

namespace {

// How a rebuild turns the old table into the new one.
struct Plan {
    std::string header; // the new header (counts and date filled in at the end)
    int recordLength = 0;
    bool dropDeleted = false;
    // Copies the fields of an old record into a new one (byte 0 already set).
    std::function<void(const unsigned char *, unsigned char *)> copy;
};

DbfTable::RebuildHook &rebuildHook()
{
    static DbfTable::RebuildHook hook;
    return hook;
}

// Opens the table, takes it exclusively, builds the new file and renames it over the old.
DbfTable::PackResult rebuild(const fs::path &given,
                             const std::function<Plan(const Header &, const std::string &)> &plan)
{
    const fs::path path = files::resolveCaseInsensitive(given);
    const std::string name = path.string();
    for (int attempt = 0;; ++attempt) {
        Fd fd(::open(path.c_str(), O_RDWR | O_CLOEXEC));
        if (!fd.valid()) {
            if (errno == ENOENT)
                fail(name, "the table does not exist");
            failErrno(name, "the table cannot be opened");
        }
        RangeLock lock(fd.get(), LockMode::Exclusive, kExclusiveTimeoutMs, name);
        if (!sameFile(fd.get(), path)) {
            if (attempt < 5)
                continue;
            fail(name, "the table keeps being replaced by another process");
        }
        struct stat st {};
        if (::fstat(fd.get(), &st) != 0)
            failErrno(name, "the table cannot be examined");
        const std::uint64_t size = std::uint64_t(st.st_size);
        char prefix[kPrefixLength] = {};
        const std::size_t got = preadFull(fd.get(), prefix, sizeof prefix, 0, name);
        const int headerLength = headerLengthFromPrefix(std::string_view(prefix, got), size, name);
        std::string oldHeader(std::size_t(headerLength), '\0');
        oldHeader.resize(preadFull(fd.get(), oldHeader.data(), oldHeader.size(), 0, name));
        const Header h = parseHeader(oldHeader, size, name);
        if (h.isDbase2())
            fail(name, "dBase II tables cannot be rebuilt");
        Plan p = plan(h, oldHeader);

        SideFile side(path, ".rebuild", st.st_mode & 07777);
        const std::string sideName = side.path().string();
        pwriteFull(side.fd(), p.header.data(), p.header.size(), 0, sideName);
        std::uint64_t out = p.header.size();

        const std::uint32_t count = completeRecords(h, size);
        const std::size_t oldLen = std::size_t(h.recordLength), newLen = std::size_t(p.recordLength);
        const std::size_t perChunk = std::max<std::size_t>(1, (std::size_t(1) << 20) / oldLen);
        std::vector<unsigned char> in(perChunk * oldLen), outBuf;
        outBuf.reserve(perChunk * newLen + 1);
        DbfTable::PackResult result;
        for (std::uint32_t first = 0; first < count;) {
            const std::size_t n = std::min<std::size_t>(perChunk, count - first);
            const std::size_t read = preadFull(fd.get(), in.data(), n * oldLen, h.recordOffset(first), name);
            if (read < n * oldLen)
                fail(name, "the table shrank while it was rebuilt");
            outBuf.clear();
            for (std::size_t k = 0; k < n; ++k) {
                const unsigned char *rec = in.data() + k * oldLen;
                if (p.dropDeleted && rec[0] == '*') {
                    ++result.removed;
                    continue;
                }
                const std::size_t at = outBuf.size();
                outBuf.resize(at + newLen, ' ');
                outBuf[at] = rec[0] == '*' ? '*' : ' ';
                p.copy(rec, outBuf.data() + at);
                ++result.kept;
            }
            pwriteFull(side.fd(), outBuf.data(), outBuf.size(), out, sideName);
            out += outBuf.size();
            first += std::uint32_t(n);
            if (rebuildHook())
                rebuildHook()(first, false);
        }
        const unsigned char eof = 0x1A;
        pwriteFull(side.fd(), &eof, 1, out, sideName);
        unsigned char counts[8] = {};
        stampToday(counts);
        putLe32(counts + 4, result.kept);
        pwriteFull(side.fd(), counts + 1, 7, 1, sideName);
        side.finish();
        if (rebuildHook())
            rebuildHook()(count, true);
        files::beforeChange(path);
        if (::rename(side.path().c_str(), path.c_str()) != 0)
            failErrno(name, "the rebuilt table cannot replace the old one");
        side.keep();
        syncFolder(path.parent_path());
        return result;
    }
}

// The descriptor bytes of a table with 32-byte descriptors.
std::string descriptorBytes(const Header &h, const std::string &header, std::size_t i)
{
    return header.substr(32 + 32 * i, 32);
}

// Assembles a header from the old prefix, a list of descriptors and, for Visual FoxPro,
// the old back-link area.
Plan assemble(const Header &h, const std::string &oldHeader, std::vector<std::string> descriptors,
              const std::string &name)
{
    if (descriptors.empty())
        fail(name, "a table needs at least one column");
    if (descriptors.size() > 255)
        fail(name, "a table may have at most 255 columns");
    const bool vfp = h.isVisualFoxPro();
    std::string backlink;
    if (vfp)
        backlink = oldHeader.substr(std::size_t(h.descriptorsEnd) + 1);
    Plan p;
    p.header = oldHeader.substr(0, 32);
    int offset = 1;
    for (std::string &d : descriptors) {
        auto *b = reinterpret_cast<unsigned char *>(d.data());
        int length = b[16];
        if (b[11] == 'C' && !vfp)
            length += 256 * b[17];
        if (vfp)
            putLe32(b + 12, std::uint32_t(offset));
        offset += length;
        p.header += d;
    }
    if (offset > 65535)
        fail(name, "the record would be longer than 65535 bytes");
    p.header.push_back(0x0D);
    p.header += backlink;
    auto *b = reinterpret_cast<unsigned char *>(p.header.data());
    putLe16(b + 8, std::uint16_t(p.header.size()));
    putLe16(b + 10, std::uint16_t(offset));
    p.recordLength = offset;
    return p;
}

void refuseUnsupported(const Header &h, const std::string &name)
{
    if (h.isDbase7())
        fail(name, "columns of dBase 7 tables cannot be changed");
    if (h.nullFlagsField >= 0)
        fail(name, "columns of Visual FoxPro tables with NULL marks cannot be changed");
}

} // namespace

void DbfTable::setRebuildHook(RebuildHook hook)
{
    rebuildHook() = std::move(hook);
}

DbfTable::PackResult DbfTable::pack(const fs::path &path)
{
    return rebuild(path, [](const Header &h, const std::string &oldHeader) {
        Plan p;
        p.header = oldHeader;
        p.recordLength = h.recordLength;
        p.dropDeleted = true;
        const std::size_t len = std::size_t(h.recordLength);
        p.copy = [len](const unsigned char *in, unsigned char *out) { std::memcpy(out + 1, in + 1, len - 1); };
        return p;
    });
}

void DbfTable::addColumns(const fs::path &path, const std::vector<ColumnDef> &columns)
{
    rebuild(path, [&](const Header &h, const std::string &oldHeader) {
        const std::string name = path.string();
        refuseUnsupported(h, name);
        for (const ColumnDef &c : columns)
            for (const Field &f : h.fields)
                if (text::equalsIgnoreAsciiCase(f.name, c.name))
                    fail(name, "column " + c.name + " exists already");
        CreateOptions options;
        options.layout = h.isVisualFoxPro() ? Layout::VisualFoxPro : Layout::DBase3;
        const std::string added = buildHeader(columns, options, name);
        std::vector<std::string> descriptors;
        for (std::size_t i = 0; i < h.fields.size(); ++i)
            descriptors.push_back(descriptorBytes(h, oldHeader, i));
        for (std::size_t i = 0; i < columns.size(); ++i)
            descriptors.push_back(added.substr(32 + 32 * i, 32));
        Plan p = assemble(h, oldHeader, descriptors, name);
        // The old fields keep their bytes and the new columns follow them, blank (binary
        // integer columns of Visual FoxPro as zeros); padding after the old fields goes.
        const std::size_t oldFields =
            h.fields.empty() ? 0 : std::size_t(h.fields.back().offset + h.fields.back().length) - 1;
        std::vector<std::pair<std::size_t, std::size_t>> zeroed;
        std::size_t at = 1 + oldFields;
        for (const ColumnDef &c : columns) {
            const std::size_t len = c.type == 'D' ? 8 : c.type == 'L' ? 1 : c.type == 'I' ? 4 : std::size_t(c.length);
            if (c.type == 'I')
                zeroed.emplace_back(at, len);
            at += len;
        }
        p.copy = [oldFields, zeroed](const unsigned char *in, unsigned char *out) {
            std::memcpy(out + 1, in + 1, oldFields);
            for (const auto &[offset, length] : zeroed)
                std::memset(out + offset, 0, length);
        };
        return p;
    });
}

void DbfTable::dropColumns(const fs::path &path, const std::vector<std::string> &names)
{
    rebuild(path, [&](const Header &h, const std::string &oldHeader) {
        const std::string name = path.string();
        refuseUnsupported(h, name);
        std::vector<bool> drop(h.fields.size(), false);
        for (const std::string &n : names) {
            bool found = false;
            for (std::size_t i = 0; i < h.fields.size(); ++i)
                if (text::equalsIgnoreAsciiCase(h.fields[i].name, n)) {
                    drop[i] = true;
                    found = true;
                }
            if (!found)
                fail(name, "there is no column " + n);
        }
        std::vector<std::string> descriptors;
        std::vector<std::pair<int, int>> spans; // old offset, length of each kept field
        for (std::size_t i = 0; i < h.fields.size(); ++i)
            if (!drop[i]) {
                descriptors.push_back(descriptorBytes(h, oldHeader, i));
                spans.emplace_back(h.fields[i].offset, h.fields[i].length);
            }
        if (descriptors.empty())
            fail(name, "the last column of a table cannot be dropped");
        Plan p = assemble(h, oldHeader, descriptors, name);
        p.copy = [spans](const unsigned char *in, unsigned char *out) {
            std::size_t at = 1;
            for (const auto &[offset, length] : spans) {
                std::memcpy(out + at, in + offset, std::size_t(length));
                at += std::size_t(length);
            }
        };
        return p;
    });
}

void dropIndexFlag(const fs::path &given)
{
    const fs::path path = files::resolveCaseInsensitive(given);
    Fd fd(::open(path.c_str(), O_RDWR | O_CLOEXEC));
    if (!fd.valid())
        return; // a file that cannot be opened is left alone
    struct stat st {};
    if (::fstat(fd.get(), &st) == 0 && st.st_size > 28) {
        const unsigned char zero = 0;
        if (::pwrite(fd.get(), &zero, 1, 28) != 1)
            failErrno(path.string(), "the index flag cannot be cleared");
    }
    fd.reset();
    fs::path mdx = path;
    mdx.replace_extension(".mdx");
    mdx = files::resolveCaseInsensitive(mdx);
    std::error_code ec;
    fs::remove(mdx, ec);
}

} // namespace focaris::dbf
