// dBase table files: the storage under the program's data store.
//
// Reads tables of every common dBase and FoxPro level (dBase III/IV/7, FoxBase, FoxPro,
// Visual FoxPro), writes dBase III tables of CHAR, NUMERIC and DATE columns and appends to
// Visual FoxPro tables. Tables live on folders that several computers share, so every
// access re-reads the header, every write is done under a short byte-range lock, and
// restructuring (pack, add/drop columns) builds a new file beside the old one and renames
// it over, so that a crash leaves either the old table or the new one, never a torn file.
//
// No Qt here. Text is UTF-8 in memory and the table's code page on disk.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace focaris::dbf {

// Every failure of this engine. The message names the file and the fault, e.g.
// "/data/Cereri.dbf: header length 65535 exceeds the file size 1200".
class DbfError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// ---------------------------------------------------------------------------------------
// Dates: day numbers counted from 1 January 1970 (negative before it), proleptic Gregorian.

struct Ymd {
    int year = 0, month = 0, day = 0;
    bool operator==(const Ymd &) const = default;
};
std::int32_t daysFromCivil(int year, int month, int day);
Ymd civilFromDays(std::int32_t days);
// A date as the program writes it for people: "dd.mm.yyyy".
std::string dateText(std::int32_t days);
// True for a real calendar date with a year between 1 and 9999.
bool isValidDate(int year, int month, int day);

// ---------------------------------------------------------------------------------------
// Field descriptors and values.

struct Field {
    std::string name; // as stored (ASCII, normally upper case), without the zero padding
    char type = 'C';  // C N F D L I Y T B M G P (and the dBase 7 types + O @)
    int length = 0;   // bytes in the record
    int decimals = 0;
    int offset = 0; // position in the record; byte 0 of a record is the deletion mark
};

enum class ValueKind : std::uint8_t {
    Null,     // blank field, missing memo, unreadable number or date
    Text,     // C and M fields: UTF-8
    Number,   // N F I Y B(Visual FoxPro double) O
    Date,     // D: `date` holds the day number
    Logical,  // L
    DateTime, // T and @: `number` holds day number + fraction of the day
    Blob,     // G P and binary memos: raw bytes in `text`
};

struct Value {
    ValueKind kind = ValueKind::Null;
    double number = 0;
    std::int32_t date = 0;
    bool logical = false;
    std::string text;

    bool isNull() const { return kind == ValueKind::Null; }
    static Value null() { return {}; }
    static Value fromText(std::string utf8);
    static Value fromNumber(double n);
    static Value fromDate(std::int32_t dayNumber);
    static Value fromDate(int year, int month, int day);
    static Value fromLogical(bool b);
    bool operator==(const Value &) const = default;
};

using Record = std::vector<Value>; // one value per field, in field order

// ---------------------------------------------------------------------------------------
// Table creation.

// A column of CREATE TABLE: CHAR(n) -> type 'C' length n; DECIMAL(p,s) -> type 'N' length p
// decimals s; DATE -> type 'D' length 8. Logical 'L' (length 1) is accepted too.
struct ColumnDef {
    std::string name;
    char type = 'C';
    int length = 0;
    int decimals = 0;

    static ColumnDef charColumn(std::string name, int length);
    static ColumnDef decimalColumn(std::string name, int precision, int scale);
    static ColumnDef dateColumn(std::string name);
};

enum class Layout {
    DBase3,       // version byte 0x03, 32-byte header + 32-byte descriptors + 0x0D
    VisualFoxPro, // version byte 0x30, descriptors carry offsets, 263-byte back-link
};

struct CreateOptions {
    Layout layout = Layout::DBase3;
    std::uint8_t languageDriver = 0xC8; // Windows-1250
};

// ---------------------------------------------------------------------------------------
// Bulk read result: all live records, column by column values without one allocation per
// value. Text values point into one shared buffer.

