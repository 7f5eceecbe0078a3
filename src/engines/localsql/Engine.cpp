// Running statements: parse, bind the tables, translate, execute.
#include "engines/localsql/Engine.h"

#include "engines/common/Codepage.h"
#include "engines/common/FileNames.h"
#include "engines/dbase/DbfTable.h"
#include "engines/localsql/CachedTable.h"
#include "engines/localsql/Parser.h"
#include "engines/localsql/Translator.h"
#include "engines/localsql/VirtualTable.h"

#include <sqlite3.h>

#include <cstring>
#include <set>

namespace focaris::sql {

namespace {

// A date as SQLite hands it back: "yyyy-mm-dd" read directly (the form the tables give),
// any other form through parseDate.
bool readDate(std::string_view text, std::int32_t &days)
{
    if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        int digits[8], k = 0;
        for (std::size_t i = 0; i < 10; ++i) {
            if (i == 4 || i == 7)
                continue;
            if (text[i] < '0' || text[i] > '9')
                return parseDate(std::string(text), days);
            digits[k++] = text[i] - '0';
        }
        const int y = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
        const int m = digits[4] * 10 + digits[5], d = digits[6] * 10 + digits[7];
        if (!dbf::isValidDate(y, m, d))
            return false;
        days = dbf::daysFromCivil(y, m, d);
        return true;
    }
    return parseDate(std::string(text), days);
}

std::string textArg(sqlite3_value *v)
{
    const unsigned char *t = sqlite3_value_text(v);
    return t ? std::string(reinterpret_cast<const char *>(t), static_cast<std::size_t>(sqlite3_value_bytes(v)))
             : std::string();
}

// foc_str(x): the text of a value, numbers in their shortest form; NULL stays NULL.
void focStr(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL: sqlite3_result_null(ctx); return;
    case SQLITE_INTEGER: {
        const std::string s = std::to_string(sqlite3_value_int64(argv[0]));
        sqlite3_result_text(ctx, s.c_str(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        return;
    }
    case SQLITE_FLOAT: {
        const std::string s = formatNumber(sqlite3_value_double(argv[0]));
        sqlite3_result_text(ctx, s.c_str(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        return;
    }
    default: sqlite3_result_value(ctx, argv[0]);
    }
}

// foc_dmy(x): an ISO date text as dd.mm.yyyy.
void focDmy(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    std::int32_t days;
    if (parseDate(textArg(argv[0]), days)) {
        const std::string s = formatDate(days);
        sqlite3_result_text(ctx, s.c_str(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    } else {
        sqlite3_result_value(ctx, argv[0]);
    }
}

// foc_date(x): a date text (dd.mm.yyyy or ISO) as an ISO date; anything else NULL.
void focDate(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    std::int32_t days;
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT && parseDate(textArg(argv[0]), days)) {
        const std::string iso = isoDate(days);
        sqlite3_result_text(ctx, iso.data(), static_cast<int>(iso.size()), SQLITE_TRANSIENT);
    } else {
        sqlite3_result_null(ctx);
    }
}

// Writes the rows of an INSERT of constants straight to the table: each value is fitted to
// its column as the SQLite path does, every row before the first write, so that a value
// that does not fit writes nothing.
std::int64_t insertDirect(const Translator::Output &out)
{
    CachedTable &table = *out.directTable;
    const auto &fields = table.fields();
    try {
        for (const std::vector<Value> &row : out.directRows) {
            dbf::Record rec(fields.size());
            for (std::size_t i = 0; i < row.size(); ++i) {
                const auto target = static_cast<std::size_t>(out.directTargets[i]);
                rec[target] = toFieldValue(fields[target], row[i]);
            }
            table.stageInsert(std::move(rec));
        }
    } catch (...) {
        table.discardStaged();
        throw;
    }
    table.commitStaged();
    return static_cast<std::int64_t>(out.directRows.size());
}

} // namespace

Engine::Engine(std::filesystem::path baseFolder) : base_(std::move(baseFolder))
{
    if (sqlite3_open(":memory:", &db_) != SQLITE_OK)
        throw SqlError("Cannot start the SQL engine");
    registerDbfModule(db_, [this](const std::string &id) -> std::shared_ptr<CachedTable> {
        auto it = byId_.find(id);
        return it == byId_.end() ? nullptr : it->second;
    });
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db_, "foc_str", 1, flags, nullptr, focStr, nullptr, nullptr);
    sqlite3_create_function(db_, "foc_dmy", 1, flags, nullptr, focDmy, nullptr, nullptr);
    sqlite3_create_function(db_, "foc_date", 1, flags, nullptr, focDate, nullptr, nullptr);
    // Texts compare exactly, LIKE included.
    sqlite3_exec(db_, "PRAGMA case_sensitive_like=ON; PRAGMA temp_store=MEMORY;", nullptr, nullptr, nullptr);
}

Engine::~Engine()
{
    if (db_)
        sqlite3_close_v2(db_);
}

std::filesystem::path Engine::resolveTable(const std::string &pathText) const
{
    std::string p = pathText;
    for (char &c : p)
        if (c == '\\')
            c = '/';
    std::filesystem::path path(p);
    if (path.is_relative() && !base_.empty())
        path = base_ / path;
    if (!path.has_extension())
        path += ".dbf";
    return files::resolveCaseInsensitive(path.lexically_normal());
}

Engine::Bound &Engine::bind(const std::filesystem::path &resolved)
{
    const std::string key = resolved.string();
    auto it = bound_.find(key);
    std::shared_ptr<CachedTable> table = TableCache::instance().table(resolved);
    table->refresh();
    if (it != bound_.end() && it->second.table == table && it->second.layout == table->layoutVersion())
        return it->second;
    if (it != bound_.end())
        unbind(resolved);
    Bound b;
    const std::string id = std::to_string(++nextId_);
    b.vtab = "vt" + id;
    b.table = table;
    b.layout = table->layoutVersion();
    byId_[id] = table;
    const std::string sql = "CREATE VIRTUAL TABLE temp." + quoteIdentifier(b.vtab) + " USING focaris_dbf(" + id + ")";
    char *err = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string msg = err ? err : "cannot open the table";
        sqlite3_free(err);
        byId_.erase(id);
        throw SqlError(msg + ": " + key);
    }
    return bound_[key] = b;
}

void Engine::unbind(const std::filesystem::path &resolved)
{
    auto it = bound_.find(resolved.string());
    if (it == bound_.end())
        return;
    const std::string sql = "DROP TABLE IF EXISTS temp." + quoteIdentifier(it->second.vtab);
    sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    byId_.erase(it->second.vtab.substr(2));
    bound_.erase(it);
}

// Operations make and delete temporary tables all the time; the copies of tables whose
// files are gone are dropped so that they do not hold memory for the rest of the run.
void Engine::forgetDeletedTables()
{
    if (bound_.size() < 8)
        return;
    std::vector<std::string> gone;
    for (const auto &[path, b] : bound_) {
        std::error_code ec;
        if (!std::filesystem::exists(path, ec))
            gone.push_back(path);
    }
    for (const std::string &path : gone) {
        unbind(path);
        TableCache::instance().forget(path);
    }
}

std::int64_t Engine::execute(const std::string &statement)
{
    return run(statement, nullptr);
}

ResultSet Engine::query(const std::string &statement)
{
    ResultSet result;
    run(statement, &result);
    return result;
}

std::int64_t Engine::run(const std::string &statement, ResultSet *result)
{
    forgetDeletedTables();
    try {
        Statement st = parseStatement(statement);
        if (result && st.kind != Statement::SelectStmt)
            throw SqlError("Only a SELECT returns rows", statement, 0, "");
        if (st.kind == Statement::CreateTable || st.kind == Statement::AlterTable || st.kind == Statement::DropTable)
            return restructure(st, statement);
        // Emptying a table (as the month operations do with their fresh copies of the
        // large tables) needs no row of it in memory.
        if (st.kind == Statement::Delete && !st.where) {
            const std::filesystem::path resolved = resolveTable(st.table.path);
            try {
                return TableCache::instance().table(resolved)->deleteAll();
            } catch (const SqlError &e) {
                throw SqlError(e.message(), statement, st.table.pos, "\"" + st.table.path + "\"");
            }
        }

        // Every table is refreshed once per statement, however often it is named.
        std::map<std::string, TableBinding> seen;
        Translator translator(statement, [&](const TableRef &ref) -> TableBinding {
            const std::filesystem::path resolved = resolveTable(ref.path);
            auto it = seen.find(resolved.string());
            if (it != seen.end())
                return it->second;
            try {
                Bound &b = bind(resolved);
                return seen[resolved.string()] = TableBinding{b.vtab, b.table};
            } catch (const SqlError &e) {
                throw SqlError(e.message(), statement, ref.pos, "\"" + ref.path + "\"");
            }
        });
        Translator::Output out = translator.translate(st);
        if (out.direct)
            return insertDirect(out);

        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db_, out.sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            throw SqlError(sqlite3_errmsg(db_), statement);
        std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> guard(stmt, sqlite3_finalize);
        const std::size_t n = out.columns.size();
        ResultSet rows(out.columns);
        std::int64_t count = 0;
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            ++count;
            if (!result)
                continue;
            rows.addRow();
            for (std::size_t c = 0; c < n; ++c) {
                const int ci = static_cast<int>(c);
                switch (sqlite3_column_type(stmt, ci)) {
                case SQLITE_NULL: break;
                case SQLITE_INTEGER: rows.setInteger(c, sqlite3_column_int64(stmt, ci)); break;
                case SQLITE_FLOAT: rows.setReal(c, sqlite3_column_double(stmt, ci)); break;
                default: {
                    const char *t = reinterpret_cast<const char *>(sqlite3_column_text(stmt, ci));
                    const std::string_view text(t ? t : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, ci)));
                    std::int32_t days;
                    if (out.columns[c].type == ColumnType::Date && readDate(text, days))
                        rows.setDate(c, days);
                    else if (out.columns[c].type == ColumnType::Number)
                        rows.setReal(c, Value::fromText(std::string(text)).toDouble());
                    else
                        rows.setText(c, text);
                }
                }
            }
        }
        if (rc != SQLITE_DONE)
            throw SqlError(sqlite3_errmsg(db_), statement);
        if (result)
            *result = std::move(rows);
        if (st.kind == Statement::SelectStmt)
            return count;
        return sqlite3_changes64(db_);
    } catch (const SqlError &e) {
        throw e.withStatement(statement);
    }
}

