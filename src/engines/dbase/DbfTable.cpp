// An open dBase table: reading records and writing them under a short lock, one by one or
// in batches.
#include "engines/dbase/DbfImpl.h"

#include "engines/common/Codepage.h"
#include "engines/common/FileNames.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace focaris::dbf {

using namespace detail;

// ---------------------------------------------------------------------------------------
// RecordSet accessors.

std::string_view RecordSet::text(std::size_t row, std::size_t col) const
{
    const ValueKind k = kind(row, col);
    if (k != ValueKind::Text && k != ValueKind::Blob)
        return {};
    const Payload &p = payload(row, col);
    return std::string_view(textBuffer_).substr(p.text.offset, p.text.length);
}

double RecordSet::number(std::size_t row, std::size_t col) const
{
    const ValueKind k = kind(row, col);
    return k == ValueKind::Number || k == ValueKind::DateTime ? payload(row, col).number : 0.0;
}

std::int32_t RecordSet::date(std::size_t row, std::size_t col) const
{
    return kind(row, col) == ValueKind::Date ? payload(row, col).date : 0;
}

bool RecordSet::logical(std::size_t row, std::size_t col) const
{
    return kind(row, col) == ValueKind::Logical && payload(row, col).logical;
}

Value RecordSet::value(std::size_t row, std::size_t col) const
{
    Value v;
    v.kind = kind(row, col);
    const Payload &p = payload(row, col);
    switch (v.kind) {
    case ValueKind::Text:
    case ValueKind::Blob: v.text = std::string(text(row, col)); break;
    case ValueKind::Number:
    case ValueKind::DateTime: v.number = p.number; break;
    case ValueKind::Date: v.date = p.date; break;
    case ValueKind::Logical: v.logical = p.logical; break;
    case ValueKind::Null: break;
    }
    return v;
}

Record RecordSet::record(std::size_t row) const
{
    Record r;
    r.reserve(columns_);
    for (std::size_t c = 0; c < columns_; ++c)
        r.push_back(value(row, c));
    return r;
}

// ---------------------------------------------------------------------------------------
// Impl.

Stamp stampFrom(const struct stat &st, std::uint32_t headerRecords)
{
    Stamp s;
    s.device = std::uint64_t(st.st_dev);
    s.inode = std::uint64_t(st.st_ino);
    s.size = std::uint64_t(st.st_size);
    s.mtimeNs = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.headerRecords = headerRecords;
    return s;
}

// The record count of a header read from an open table file (0 when it is cut short).
static std::uint32_t headerRecordsOf(int fd, const std::string &name)
{
    unsigned char prefix[8] = {};
    if (preadFull(fd, prefix, sizeof prefix, 0, name) != sizeof prefix)
        return 0;
    return prefix[0] == 0x02 ? le16(prefix + 1) : le32(prefix + 4);
}

void DbfTable::Impl::open()
{
    path = files::resolveCaseInsensitive(path);
    name = path.string();
    int fd = -1;
    if (!readOnly) {
        fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
            fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC), readOnly = fd >= 0;
    } else {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0) {
        if (errno == ENOENT)
            fail(name, "the table does not exist");
        failErrno(name, "the table cannot be opened");
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        failErrno(name, "the table cannot be examined");
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        fail(name, "is a folder, not a table");
    }
    this->fd.reset(fd);
    device = std::uint64_t(st.st_dev);
    inode = std::uint64_t(st.st_ino);
    loadHeader();
}

bool DbfTable::Impl::stillAtPath(struct stat &byPath) const
{
    return ::stat(path.c_str(), &byPath) == 0 && std::uint64_t(byPath.st_dev) == device &&
           std::uint64_t(byPath.st_ino) == inode;
}

std::uint64_t DbfTable::Impl::fileSize()
{
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        failErrno(name, "the table cannot be examined");
    return std::uint64_t(st.st_size);
}

Stamp DbfTable::Impl::currentStamp()
{
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        failErrno(name, "the table cannot be examined");
    return stampFrom(st, header.recordCount);
}

