// The reference of the statement benchmarks: SQLite with the same rows in in-memory
// tables, loaded from the .dbf files and read back column by column.
#pragma once

#include "engines/dbase/DbfTable.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace focaris::bench {

inline void sqliteExec(sqlite3 *db, const std::string &sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "sqlite: %s\n%s\n", err ? err : "?", sql.c_str());
        std::exit(1);
    }
}

inline long sqliteRows(sqlite3 *db, const std::string &sql)
{
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "sqlite: %s\n%s\n", sqlite3_errmsg(db), sql.c_str());
        std::exit(1);
    }
    long n = 0;
    // Read every column, as a caller filling a grid would.
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            (void)sqlite3_column_text(st, c);
        ++n;
    }
    sqlite3_finalize(st);
    return n;
}

// Copies a dBase table into an in-memory SQLite table of the same columns.
inline void loadIntoSqlite(sqlite3 *db, const std::filesystem::path &file, const std::string &name)
{
    dbf::DbfTable t(file, true);
    std::string create = "CREATE TABLE " + name + " (", insert = "INSERT INTO " + name + " VALUES (";
    for (std::size_t i = 0; i < t.fields().size(); ++i) {
        const auto &f = t.fields()[i];
        create += (i ? ", " : "") + f.name +
                  (f.type == 'C'   ? " TEXT"
                   : f.type == 'D' ? " TEXT"
                   : f.decimals    ? " REAL"
                                   : " INTEGER");
        insert += i ? ", ?" : "?";
    }
    sqliteExec(db, create + ")");
    const dbf::RecordSet rs = t.readAll();
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &st, nullptr);
    sqliteExec(db, "BEGIN");
    char iso[16];
    for (std::size_t r = 0; r < rs.size(); ++r) {
        for (std::size_t c = 0; c < rs.columnCount(); ++c) {
            const int i = static_cast<int>(c) + 1;
            switch (rs.kind(r, c)) {
            case dbf::ValueKind::Text: {
                const auto v = rs.text(r, c);
                sqlite3_bind_text(st, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
                break;
            }
            case dbf::ValueKind::Number:
                if (t.fields()[c].decimals == 0)
                    sqlite3_bind_int64(st, i, static_cast<sqlite3_int64>(rs.number(r, c)));
                else
                    sqlite3_bind_double(st, i, rs.number(r, c));
                break;
            case dbf::ValueKind::Date: {
                const auto d = dbf::civilFromDays(rs.date(r, c));
                std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", d.year, d.month, d.day);
                sqlite3_bind_text(st, i, iso, -1, SQLITE_TRANSIENT);
                break;
            }
            default: sqlite3_bind_null(st, i);
            }
        }
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqliteExec(db, "COMMIT");
    sqlite3_finalize(st);
}

} // namespace focaris::bench
