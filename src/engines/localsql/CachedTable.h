// A dBase table held in memory between statements. The file is parsed once and the copy
// is reused while the file is unchanged: at every statement the caller asks `refresh`,
// which compares the file's stamp (size, modification time, header record count) and
// re-reads it only when another process wrote it. Writes of a statement are staged and
// applied at its end, to the file (in batches, each under one lock of the storage
// engine) and to the copy, so that the copy stays valid without a re-read.
//
// Equality look-ups use hash indexes built on demand for one column and kept up to date
// by the writes. Rows are numbered from 0 in file order; a row deleted by a statement stays
// in the copy, marked dead, until the table is re-read.
#pragma once

#include "engines/dbase/DbfTable.h"
#include "engines/localsql/Value.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace focaris::sql {

class CachedTable {
public:
    explicit CachedTable(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path &path() const { return path_; }
    // Re-reads the table when the file changed since the last look (or was never read).
    // Throws SqlError when the file is missing or unreadable.
    void refresh();
    // Forgets the copy; the next refresh re-reads the file.
    void invalidate() { loaded_ = false; }
    // Grows whenever the list of columns changes, so that users of the layout know to
    // rebuild what they derived from it.
    std::uint64_t layoutVersion() const { return layoutVersion_; }

    const std::vector<dbf::Field> &fields() const { return fields_; }
    int fieldIndex(std::string_view name) const;
    std::size_t rowCount() const { return rows_.size(); }
    bool alive(std::size_t row) const { return alive_[row] != 0; }
    const dbf::RecordSet &rows() const { return rows_; }
    dbf::Record record(std::size_t row) const { return rows_.record(row); }

    // Hash key of a cell, or nothing for NULL. Equal values give equal keys; different
    // values may collide, so callers compare the values again.
    std::optional<std::uint64_t> cellKey(std::size_t row, std::size_t col) const;
    // Rows whose value in `col` has the key (alive rows only).
    void lookup(std::size_t col, std::uint64_t key, std::vector<std::uint32_t> &out);
    static std::uint64_t textKey(std::string_view text);
    static std::uint64_t numberKey(double value);
    static std::uint64_t dateKey(std::int32_t days);

    // Staged writes of the running statement.
    void stageInsert(dbf::Record values);
    void stageUpdate(std::size_t row, dbf::Record values);
    void stageDelete(std::size_t row);
    bool hasStaged() const { return !staged_.empty(); }
    // Applies the staged writes to the file and the copy. On a failure the copy is
    // dropped (the file may hold part of the writes) and the error is rethrown.
    void commitStaged();
    void discardStaged() { staged_.clear(); }
    // DELETE without a condition: marks every record of the file deleted without reading
    // the table into memory, and leaves the copy as the empty table. Returns the number of
    // rows deleted. Throws SqlError when the file is missing or cannot be written.
    std::int64_t deleteAll();

private:
    struct Staged {
        enum Op { Insert, Update, Delete } op;
        std::size_t row;
        dbf::Record values;
    };
    using Index = std::unordered_multimap<std::uint64_t, std::uint32_t>;

    void load();
    // Takes the file's list of columns, growing the layout version when it changed.
    void adoptFields(std::vector<dbf::Field> fields);
    Index &indexFor(std::size_t col);
    void setCell(std::size_t row, std::size_t col, const dbf::Value &v);
    void indexRemove(std::size_t row);
    void indexAdd(std::size_t row);

    std::filesystem::path path_;
    bool loaded_ = false;
    dbf::Stamp stamp_;
    std::uint64_t layoutVersion_ = 0;
    std::vector<dbf::Field> fields_;
    dbf::RecordSet rows_;
    std::vector<std::uint8_t> alive_;
    std::vector<std::unique_ptr<Index>> indexes_;
    std::vector<Staged> staged_;
    std::unique_ptr<dbf::DbfTable> writer_;
};

// The copies of every table used in this process, by resolved path. One thread only.
class TableCache {
public:
    static TableCache &instance();
    // The copy of the table at `resolved` (created empty; call refresh before use).
    std::shared_ptr<CachedTable> table(const std::filesystem::path &resolved);
    // Drops the copy of a table (after CREATE, ALTER, DROP or a pack of that file).
    void forget(const std::filesystem::path &resolved);

private:
    std::unordered_map<std::string, std::shared_ptr<CachedTable>> tables_;
};

// The column value of a field for a statement's value: texts cut to the column's width,
// numbers checked against the column's digits, date texts read as dates. Throws SqlError
// for a value of the wrong type or a number that does not fit.
dbf::Value toFieldValue(const dbf::Field &field, const Value &value);
// The statement's view of a stored value: blank texts are NULL, DECIMAL(p,0) numbers
// whole numbers.
Value fromFieldValue(const dbf::Field &field, const dbf::Value &value);

} // namespace focaris::sql