void DbfTable::Impl::loadHeader()
{
    const std::uint64_t size = fileSize();
    char prefix[kPrefixLength] = {};
    const std::size_t got = preadFull(fd.get(), prefix, sizeof prefix, 0, name);
    const int length = headerLengthFromPrefix(std::string_view(prefix, got), size, name);
    std::string bytes(std::size_t(length), '\0');
    bytes.resize(preadFull(fd.get(), bytes.data(), bytes.size(), 0, name));
    header = parseHeader(bytes, size, name);
}

void DbfTable::Impl::refresh()
{
    struct stat byPath {};
    if (!stillAtPath(byPath))
        open();
    else
        reloadCounts();
}

void DbfTable::Impl::reloadCounts()
{
    unsigned char prefix[12] = {};
    const std::size_t got = preadFull(fd.get(), prefix, sizeof prefix, 0, name);
    const bool sameShape =
        got == sizeof prefix && prefix[0] == header.version &&
        (header.isDbase2() ? le16(prefix + 6) == header.recordLength
                           : le16(prefix + 8) == header.headerLength && le16(prefix + 10) == header.recordLength);
    if (!sameShape) {
        loadHeader();
        return;
    }
    header.recordCount = header.isDbase2() ? le16(prefix + 1) : le32(prefix + 4);
}

std::uint32_t DbfTable::Impl::slots()
{
    refresh();
    return completeRecords(header, fileSize());
}

// ---------------------------------------------------------------------------------------
// DbfTable.

DbfTable::DbfTable(const std::filesystem::path &path, bool readOnly) : d_(std::make_unique<Impl>())
{
    d_->path = path;
    d_->readOnly = readOnly;
    d_->open();
}

DbfTable::~DbfTable() = default;
DbfTable::DbfTable(DbfTable &&) noexcept = default;
DbfTable &DbfTable::operator=(DbfTable &&) noexcept = default;

const std::filesystem::path &DbfTable::path() const
{
    return d_->path;
}
const std::vector<Field> &DbfTable::fields() const
{
    return d_->header.fields;
}

int DbfTable::fieldIndex(std::string_view name) const
{
    const auto &f = d_->header.fields;
    for (std::size_t i = 0; i < f.size(); ++i)
        if (text::equalsIgnoreAsciiCase(f[i].name, name))
            return int(i);
    return -1;
}

std::uint8_t DbfTable::versionByte() const
{
    return d_->header.version;
}
std::uint8_t DbfTable::languageDriver() const
{
    return d_->header.languageDriver;
}
int DbfTable::codepage() const
{
    return d_->header.codepage;
}
int DbfTable::headerLength() const
{
    return d_->header.headerLength;
}
int DbfTable::recordLength() const
{
    return d_->header.recordLength;
}

std::uint32_t DbfTable::recordCount()
{
    return d_->slots();
}

Stamp DbfTable::stamp()
{
    // While the open descriptor is still the file at the path, its header count is read
    // through it (one look at the path instead of opening the file again).
    Impl &d = *d_;
    struct stat byPath {};
    if (!d.stillAtPath(byPath))
        return stampOf(d.path);
    return stampFrom(byPath, headerRecordsOf(d.fd.get(), d.name));
}

static bool hasMemoFields(const Header &h)
{
    for (const Field &f : h.fields)
        if (f.type == 'M' || f.type == 'G' || f.type == 'P' || (f.type == 'B' && !h.isVisualFoxPro()))
            return true;
    return false;
}

