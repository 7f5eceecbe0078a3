// The rows of a statement's result as texts "a|b|c" (NULL as "~"), for comparing results
// in tests at a glance.
#pragma once

#include "engines/localsql/ResultSet.h"

#include <string>
#include <vector>

namespace focaris::test {

using Rows = std::vector<std::string>;

inline Rows rowsOf(const sql::ResultSet &r)
{
    Rows out;
    for (const auto &row : r.rows()) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c)
            line += (c ? "|" : "") + (row[c].isNull() ? std::string("~") : row[c].toString());
        out.push_back(line);
    }
    return out;
}

} // namespace focaris::test
