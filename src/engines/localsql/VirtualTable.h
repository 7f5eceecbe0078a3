// The SQLite module that shows a cached dBase table as a virtual table: scans in file
// order, hash look-ups for equality constraints, and staged writes applied when the
// statement commits. Values cross as SQLite values: texts UTF-8 (blank = NULL), numbers
// as integers (DECIMAL(p,0)) or reals, dates as ISO texts "yyyy-mm-dd" (so that they
// compare and sort as dates).
#pragma once

#include <sqlite3.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace focaris::sql {

class CachedTable;

// Registers the module "focaris_dbf" on the connection. `lookup` maps the argument of
// CREATE VIRTUAL TABLE ... USING focaris_dbf(<id>) to the cached table.
void registerDbfModule(sqlite3 *db, std::function<std::shared_ptr<CachedTable>(const std::string &)> lookup);

// A text between two `quote` characters, each one inside doubled: names for SQLite in
// double quotes, text constants in single quotes.
std::string quoteWith(std::string_view text, char quote);
// A name in double quotes for SQLite.
inline std::string quoteIdentifier(std::string_view name)
{
    return quoteWith(name, '"');
}

// The SQLite declaration type of a dBase field.
const char *sqliteTypeOf(char fieldType, int decimals);

} // namespace focaris::sql