// Large buffers are asked to use huge pages: a city-sized table decodes into some hundred
// megabytes, and faulting them in 4 KB pages costs more than the decoding itself.
static void preferHugePages(void *data, std::size_t bytes)
{
    constexpr std::uintptr_t huge = std::uintptr_t(2) << 20;
    if (bytes < 4 * huge)
        return;
    const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(data) + huge - 1) & ~(huge - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(huge - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
}

RecordSet DbfTable::readAll()
{
    Impl &d = *d_;
    d.refresh();
    RecordSet rs;
    std::uint32_t expected = completeRecords(d.header, d.fileSize());
    std::size_t charBytes = 0;
    for (const Field &f : d.header.fields)
        if (f.type == 'C' || f.type == 'V')
            charBytes += std::size_t(f.length);
    std::unique_ptr<MemoFile> memo;
    std::unique_ptr<RowDecoder> decoder;
    std::size_t used = 0;
    d.scan([&](std::uint32_t number, const unsigned char *rec) {
        if (!decoder) {
            // The header is final once the shared lock is held.
            if (hasMemoFields(d.header))
                memo = std::make_unique<MemoFile>(d.path, d.header);
            decoder = std::make_unique<RowDecoder>(d.header, memo.get());
            rs.columns_ = d.header.fields.size();
            expected = std::max(expected, completeRecords(d.header, d.fileSize()));
            rs.kinds_.resize(std::size_t(expected) * rs.columns_);
            rs.values_.resize(std::size_t(expected) * rs.columns_);
            preferHugePages(rs.values_.data(), rs.values_.size() * sizeof(RecordSet::Payload));
            rs.recordNumbers_.reserve(expected);
            // Room for the texts of all character fields: reserved address space costs
            // nothing until it is used.
            rs.textBuffer_.reserve(std::size_t(expected) * charBytes + 4096);
            preferHugePages(rs.textBuffer_.data(), rs.textBuffer_.capacity());
        }
        if (rec[0] == '*')
            return;
        if (used + rs.columns_ > rs.values_.size()) {
            rs.kinds_.resize(used + rs.columns_);
            rs.values_.resize(used + rs.columns_);
        }
        decoder->decode(rec, rs.kinds_.data() + used, rs.values_.data() + used, rs.textBuffer_);
        if (rs.textBuffer_.size() > 0xFFFFFFF0u)
            fail(d.name, "the texts of the table exceed 4 GB");
        used += rs.columns_;
        rs.recordNumbers_.push_back(number);
    });
    if (!decoder)
        rs.columns_ = d.header.fields.size();
    rs.kinds_.resize(used);
    rs.values_.resize(used);
    return rs;
}

static void checkRange(const DbfTable::Impl &d, std::uint32_t n, std::uint32_t count)
{
    if (n < 1 || n > count)
        fail(d.name, "record " + std::to_string(n) + " does not exist (the table has " + std::to_string(count) + ")");
}

std::optional<Record> DbfTable::readRecord(std::uint32_t n)
{
    Impl &d = *d_;
    std::vector<unsigned char> rec;
    d.locked(LockMode::Shared, [&](std::uint32_t count) {
        checkRange(d, n, count);
        rec.resize(std::size_t(d.header.recordLength));
        if (preadFull(d.fd.get(), rec.data(), rec.size(), d.header.recordOffset(n - 1), d.name) < rec.size())
            fail(d.name, "record " + std::to_string(n) + " is cut short");
    });
    if (rec[0] == '*')
        return std::nullopt;
    std::unique_ptr<MemoFile> memo;
    if (hasMemoFields(d.header))
        memo = std::make_unique<MemoFile>(d.path, d.header);
    RecordSet rs;
    rs.columns_ = d.header.fields.size();
    rs.kinds_.resize(rs.columns_);
    rs.values_.resize(rs.columns_);
    rs.recordNumbers_.push_back(n);
    RowDecoder(d.header, memo.get()).decode(rec.data(), rs.kinds_.data(), rs.values_.data(), rs.textBuffer_);
    return rs.record(0);
}

bool DbfTable::isDeleted(std::uint32_t n)
{
    Impl &d = *d_;
    return d.locked(LockMode::Shared, [&](std::uint32_t count) {
        checkRange(d, n, count);
        unsigned char flag = 0;
        preadFull(d.fd.get(), &flag, 1, d.header.recordOffset(n - 1), d.name);
        return flag == '*';
    });
}

// Runs `write` under the exclusive write lock of the file that is current at `path`.
template <class F>
static auto underWriteLock(DbfTable::Impl &d, F write)
{
    if (d.readOnly)
        fail(d.name, "the table is open read-only");
    return d.locked(LockMode::Exclusive, [&](std::uint32_t count) {
        if (!d.header.writable())
            fail(d.name, "tables of this dBase level are read only here");
        d.lastWrite.before = d.lockedStamp;
        auto result = write(count);
        d.lastWrite.after = d.currentStamp();
        return result;
    });
}

// Writes today's date and, when given, the record count into the header.
static void touchHeader(DbfTable::Impl &d, const std::uint32_t *count)
{
    unsigned char prefix[8] = {};
    stampToday(prefix);
    std::size_t len = 3;
    if (count) {
        putLe32(prefix + 4, *count);
        len = 7;
    }
    pwriteFull(d.fd.get(), prefix + 1, len, 1, d.name);
    if (count)
        d.header.recordCount = *count;
}

std::uint32_t DbfTable::append(const Record &values)
{
    Impl &d = *d_;
    return underWriteLock(d, [&](std::uint32_t count) {
        if (count == 0xFFFFFFFFu)
            fail(d.name, "the table is full");
        const std::size_t recLen = std::size_t(d.header.recordLength);
        std::vector<unsigned char> buf(recLen + 1, ' ');
        encodeRecord(d.header, values, buf.data(), d.name);
        buf[recLen] = 0x1A; // the end-of-file mark follows the last record
        // See appendMany: in marked deleted, the count, then the mark cleared.
        buf[0] = '*';
        pwriteFull(d.fd.get(), buf.data(), buf.size(), d.header.recordOffset(count), d.name);
        const std::uint32_t newCount = count + 1;
        touchHeader(d, &newCount);
        const unsigned char live = ' ';
        pwriteFull(d.fd.get(), &live, 1, d.header.recordOffset(count), d.name);
        return newCount;
    });
}

void DbfTable::overwrite(std::uint32_t n, const Record &values)
{
    Impl &d = *d_;
    underWriteLock(d, [&](std::uint32_t count) {
        checkRange(d, n, count);
        const std::size_t recLen = std::size_t(d.header.recordLength);
        std::vector<unsigned char> buf(recLen);
        preadFull(d.fd.get(), buf.data(), recLen, d.header.recordOffset(n - 1), d.name);
        encodeRecord(d.header, values, buf.data(), d.name);
        // The deletion mark stays as it is: another process may have just deleted the row.
        pwriteFull(d.fd.get(), buf.data() + 1, recLen - 1, d.header.recordOffset(n - 1) + 1, d.name);
        touchHeader(d, nullptr);
        return 0;
    });
}

void DbfTable::markDeleted(std::uint32_t n, bool deleted)
{
    Impl &d = *d_;
    underWriteLock(d, [&](std::uint32_t count) {
        checkRange(d, n, count);
        const unsigned char flag = deleted ? '*' : ' ';
        pwriteFull(d.fd.get(), &flag, 1, d.header.recordOffset(n - 1), d.name);
        touchHeader(d, nullptr);
        return 0;
    });
}

// ---------------------------------------------------------------------------------------
// Batch writes.

// Record numbers of a batch sorted (stably, so that a later write to the same record
// wins) and cut into windows of nearby records: each window is read and written back
// with one call instead of one per record. Small gaps are read and written back
// unchanged, which is safe because nobody else writes while the exclusive lock is held.
namespace {

struct Window {
    std::uint32_t first = 0, last = 0; // 1-based record numbers, inclusive
    std::size_t begin = 0, end = 0;    // range in the sorted order
};

std::vector<std::size_t> sortedOrder(const std::vector<std::uint32_t> &numbers)
{
    std::vector<std::size_t> order(numbers.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return numbers[a] < numbers[b]; });
    return order;
}

std::vector<Window> windowsOf(const std::vector<std::uint32_t> &numbers, const std::vector<std::size_t> &order,
                              std::size_t recLen)
{
    constexpr std::size_t kMaxWindowBytes = std::size_t(1) << 20;
    constexpr std::size_t kMaxGapBytes = 8192;
    std::vector<Window> out;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::uint32_t n = numbers[order[k]];
        if (!out.empty()) {
            Window &w = out.back();
            const std::size_t gap = std::size_t(n - w.last) * recLen;
            const std::size_t span = std::size_t(n - w.first + 1) * recLen;
            if (gap <= kMaxGapBytes && span <= kMaxWindowBytes) {
                w.last = n;
                w.end = k + 1;
                continue;
            }
        }
        out.push_back({n, n, k, k + 1});
    }
    return out;
}