// An allocator that leaves new elements of trivial types uninitialised: the bulk reader
// sizes its arrays once and then writes every element.
template <class T>
struct UninitAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitAllocator<U>;
    };
    UninitAllocator() = default;
    template <class U>
    UninitAllocator(const UninitAllocator<U> &) noexcept
    {
    }
    template <class U>
    void construct(U *p) noexcept(std::is_nothrow_default_constructible_v<U>)
    {
        ::new (static_cast<void *>(p)) U;
    }
    template <class U, class... A>
    void construct(U *p, A &&...args)
    {
        ::new (static_cast<void *>(p)) U(std::forward<A>(args)...);
    }
};

class RecordSet {
public:
    std::size_t size() const { return recordNumbers_.size(); }
    std::size_t columnCount() const { return columns_; }
    // 1-based record number in the file (the number to give overwrite / markDeleted).
    std::uint32_t recordNumber(std::size_t row) const { return recordNumbers_[row]; }

    ValueKind kind(std::size_t row, std::size_t col) const { return kinds_[row * columns_ + col]; }
    bool isNull(std::size_t row, std::size_t col) const { return kind(row, col) == ValueKind::Null; }
    std::string_view text(std::size_t row, std::size_t col) const; // Text/Blob, else empty
    double number(std::size_t row, std::size_t col) const;         // Number/DateTime
    std::int32_t date(std::size_t row, std::size_t col) const;     // Date
    bool logical(std::size_t row, std::size_t col) const;          // Logical
    Value value(std::size_t row, std::size_t col) const;
    Record record(std::size_t row) const;

    // Filled by the reader: one kind and one payload per value, row by row.
    struct Payload {
        union {
            double number;
            std::int32_t date;
            bool logical;
            struct {
                std::uint32_t offset, length; // into textBuffer_
            } text;
        };
    };
    std::size_t columns_ = 0;
    std::vector<ValueKind, UninitAllocator<ValueKind>> kinds_;
    std::vector<Payload, UninitAllocator<Payload>> values_;
    std::vector<std::uint32_t> recordNumbers_;
    std::string textBuffer_;

private:
    const Payload &payload(std::size_t row, std::size_t col) const { return values_[row * columns_ + col]; }
};

// ---------------------------------------------------------------------------------------
// What a cheap change check compares: another process may have written the table since.

struct Stamp {
    std::uint64_t device = 0, inode = 0; // a pack or column change replaces the file
    std::uint64_t size = 0;
    std::int64_t mtimeNs = 0;
    std::uint32_t headerRecords = 0;
    bool operator==(const Stamp &) const = default;
};

// Stat + read of the header's record count; throws DbfError when the file is missing.
Stamp stampOf(const std::filesystem::path &path);

// The text a numeric column with `decimals` decimals holds for a value: rounded half away
// from zero on the value's shortest decimal text (2.675 gives 2.68, as typed), without the
// column's leading blanks; empty for infinities and NaN.
std::string numberText(double value, int decimals);

// ---------------------------------------------------------------------------------------
// An open table (opened shared: other processes may read and write it at the same time).
// The object holds a file descriptor; every call re-reads the header and notices when the
// file was replaced by a pack or a column change, reopening it then. An open table does not
// keep others from packing it: it follows the new file. One object serves one thread at a
// time; fields() stays valid until the next call on the object.

class DbfTable {
public:
    // Opens an existing table; the file name is looked up without regard to case.
    // readOnly tables refuse writes.
    explicit DbfTable(const std::filesystem::path &path, bool readOnly = false);
    ~DbfTable();
    DbfTable(DbfTable &&) noexcept;
    DbfTable &operator=(DbfTable &&) noexcept;
    DbfTable(const DbfTable &) = delete;
    DbfTable &operator=(const DbfTable &) = delete;

    const std::filesystem::path &path() const;
    const std::vector<Field> &fields() const;
    // Index of the field named `name` (ASCII case ignored), or -1.
    int fieldIndex(std::string_view name) const;

