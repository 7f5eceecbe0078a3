// Look-ups of the in-memory result set.
#include "engines/localsql/ResultSet.h"

#include "engines/common/Codepage.h"

#include <stdexcept>

namespace focaris::sql {

int ResultSet::columnIndex(std::string_view name) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (text::equalsIgnoreAsciiCase(columns_[i].name, name))
            return static_cast<int>(i);
    return -1;
}

const Value &ResultSet::value(std::size_t r, std::string_view column) const {
    const int c = columnIndex(column);
    if (c < 0)
        throw std::out_of_range("Result has no column " + std::string(column));
    return value(r, static_cast<std::size_t>(c));
}

ResultSet ResultSet::filtered(const std::function<bool(const ResultSet &, std::size_t)> &keep) const {
    std::vector<Row> rows;
    for (std::size_t r = 0; r < rows_.size(); ++r)
        if (keep(*this, r))
            rows.push_back(rows_[r]);
    return ResultSet(columns_, std::move(rows));
}

} // namespace focaris::sql