// A batch's record numbers checked against the table's `count` slots, in write order and
// cut into windows.
struct BatchPlan {
    std::vector<std::size_t> order;
    std::vector<Window> windows;
};

BatchPlan planBatch(const DbfTable::Impl &d, const std::vector<std::uint32_t> &numbers, std::uint32_t count)
{
    for (std::uint32_t n : numbers)
        checkRange(d, n, count);
    BatchPlan plan;
    plan.order = sortedOrder(numbers);
    plan.windows = windowsOf(numbers, plan.order, std::size_t(d.header.recordLength));
    return plan;
}

} // namespace

std::uint32_t DbfTable::appendMany(const std::vector<Record> &records)
{
    Impl &d = *d_;
    if (records.empty())
        return 0;
    return underWriteLock(d, [&](std::uint32_t count) {
        if (std::uint64_t(count) + records.size() > 0xFFFFFFFFull)
            fail(d.name, "the table is full");
        const std::size_t recLen = std::size_t(d.header.recordLength);
        // All records are encoded before the first write: a value that does not fit
        // leaves the file untouched.
        std::vector<unsigned char> buf(records.size() * recLen + 1, ' ');
        for (std::size_t i = 0; i < records.size(); ++i) {
            unsigned char *rec = buf.data() + i * recLen;
            encodeRecord(d.header, records[i], rec, d.name);
            rec[0] = '*';
        }
        buf.back() = 0x1A; // the end-of-file mark follows the last record
        // The records go in marked deleted, then the count, then the marks are cleared.
        // A process ended at any point leaves none of the new records visible or all of
        // them, to this engine, which trusts the count, and to programs that read up to
        // the end-of-file mark alike.
        pwriteFull(d.fd.get(), buf.data(), buf.size(), d.header.recordOffset(count), d.name);
        const std::uint32_t newCount = count + std::uint32_t(records.size());
        touchHeader(d, &newCount);
        for (std::size_t i = 0; i < records.size(); ++i)
            buf[i * recLen] = ' ';
        pwriteFull(d.fd.get(), buf.data(), buf.size() - 1, d.header.recordOffset(count), d.name);
        return count + 1;
    });
}

