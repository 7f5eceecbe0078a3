// SQLite virtual-table module over the cached dBase tables.
#include "engines/localsql/VirtualTable.h"

#include "engines/localsql/CachedTable.h"
#include "engines/localsql/SqlError.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace focaris::sql {

namespace {

using Lookup = std::function<std::shared_ptr<CachedTable>(const std::string &)>;

struct DbfVtab {
    sqlite3_vtab base;
    std::shared_ptr<CachedTable> table;
};

struct DbfCursor {
    sqlite3_vtab_cursor base;
    CachedTable *table = nullptr;
    bool useList = false;
    std::vector<std::uint32_t> list;
    std::size_t listPos = 0;
    std::size_t row = 0;
    bool eof = true;
};

void setError(sqlite3_vtab *vtab, const std::string &message)
{
    sqlite3_free(vtab->zErrMsg);
    vtab->zErrMsg = sqlite3_mprintf("%s", message.c_str());
}

int connect(sqlite3 *db, void *aux, int argc, const char *const *argv, sqlite3_vtab **out, char **err)
{
    auto *lookup = static_cast<Lookup *>(aux);
    if (argc < 4) {
        *err = sqlite3_mprintf("focaris_dbf needs a table id");
        return SQLITE_ERROR;
    }
    std::shared_ptr<CachedTable> table = (*lookup)(argv[3]);
    if (!table) {
        *err = sqlite3_mprintf("unknown table id %s", argv[3]);
        return SQLITE_ERROR;
    }
    std::string decl = "CREATE TABLE x(";
    const auto &fields = table->fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i)
            decl += ", ";
        decl += quoteIdentifier(fields[i].name) + " " + sqliteTypeOf(fields[i].type, fields[i].decimals);
    }
    if (fields.empty())
        decl += "\"_NONE_\" TEXT HIDDEN";
    decl += ")";
    const int rc = sqlite3_declare_vtab(db, decl.c_str());
    if (rc != SQLITE_OK) {
        *err = sqlite3_mprintf("%s", sqlite3_errmsg(db));
        return rc;
    }
    auto *vtab = new DbfVtab();
    vtab->table = std::move(table);
    *out = &vtab->base;
    return SQLITE_OK;
}

int disconnect(sqlite3_vtab *vtab)
{
    delete reinterpret_cast<DbfVtab *>(vtab);
    return SQLITE_OK;
}

int bestIndex(sqlite3_vtab *vtab, sqlite3_index_info *info)
{
    CachedTable &table = *reinterpret_cast<DbfVtab *>(vtab)->table;
    const double rows = static_cast<double>(table.rowCount()) + 1;
    int chosen = -1;
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto &c = info->aConstraint[i];
        if (c.usable && c.op == SQLITE_INDEX_CONSTRAINT_EQ && c.iColumn >= 0 &&
            c.iColumn < static_cast<int>(table.fields().size())) {
            chosen = i;
            break;
        }
    }
    if (chosen >= 0) {
        // The hash look-up returns candidates; SQLite checks the condition again (omit is
        // left off), which also settles hash collisions and type differences.
        info->aConstraintUsage[chosen].argvIndex = 1;
        info->idxNum = info->aConstraint[chosen].iColumn + 1;
        info->estimatedCost = 10;
        info->estimatedRows = 4;
    } else {
        info->idxNum = 0;
        info->estimatedCost = rows * 4 + 1000;
        info->estimatedRows = static_cast<sqlite3_int64>(rows);
    }
    return SQLITE_OK;
}

int open(sqlite3_vtab *vtab, sqlite3_vtab_cursor **out)
{
    auto *cur = new DbfCursor();
    cur->table = reinterpret_cast<DbfVtab *>(vtab)->table.get();
    *out = &cur->base;
    return SQLITE_OK;
}

int close(sqlite3_vtab_cursor *cur)
{
    delete reinterpret_cast<DbfCursor *>(cur);
    return SQLITE_OK;
}

void settle(DbfCursor *cur)
{
    const CachedTable &t = *cur->table;
    if (cur->useList) {
        cur->eof = cur->listPos >= cur->list.size();
        if (!cur->eof)
            cur->row = cur->list[cur->listPos];
        return;
    }
    while (cur->row < t.rowCount() && !t.alive(cur->row))
        ++cur->row;
    cur->eof = cur->row >= t.rowCount();
}