    std::uint8_t versionByte() const;
    std::uint8_t languageDriver() const;
    int codepage() const; // code page used for text (1250 for unmarked tables)
    int headerLength() const;
    int recordLength() const;

    // Number of complete record slots (live and deleted), from a fresh look at the header
    // and the file size: a file shorter than its header promises counts only its complete
    // records.
    std::uint32_t recordCount();
    Stamp stamp();

    // Every live record with its record number, in file order. Deleted records are skipped.
    RecordSet readAll();
    // One record slot; std::nullopt when it is deleted. Throws when n is out of range.
    std::optional<Record> readRecord(std::uint32_t n);
    bool isDeleted(std::uint32_t n);

    // Writes (each under a short exclusive lock). Values are given in field order; a
    // record shorter than the field list leaves the remaining fields blank. Returns the
    // new record's number.
    std::uint32_t append(const Record &values);
    void overwrite(std::uint32_t n, const Record &values);
    void markDeleted(std::uint32_t n, bool deleted = true);
    // Batch writes: the whole batch under one exclusive lock and one header update at its
    // end, with the same guarantees as the single-record calls (records complete before
    // they are counted, the end mark after the last record). Every record is encoded
    // before anything is written, so a value that does not fit writes nothing.
    // appendMany returns the number of the first new record (the others follow it), 0 for
    // an empty batch.
    std::uint32_t appendMany(const std::vector<Record> &records);
    // numbers[i] gets records[i]; a record named twice ends with the later values.
    void overwriteMany(const std::vector<std::uint32_t> &numbers, const std::vector<Record> &records);
    void markDeletedMany(const std::vector<std::uint32_t> &numbers, bool deleted = true);
    // Marks every record deleted, under one lock, without decoding any of them. Returns
    // how many were live.
    std::uint32_t markAllDeleted();
    // The table's stamp just before and just after the last write made through this
    // object, both taken under that write's lock: a copy of the table that matched
    // `before` matches `after` once the write is applied to it, and any write by another
    // process shows as a difference.
    struct WriteStamps {
        Stamp before, after;
    };
    const WriteStamps &lastWrite() const;
    // The values as a reader would get them back after append or overwrite: numbers
    // rounded to their decimals, texts cut to their column and passed through the code
    // page, blanks as NULL. Throws as append would for a value that does not fit.
    Record asStored(const Record &values) const;

    // Creates a new table; throws when the file exists.
    static void create(const std::filesystem::path &path, const std::vector<ColumnDef> &columns,
                       const CreateOptions &options = {});
    // Restructuring: the table is taken exclusively (failing after a short wait when
    // another process holds it), a new file is built beside it and renamed over it.
    struct PackResult {
        std::uint32_t kept = 0, removed = 0;
    };
    static PackResult pack(const std::filesystem::path &path);
    static void addColumns(const std::filesystem::path &path, const std::vector<ColumnDef> &columns);
    static void dropColumns(const std::filesystem::path &path, const std::vector<std::string> &names);

    // Fault injection for the crash tests: when set, a rebuild (pack, add or drop columns)
    // calls the hook after each chunk of records it has written to its work file, with
    // the number of old records gone through so far, and once more with `finished` true
    // when the work file is complete and synced, just before it is renamed over the
    // table. A test kills its own process from there to see what a crash at that moment
    // leaves. Process-wide; an empty function removes it. Not for use by the program.
    using RebuildHook = std::function<void(std::uint32_t recordsDone, bool finished)>;
    static void setRebuildHook(RebuildHook hook);

    struct Impl;

private:
    friend struct DumpAccess;
    std::unique_ptr<Impl> d_;
};

// Writes byte 0 at offset 28 of the table's header (the production-index flag) and deletes
// the file of the same name with extension ".mdx". A file that cannot be opened is left
// alone.
void dropIndexFlag(const std::filesystem::path &path);

// Code page number named by a language-driver byte (1250 for 0x00, 0x57 and unknown marks).
int codepageOfLanguageDriver(std::uint8_t ldid);

} // namespace focaris::dbf
