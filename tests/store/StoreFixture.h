// A data folder in a test context, with the three tables created and helpers to look at
// them.
#pragma once

#include "SqlRows.h"
#include "TestSupport.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Tables.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <string>
#include <vector>

namespace focaris::test {

class StoreFolder : public ::testing::Test {
protected:
    TempDir dir;

    void SetUp() override
    {
        InitContextForTests(dir.qpath());
        CreateTables();
    }
    QString table(const char *name) const { return Quoted(TablePath(name)); }
    // Rows of a SELECT as "a|b|c" (NULL as "~").
    Rows rows(const QString &statement) { return rowsOf(QuerySql(statement)); }
};

} // namespace focaris::test