// The hash key of a constraint value for the column, or false when no row can equal it.
bool keyOfValue(const dbf::Field &field, sqlite3_value *v, std::uint64_t &key)
{
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_NULL)
        return false;
    switch (field.type) {
    case 'C':
    case 'M': {
        const char *t = reinterpret_cast<const char *>(sqlite3_value_text(v));
        if (!t)
            return false;
        key = CachedTable::textKey(std::string_view(t, sqlite3_value_bytes(v)));
        return true;
    }
    case 'D': {
        if (type != SQLITE_TEXT)
            return false;
        std::int32_t days;
        if (!parseDate(reinterpret_cast<const char *>(sqlite3_value_text(v)), days))
            return false;
        key = CachedTable::dateKey(days);
        return true;
    }
    default: {
        const int numeric = sqlite3_value_numeric_type(v);
        if (numeric != SQLITE_INTEGER && numeric != SQLITE_FLOAT)
            return false;
        key = CachedTable::numberKey(sqlite3_value_double(v));
        return true;
    }
    }
}

int filter(sqlite3_vtab_cursor *base, int idxNum, const char *, int argc, sqlite3_value **argv)
{
    auto *cur = reinterpret_cast<DbfCursor *>(base);
    cur->useList = false;
    cur->row = 0;
    cur->listPos = 0;
    if (idxNum > 0 && argc >= 1) {
        const std::size_t col = static_cast<std::size_t>(idxNum - 1);
        cur->useList = true;
        cur->list.clear();
        std::uint64_t key;
        if (keyOfValue(cur->table->fields()[col], argv[0], key))
            cur->table->lookup(col, key, cur->list);
    }
    settle(cur);
    return SQLITE_OK;
}

int next(sqlite3_vtab_cursor *base)
{
    auto *cur = reinterpret_cast<DbfCursor *>(base);
    if (cur->useList)
        ++cur->listPos;
    else
        ++cur->row;
    settle(cur);
    return SQLITE_OK;
}

int eof(sqlite3_vtab_cursor *base)
{
    return reinterpret_cast<DbfCursor *>(base)->eof;
}

int column(sqlite3_vtab_cursor *base, sqlite3_context *ctx, int col)
{
    // An UPDATE asks for the columns it leaves alone too; those come back empty and the
    // update takes their stored value as it is, without converting it twice.
    if (sqlite3_vtab_nochange(ctx))
        return SQLITE_OK;
    auto *cur = reinterpret_cast<DbfCursor *>(base);
    const dbf::RecordSet &rs = cur->table->rows();
    const std::size_t r = cur->row;
    const std::size_t c = static_cast<std::size_t>(col);
    if (col < 0 || c >= rs.columnCount())
        return SQLITE_OK;
    const dbf::Field &f = cur->table->fields()[c];
    switch (rs.kind(r, c)) {
    case dbf::ValueKind::Text: {
        std::string_view t = rs.text(r, c);
        while (!t.empty() && (t.back() == ' ' || t.back() == '\0'))
            t.remove_suffix(1);
        if (t.empty())
            sqlite3_result_null(ctx);
        else
            sqlite3_result_text(ctx, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        break;
    }
    case dbf::ValueKind::Number: {
        const double d = rs.number(r, c);
        if (f.decimals == 0 && (f.type == 'N' || f.type == 'I') && d > -9e15 && d < 9e15)
            sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(std::llround(d)));
        else
            sqlite3_result_double(ctx, d);
        break;
    }
    case dbf::ValueKind::Date: {
        const std::string iso = isoDate(rs.date(r, c));
        sqlite3_result_text(ctx, iso.data(), static_cast<int>(iso.size()), SQLITE_TRANSIENT);
        break;
    }
    case dbf::ValueKind::Logical: sqlite3_result_int(ctx, rs.logical(r, c) ? 1 : 0); break;
    case dbf::ValueKind::DateTime: sqlite3_result_double(ctx, rs.number(r, c)); break;
    default: sqlite3_result_null(ctx); break;
    }
    return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor *base, sqlite3_int64 *out)
{
    *out = static_cast<sqlite3_int64>(reinterpret_cast<DbfCursor *>(base)->row);
    return SQLITE_OK;
}

Value toValue(sqlite3_value *v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return Value::fromInteger(sqlite3_value_int64(v));
    case SQLITE_FLOAT: return Value::fromReal(sqlite3_value_double(v));
    case SQLITE_TEXT:
    case SQLITE_BLOB:
        return Value::fromText(std::string(reinterpret_cast<const char *>(sqlite3_value_text(v)),
                                           static_cast<std::size_t>(sqlite3_value_bytes(v))));
    default: return Value::null();
    }
}

