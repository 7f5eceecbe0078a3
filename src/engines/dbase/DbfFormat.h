// Inside the dBase engine: the header layout, value decoding and encoding, memo files and
// the file primitives (descriptors, locks) shared by the table and the restructuring code.
#pragma once

#include "engines/common/Codepage.h"
#include "engines/dbase/DbfTable.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace focaris::dbf::detail {

// The parsed header of a table.
struct Header {
    std::uint8_t version = 0;
    std::uint32_t recordCount = 0; // as the header says
    int headerLength = 0;
    int recordLength = 0;
    std::uint8_t languageDriver = 0;
    int codepage = 1250; // code page used for text
    std::vector<Field> fields;
    std::vector<std::uint8_t> fieldFlags; // Visual FoxPro field flags (0 elsewhere)
    std::vector<int> nullBit;             // bit in _NullFlags marking the field NULL, or -1
    std::vector<int> varLengthBit;        // bit marking a short varchar/varbinary, or -1
    int nullFlagsField = -1;              // index of the _NullFlags system field
    int descriptorsEnd = 0;               // offset of the 0x0D end-of-descriptors mark

    bool isDbase2() const { return version == 0x02; }
    bool isDbase7() const { return (version & 0x07) == 0x04; }
    bool isVisualFoxPro() const { return version == 0x30 || version == 0x31 || version == 0x32; }
    bool isFox() const { return isVisualFoxPro() || version == 0xF5 || version == 0xFB; }
    // Tables this engine may write to (32-byte descriptors).
    bool writable() const { return !isDbase2() && !isDbase7(); }
    // Offset of the record-count field and its width (dBase II keeps 16 bits at offset 1).
    std::uint64_t recordOffset(std::uint32_t n) const // n is 0-based
    {
        return std::uint64_t(headerLength) + std::uint64_t(n) * std::uint64_t(recordLength);
    }
};

// Bytes of the fixed start of a header that say how long the whole header is.
constexpr int kPrefixLength = 32;

// Reads the header length from the first bytes (at least 32, or 8 for dBase II). Throws
// DbfError naming `file` when the version byte or the lengths are absurd.
int headerLengthFromPrefix(std::string_view prefix, std::uint64_t fileSize, const std::string &file);
// Parses a whole header (the first headerLength bytes of the file).
Header parseHeader(std::string_view bytes, std::uint64_t fileSize, const std::string &file);

// Complete record slots of a file of `fileSize` bytes: the header's count, but never more
// than the records the file really holds.
std::uint32_t completeRecords(const Header &h, std::uint64_t fileSize);

// Memo files (.dbt / .fpt) beside a table; opened lazily and read by block number.
class MemoFile {
public:
    MemoFile() = default;
    MemoFile(const std::filesystem::path &table, const Header &h);
    ~MemoFile();
    MemoFile(const MemoFile &) = delete;
    MemoFile &operator=(const MemoFile &) = delete;
    // Raw bytes of the memo at `block`; empty when absent or unreadable.
    std::string read(std::uint64_t block);
    bool present() const { return fd_ >= 0; }

private:
    int fd_ = -1;
    bool fox_ = false;
    bool dbase4_ = false;
    std::uint64_t size_ = 0;
    std::uint32_t blockSize_ = 512;
};

// Per-code-page byte → UTF-8 table for fast decoding.
struct DecodeTable {
    std::array<std::array<char, 4>, 256> bytes{};
    std::array<std::uint8_t, 256> length{};
};
const DecodeTable &decodeTable(int codepage);
text::Codepage codepageEnum(int codepage);

// Decodes one field of a record into a RecordSet value (text appended to `textBuffer`).
// `record` is the whole record (byte 0 = deletion mark).
void decodeCell(const Header &h, std::size_t fieldIndex, const unsigned char *record, const DecodeTable &table,
                MemoFile *memo, ValueKind &kind, RecordSet::Payload &value, std::string &textBuffer);

// Decodes whole records with the per-field work decided once: the bulk reader's loop.
class RowDecoder {
public:
    RowDecoder(const Header &h, MemoFile *memo);
    // kinds and values must hold one entry per field.
    void decode(const unsigned char *record, ValueKind *kinds, RecordSet::Payload *values,
                std::string &textBuffer) const;

private:
    struct Step {
        enum Kind : std::uint8_t { Char, Numeric, Date, Other } kind;
        int offset, length;
        bool roomAfter = false; // 8 bytes of the record follow the field
    };
    const Header &header_;
    const DecodeTable &table_;
    MemoFile *memo_;
    std::vector<Step> steps_;
};

// Encodes the values of a record into `out` (recordLength bytes; byte 0 left untouched).
// Throws DbfError naming `file` and the column for a value that does not fit.
void encodeRecord(const Header &h, const Record &values, unsigned char *out, const std::string &file);

// Text of a number as the field stores it: rounded half away from zero to `decimals`,
// no padding. Empty when the value is not finite.
std::string formatNumber(double value, int decimals);

// The field as stored, trimmed of blanks (for dumps: numbers "as stored").
std::string_view rawFieldText(const Header &h, std::size_t fieldIndex, const unsigned char *record);

// Writes the last-update date (today) into bytes 1..3 of a header prefix.
void stampToday(unsigned char *header);

// Builds the header of a new table (dBase III or Visual FoxPro layout).
std::string buildHeader(const std::vector<ColumnDef> &columns, const CreateOptions &options, const std::string &file);

std::uint16_t le16(const unsigned char *p);
std::uint32_t le32(const unsigned char *p);
void putLe16(unsigned char *p, std::uint16_t v);
void putLe32(unsigned char *p, std::uint32_t v);

[[noreturn]] void fail(const std::string &file, const std::string &what);
[[noreturn]] void failErrno(const std::string &file, const std::string &what);

// File primitives ------------------------------------------------------------------------

// Owns a file descriptor.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd();
    Fd(Fd &&o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
    Fd &operator=(Fd &&o) noexcept;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void reset(int fd = -1);

private:
    int fd_ = -1;
};

// Reads exactly `len` bytes at `offset` (fewer only at the end of the file); throws on error.
std::size_t preadFull(int fd, void *buf, std::size_t len, std::uint64_t offset, const std::string &file);
void pwriteFull(int fd, const void *buf, std::size_t len, std::uint64_t offset, const std::string &file);

// The byte-range lock that orders the writers and readers of one table. It lies far beyond
// the end of any table, so it never covers data other programs lock by record.
enum class LockMode { Shared, Exclusive };
class RangeLock {
public:
    // Waits up to `timeoutMs` for the lock; throws DbfError naming `file` when it stays
    // held by another process.
    RangeLock(int fd, LockMode mode, int timeoutMs, const std::string &file);
    ~RangeLock();
    RangeLock(const RangeLock &) = delete;
    RangeLock &operator=(const RangeLock &) = delete;

private:
    int fd_;
    bool ofd_;
};

constexpr int kWriteLockTimeoutMs = 30000; // a writer or reader waits for another's short write
constexpr int kExclusiveTimeoutMs = 3000;  // pack and column changes give up sooner

// True when `fd` is still the file found at `path` (not replaced by a rename).
bool sameFile(int fd, const std::filesystem::path &path);

} // namespace focaris::dbf::detail
