// A data folder in a test context, with the three tables created and helpers to look at
// them.
#pragma once

#include "TestSupport.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Tables.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <string>
#include <vector>

namespace focaris::test {

using Rows = std::vector<std::string>;

class StoreFolder : public ::testing::Test {
protected:
    TempDir dir;

    void SetUp() override {
        InitContextForTests(dir.qpath());
        CreateTables();
    }
    QString table(const char *name) const { return Quoted(TablePath(name)); }
    // Rows of a SELECT as "a|b|c" (NULL as "~").
    Rows rows(const QString &statement) {
        Rows out;
        const sql::ResultSet r = QuerySql(statement);
        for (const auto &row : r.rows()) {
            std::string line;
            for (std::size_t c = 0; c < row.size(); ++c)
                line += (c ? "|" : "") + (row[c].isNull() ? std::string("~") : row[c].toString());
            out.push_back(line);
        }
        return out;
    }
};

} // namespace focaris::test