bool writableType(char t)
{
    return std::strchr("CNFDLIM", t) != nullptr;
}

// Runs f, turning an exception into the virtual table's error message.
template <class F>
int guarded(sqlite3_vtab *vtab, F f)
{
    try {
        return f();
    } catch (const SqlError &e) {
        setError(vtab, e.message());
    } catch (const std::exception &e) {
        setError(vtab, e.what());
    }
    return SQLITE_ERROR;
}

int update(sqlite3_vtab *vtab, int argc, sqlite3_value **argv, sqlite3_int64 *newRowid)
{
    CachedTable &table = *reinterpret_cast<DbfVtab *>(vtab)->table;
    return guarded(vtab, [&]() -> int {
        if (argc == 1) {
            table.stageDelete(static_cast<std::size_t>(sqlite3_value_int64(argv[0])));
            return SQLITE_OK;
        }
        const bool insert = sqlite3_value_type(argv[0]) == SQLITE_NULL;
        const std::size_t row = insert ? 0 : static_cast<std::size_t>(sqlite3_value_int64(argv[0]));
        if (!insert && sqlite3_value_int64(argv[1]) != sqlite3_value_int64(argv[0])) {
            setError(vtab, "Row numbers cannot be changed");
            return SQLITE_ERROR;
        }
        const auto &fields = table.fields();
        if (!insert && row >= table.rowCount()) {
            setError(vtab, "Row " + std::to_string(row) + " does not exist");
            return SQLITE_ERROR;
        }
        dbf::Record rec(fields.size());
        for (std::size_t c = 0; c < fields.size() && static_cast<int>(c) + 2 < argc; ++c) {
            // Columns the UPDATE does not change, and columns of kinds the engine does
            // not write (memos and the like), keep their stored value.
            if (!insert && (!writableType(fields[c].type) || sqlite3_value_nochange(argv[c + 2]))) {
                rec[c] = table.rows().value(row, c);
                continue;
            }
            if (!writableType(fields[c].type))
                continue;
            rec[c] = toFieldValue(fields[c], toValue(argv[c + 2]));
        }
        if (insert) {
            table.stageInsert(std::move(rec));
            *newRowid = static_cast<sqlite3_int64>(table.rowCount());
        } else {
            table.stageUpdate(row, std::move(rec));
        }
        return SQLITE_OK;
    });
}

int begin(sqlite3_vtab *)
{
    return SQLITE_OK;
}

int sync(sqlite3_vtab *vtab)
{
    return guarded(vtab, [&] {
        reinterpret_cast<DbfVtab *>(vtab)->table->commitStaged();
        return SQLITE_OK;
    });
}

int commit(sqlite3_vtab *)
{
    return SQLITE_OK;
}

int rollback(sqlite3_vtab *vtab)
{
    reinterpret_cast<DbfVtab *>(vtab)->table->discardStaged();
    return SQLITE_OK;
}

sqlite3_module makeModule()
{
    sqlite3_module m{};
    m.iVersion = 1;
    m.xCreate = connect;
    m.xConnect = connect;
    m.xBestIndex = bestIndex;
    m.xDisconnect = disconnect;
    m.xDestroy = disconnect;
    m.xOpen = open;
    m.xClose = close;
    m.xFilter = filter;
    m.xNext = next;
    m.xEof = eof;
    m.xColumn = column;
    m.xRowid = rowid;
    m.xUpdate = update;
    m.xBegin = begin;
    m.xSync = sync;
    m.xCommit = commit;
    m.xRollback = rollback;
    return m;
}

const sqlite3_module kModule = makeModule();

} // namespace

std::string quoteWith(std::string_view text, char quote)
{
    std::string out(1, quote);
    for (char c : text) {
        if (c == quote)
            out += quote;
        out += c;
    }
    return out + quote;
}

const char *sqliteTypeOf(char fieldType, int decimals)
{
    switch (fieldType) {
    case 'N':
    case 'I': return decimals == 0 ? "INTEGER" : "REAL";
    case 'F':
    case 'Y':
    case 'B':
    case 'O':
    case 'T':
    case '@': return "REAL";
    case 'L': return "INTEGER";
    default: return "TEXT";
    }
}

void registerDbfModule(sqlite3 *db, std::function<std::shared_ptr<CachedTable>(const std::string &)> lookup)
{
    auto *holder = new Lookup(std::move(lookup));
    sqlite3_create_module_v2(db, "focaris_dbf", &kModule, holder, [](void *p) { delete static_cast<Lookup *>(p); });
}

} // namespace focaris::sql
