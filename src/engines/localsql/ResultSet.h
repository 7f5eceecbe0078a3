// The rows a SELECT returned, held in memory: column names (as written or aliased, upper
// case), each column's type and the values. Callers read by column name, walk the rows,
// filter and count.
#pragma once

#include "engines/localsql/Value.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace focaris::sql {

struct ResultColumn {
    std::string name;
    ColumnType type = ColumnType::Text;
};

class ResultSet {
public:
    using Row = std::vector<Value>;

    ResultSet() = default;
    ResultSet(std::vector<ResultColumn> columns, std::vector<Row> rows)
        : columns_(std::move(columns)), rows_(std::move(rows)) {}

    const std::vector<ResultColumn> &columns() const { return columns_; }
    std::size_t columnCount() const { return columns_.size(); }
    const std::string &columnName(std::size_t i) const { return columns_.at(i).name; }
    ColumnType columnType(std::size_t i) const { return columns_.at(i).type; }
    // Index of the first column of that name (ASCII case ignored), or -1.
    int columnIndex(std::string_view name) const;
    bool hasColumn(std::string_view name) const { return columnIndex(name) >= 0; }

    std::size_t rowCount() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    const std::vector<Row> &rows() const { return rows_; }
    const Row &row(std::size_t r) const { return rows_.at(r); }
    const Value &value(std::size_t r, std::size_t c) const { return rows_.at(r).at(c); }
    // Throws std::out_of_range for an unknown column name.
    const Value &value(std::size_t r, std::string_view column) const;

    // The rows for which keep() is true, with the same columns.
    ResultSet filtered(const std::function<bool(const ResultSet &, std::size_t row)> &keep) const;

private:
    std::vector<ResultColumn> columns_;
    std::vector<Row> rows_;
};

} // namespace focaris::sql
