// Row-by-row access to one table, for the edits that are easier as a loop than as a
// statement (the recalculation of all applications, the upgrade of old tables). The
// cursor reads the live rows when it opens; `setValue` changes the current row in memory
// (checked against the column at once) and `post` writes it back to its record in place.
#pragma once

#include "engines/dbase/DbfTable.h"
#include "engines/localsql/Value.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace focaris::sql {

class TableCursor {
public:
    // Opens the table at `path` (matched without regard to case). Throws SqlError.
    explicit TableCursor(const std::filesystem::path &path);
    ~TableCursor();

    const std::filesystem::path &path() const { return path_; }
    std::vector<std::string> fieldNames() const;
    // Index of a field (ASCII case ignored), or -1.
    int fieldIndex(std::string_view name) const;
    std::size_t rowCount() const { return rows_.size(); }

    // Moves to the first row; false when the table is empty.
    bool first();
    // Moves to the next row; false past the last one. A row with unposted edits is posted
    // first, as a table cursor does when it moves.
    bool next();
    bool atEnd() const { return current_ >= rows_.size(); }
    // Moves to the last row; false when the table is empty.
    bool last();

    // Values of the current row. Unknown field names throw SqlError.
    Value value(std::string_view field) const;
    void setValue(std::string_view field, const Value &value);
    bool modified() const { return modified_; }
    // Writes the current row when it was changed.
    void post();

    // Removes the rows marked deleted (the table is taken exclusively for that).
    static void pack(const std::filesystem::path &path);

private:
    std::size_t column(std::string_view field) const;

    std::filesystem::path path_;
    std::unique_ptr<dbf::DbfTable> table_;
    std::vector<dbf::Field> fields_;
    dbf::RecordSet rows_;
    std::size_t current_ = 0;
    dbf::Record edit_;
    std::map<std::size_t, dbf::Record> posted_; // rows written since the cursor opened
    bool modified_ = false;
    bool writable_ = false;
};

} // namespace focaris::sql
