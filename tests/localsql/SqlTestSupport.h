// A scratch folder with an engine on it, and short ways to look at results.
#pragma once

#include "SqlRows.h"
#include "TestSupport.h"
#include "engines/localsql/Engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace focaris::test {

class SqlFolder : public ::testing::Test {
protected:
    TempDir dir;
    sql::Engine engine{dir.path()};

    std::int64_t exec(const std::string &s) { return engine.execute(s); }
    sql::ResultSet query(const std::string &s) { return engine.query(s); }
    // The rows of a SELECT as texts "a|b|c" (NULL as "~").
    Rows rows(const std::string &s) { return rowsOf(engine.query(s)); }
    // The message of the SqlError a statement raises ("" when it succeeds).
    std::string errorOf(const std::string &s)
    {
        try {
            engine.execute(s);
        } catch (const sql::SqlError &e) {
            return e.what();
        }
        return {};
    }
};

} // namespace focaris::test