void DbfTable::overwriteMany(const std::vector<std::uint32_t> &numbers, const std::vector<Record> &records)
{
    Impl &d = *d_;
    if (numbers.size() != records.size())
        fail(d.name, "overwriteMany: " + std::to_string(numbers.size()) + " record numbers for " +
                         std::to_string(records.size()) + " records");
    if (numbers.empty())
        return;
    underWriteLock(d, [&](std::uint32_t count) {
        const std::size_t recLen = std::size_t(d.header.recordLength);
        const auto [order, windows] = planBatch(d, numbers, count);
        // Read every window and encode into it before writing any, so that a value that
        // does not fit writes nothing.
        std::vector<std::vector<unsigned char>> bufs(windows.size());
        for (std::size_t w = 0; w < windows.size(); ++w) {
            const Window &win = windows[w];
            std::vector<unsigned char> &buf = bufs[w];
            buf.resize(std::size_t(win.last - win.first + 1) * recLen);
            if (preadFull(d.fd.get(), buf.data(), buf.size(), d.header.recordOffset(win.first - 1), d.name) <
                buf.size())
                fail(d.name, "record " + std::to_string(win.last) + " is cut short");
            for (std::size_t k = win.begin; k < win.end; ++k) {
                const std::size_t i = order[k];
                unsigned char *rec = buf.data() + std::size_t(numbers[i] - win.first) * recLen;
                // The deletion mark stays as it is on disk.
                const unsigned char mark = rec[0];
                encodeRecord(d.header, records[i], rec, d.name);
                rec[0] = mark;
            }
        }
        for (std::size_t w = 0; w < windows.size(); ++w)
            pwriteFull(d.fd.get(), bufs[w].data(), bufs[w].size(), d.header.recordOffset(windows[w].first - 1), d.name);
        touchHeader(d, nullptr);
        return 0;
    });
}

