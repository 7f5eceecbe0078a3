// focaris-tool sql FOLDER STATEMENT: runs one statement of the program's dialect on the
// tables of FOLDER (relative table names are taken there). A SELECT prints CSV: a header
// row, UTF-8, dates dd.mm.yyyy, numbers in their shortest decimal form, NULL as empty;
// any other statement prints rows=N.
#include "tool/Command.h"

#include "engines/dbase/DbfDump.h"
#include "engines/localsql/Engine.h"

#include <cstdio>
#include <string>

namespace focaris::tool {
namespace {

int runSql(const Args &args)
{
    expectCount(args, 2, "sql FOLDER STATEMENT");
    sql::Engine engine(args[0]);
    const std::string &statement = args[1];
    std::size_t start = statement.find_first_not_of(" \t\r\n(");
    const bool isSelect = start != std::string::npos && statement.size() >= start + 6 &&
                          (statement.compare(start, 6, "SELECT") == 0 || statement.compare(start, 6, "select") == 0 ||
                           statement.compare(start, 6, "Select") == 0);
    if (!isSelect) {
        std::printf("rows=%lld\n", static_cast<long long>(engine.execute(statement)));
        return 0;
    }
    const sql::ResultSet r = engine.query(statement);
    std::string out;
    for (std::size_t c = 0; c < r.columnCount(); ++c)
        out += (c ? "," : "") + dbf::csvField(r.columnName(c));
    out += '\n';
    for (const auto &row : r.rows()) {
        for (std::size_t c = 0; c < row.size(); ++c)
            out += (c ? "," : "") + dbf::csvField(row[c].toString());
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

Registration r("sql", "sql FOLDER STATEMENT   run a statement on the tables of FOLDER (SELECT prints CSV)", runSql);

} // namespace
} // namespace focaris::tool