std::int64_t Engine::restructure(const Statement &st, const std::string &statement)
{
    const std::filesystem::path path = resolveTable(st.table.path);
    auto fail = [&](const std::string &message, long pos, const std::string &token) {
        throw SqlError(message, statement, pos, token);
    };
    auto toDef = [](const ColumnDef &c) {
        dbf::ColumnDef d;
        d.name = c.name;
        d.type = c.type == 'F' ? 'N' : c.type;
        d.length = c.length;
        d.decimals = c.decimals;
        return d;
    };
    try {
        if (st.kind == Statement::CreateTable) {
            if (std::filesystem::exists(path))
                fail("Table already exists: " + path.string(), st.table.pos, "\"" + st.table.path + "\"");
            std::vector<dbf::ColumnDef> defs;
            std::set<std::string> names;
            for (const ColumnDef &c : st.addColumns) {
                if (!names.insert(c.name).second)
                    fail("Column " + c.name + " given twice", c.pos, c.name);
                defs.push_back(toDef(c));
            }
            dbf::DbfTable::create(path, defs);
        } else if (st.kind == Statement::AlterTable) {
            if (!std::filesystem::exists(path))
                fail("Table does not exist: " + path.string(), st.table.pos, "\"" + st.table.path + "\"");
            // Every change is checked before the file is touched.
            std::vector<std::string> existing;
            {
                dbf::DbfTable t(path, true);
                for (const auto &f : t.fields())
                    existing.push_back(f.name);
            }
            auto has = [&](const std::string &name) {
                for (const auto &e : existing)
                    if (text::equalsIgnoreAsciiCase(e, name))
                        return true;
                return false;
            };
            std::vector<dbf::ColumnDef> adds;
            for (const ColumnDef &c : st.addColumns) {
                if (has(c.name))
                    fail("Column " + c.name + " already exists", c.pos, c.name);
                adds.push_back(toDef(c));
                existing.push_back(c.name);
            }
            for (const std::string &d : st.dropColumns)
                if (!has(d))
                    fail("Unknown column " + d, st.table.pos, d);
            if (!adds.empty())
                dbf::DbfTable::addColumns(path, adds);
            if (!st.dropColumns.empty())
                dbf::DbfTable::dropColumns(path, st.dropColumns);
        } else {
            if (!std::filesystem::exists(path))
                fail("Table does not exist: " + path.string(), st.table.pos, "\"" + st.table.path + "\"");
            std::filesystem::remove(path);
        }
    } catch (const SqlError &) {
        unbind(path);
        TableCache::instance().forget(path);
        throw;
    } catch (const std::exception &e) {
        unbind(path);
        TableCache::instance().forget(path);
        throw SqlError(e.what(), statement);
    }
    unbind(path);
    TableCache::instance().forget(path);
    return 0;
}

} // namespace focaris::sql