void DbfTable::markDeletedMany(const std::vector<std::uint32_t> &numbers, bool deleted)
{
    Impl &d = *d_;
    if (numbers.empty())
        return;
    underWriteLock(d, [&](std::uint32_t count) {
        const std::size_t recLen = std::size_t(d.header.recordLength);
        const auto [order, windows] = planBatch(d, numbers, count);
        const unsigned char flag = deleted ? '*' : ' ';
        std::vector<unsigned char> buf;
        for (const Window &win : windows) {
            const std::uint64_t offset = d.header.recordOffset(win.first - 1);
            if (win.first == win.last) {
                pwriteFull(d.fd.get(), &flag, 1, offset, d.name);
                continue;
            }
            buf.resize(std::size_t(win.last - win.first + 1) * recLen);
            if (preadFull(d.fd.get(), buf.data(), buf.size(), offset, d.name) < buf.size())
                fail(d.name, "record " + std::to_string(win.last) + " is cut short");
            for (std::size_t k = win.begin; k < win.end; ++k)
                buf[std::size_t(numbers[order[k]] - win.first) * recLen] = flag;
            pwriteFull(d.fd.get(), buf.data(), buf.size(), offset, d.name);
        }
        touchHeader(d, nullptr);
        return 0;
    });
}

const DbfTable::WriteStamps &DbfTable::lastWrite() const
{
    return d_->lastWrite;
}

std::uint32_t DbfTable::markAllDeleted()
{
    Impl &d = *d_;
    return underWriteLock(d, [&](std::uint32_t count) {
        const std::size_t recLen = std::size_t(d.header.recordLength);
        const std::size_t perChunk = std::max<std::size_t>(1, (std::size_t(1) << 20) / recLen);
        std::vector<unsigned char> buf(perChunk * recLen);
        std::uint32_t live = 0;
        for (std::uint32_t first = 0; first < count;) {
            const std::size_t n = std::min<std::size_t>(perChunk, count - first);
            const std::uint64_t offset = d.header.recordOffset(first);
            if (preadFull(d.fd.get(), buf.data(), n * recLen, offset, d.name) < n * recLen)
                fail(d.name, "record " + std::to_string(first + n) + " is cut short");
            std::uint32_t marked = 0;
            for (std::size_t k = 0; k < n; ++k)
                if (buf[k * recLen] != '*') {
                    buf[k * recLen] = '*';
                    ++marked;
                }
            // Chunks with nothing left to mark are not written back.
            if (marked)
                pwriteFull(d.fd.get(), buf.data(), n * recLen, offset, d.name);
            live += marked;
            first += std::uint32_t(n);
        }
        touchHeader(d, nullptr);
        return live;
    });
}

Record DbfTable::asStored(const Record &values) const
{
    const Header &h = d_->header;
    std::vector<unsigned char> rec(std::size_t(h.recordLength), ' ');
    encodeRecord(h, values, rec.data(), d_->name);
    RecordSet rs;
    rs.columns_ = h.fields.size();
    rs.kinds_.resize(rs.columns_);
    rs.values_.resize(rs.columns_);
    rs.recordNumbers_.push_back(0);
    RowDecoder(h, nullptr).decode(rec.data(), rs.kinds_.data(), rs.values_.data(), rs.textBuffer_);
    return rs.record(0);
}

std::string numberText(double value, int decimals)
{
    return formatNumber(value, decimals);
}

Stamp stampOf(const std::filesystem::path &given)
{
    const std::filesystem::path path = files::resolveCaseInsensitive(given);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            fail(path.string(), "the table does not exist");
        failErrno(path.string(), "the table cannot be opened");
    }
    Fd guard(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        failErrno(path.string(), "the table cannot be examined");
    return stampFrom(st, headerRecordsOf(fd, path.string()));
}

} // namespace focaris::dbf
