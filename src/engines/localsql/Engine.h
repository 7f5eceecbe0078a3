// The statement engine of the program: statements of the dialect on dBase tables named
// by path. Each statement is parsed, translated to SQLite SQL over virtual tables that
// read and write the .dbf files, and run. Relative table paths are taken inside the base
// folder; a table whose exact file name is absent is found whatever the case of its name.
//
// One engine serves one thread. Engines of one process share the parsed copies of the
// tables (TableCache), which are checked against their files at every statement.
#pragma once

#include "engines/localsql/ResultSet.h"
#include "engines/localsql/SqlError.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

struct sqlite3;

namespace focaris::sql {

class CachedTable;

class Engine {
public:
    explicit Engine(std::filesystem::path baseFolder = {});
    ~Engine();
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

    const std::filesystem::path &baseFolder() const { return base_; }
    void setBaseFolder(std::filesystem::path folder) { base_ = std::move(folder); }

    // Runs any statement; returns the rows it changed (for a SELECT, the rows it found;
    // 0 for CREATE, ALTER and DROP). Throws SqlError.
    std::int64_t execute(const std::string &statement);
    // Runs a SELECT and returns its rows. Throws SqlError (also for other statements).
    ResultSet query(const std::string &statement);

    // The file a table path of a statement names: backslashes read as folder separators,
    // relative paths taken in the base folder, ".dbf" added when the name has no
    // extension, and the name matched without regard to case when the exact one is absent.
    std::filesystem::path resolveTable(const std::string &pathText) const;

private:
    struct Bound {
        std::string vtab;
        std::shared_ptr<CachedTable> table;
        std::uint64_t layout = 0;
    };
    Bound &bind(const std::filesystem::path &resolved);
    void unbind(const std::filesystem::path &resolved);
    void forgetDeletedTables();
    std::int64_t run(const std::string &statement, ResultSet *result);
    std::int64_t restructure(const struct Statement &st, const std::string &statement);

    std::filesystem::path base_;
    sqlite3 *db_ = nullptr;
    std::map<std::string, Bound> bound_;
    std::map<std::string, std::shared_ptr<CachedTable>> byId_;
    int nextId_ = 0;
};

} // namespace focaris::sql
