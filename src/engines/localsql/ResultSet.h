// The rows a SELECT returned, held in memory: column names (as written or aliased, upper
// case), each column's type and the values. Callers read by column name, walk the rows,
// filter and count.
//
// The values are kept lean, because a month's list is some 12,000 rows of 50 columns and
// one heap block per cell made the read cost more than the query: every column is one
// array of 16-byte cells (numbers and dates held in the cell, texts as a place in one
// shared text buffer), so a whole result takes a few allocations. A Value is made only
// when a caller asks for one; text(), number() and kind() read a cell without making it.
#pragma once

#include "engines/localsql/Value.h"

#include <cstdint>
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
    struct Cell {
        union {
            std::int64_t integer;
            double real;
            std::int32_t date;
            std::uint64_t offset; // of a text in texts_
        };
        std::uint32_t length; // of a text
        std::uint8_t kind;    // Value::Kind
    };

public:
    // One row, read through its result set (valid while the result set lives unchanged).
    class Row {
    public:
        Row(const ResultSet &set, std::size_t row) : set_(&set), row_(row) {}
        std::size_t size() const { return set_->columnCount(); }
        Value operator[](std::size_t c) const { return set_->value(row_, c); }
        Value at(std::size_t c) const { return set_->value(row_, c); }
        std::size_t index() const { return row_; }

    private:
        const ResultSet *set_;
        std::size_t row_;
    };

    class RowIterator {
    public:
        RowIterator(const ResultSet &set, std::size_t row) : set_(&set), row_(row) {}
        Row operator*() const { return Row(*set_, row_); }
        RowIterator &operator++()
        {
            ++row_;
            return *this;
        }
        bool operator!=(const RowIterator &o) const { return row_ != o.row_; }
        bool operator==(const RowIterator &o) const { return row_ == o.row_; }

    private:
        const ResultSet *set_;
        std::size_t row_;
    };

    struct Rows {
        const ResultSet *set;
        RowIterator begin() const { return RowIterator(*set, 0); }
        RowIterator end() const { return RowIterator(*set, set->rowCount()); }
        std::size_t size() const { return set->rowCount(); }
        bool empty() const { return set->rowCount() == 0; }
    };

    ResultSet() = default;
    explicit ResultSet(std::vector<ResultColumn> columns);
    // From rows of values (tests and small computed results).
    ResultSet(std::vector<ResultColumn> columns, const std::vector<std::vector<Value>> &rows);

    const std::vector<ResultColumn> &columns() const { return columns_; }
    std::size_t columnCount() const { return columns_.size(); }
    const std::string &columnName(std::size_t i) const { return columns_.at(i).name; }
    ColumnType columnType(std::size_t i) const { return columns_.at(i).type; }
    // Index of the first column of that name (ASCII case ignored), or -1.
    int columnIndex(std::string_view name) const;
    bool hasColumn(std::string_view name) const { return columnIndex(name) >= 0; }

    std::size_t rowCount() const { return rows_; }
    bool empty() const { return rows_ == 0; }
    Rows rows() const { return Rows{this}; }
    Row row(std::size_t r) const;
    // The value of a cell, made on request. Throws std::out_of_range outside the result.
    Value value(std::size_t r, std::size_t c) const;
    // Throws std::out_of_range for an unknown column name.
    Value value(std::size_t r, std::string_view column) const;

    // A cell read in place, without making a Value: its kind, its text (empty unless a
    // text), its number (Integer or Real, else 0) and its day number (Date, else 0).
    // The indexes must lie inside the result.
    Value::Kind kind(std::size_t r, std::size_t c) const { return Value::Kind(cell(r, c).kind); }
    std::string_view text(std::size_t r, std::size_t c) const;
    double number(std::size_t r, std::size_t c) const;
    std::int32_t date(std::size_t r, std::size_t c) const;

    // The rows for which keep() is true, with the same columns.
    ResultSet filtered(const std::function<bool(const ResultSet &, std::size_t row)> &keep) const;

    // Building, as the engine reads its rows: addRow() starts a row of NULLs, the set*()
    // calls fill its cells.
    void reserve(std::size_t rows);
    void addRow();
    void setInteger(std::size_t c, std::int64_t v) { last(c) = make(Value::Integer, v); }
    void setReal(std::size_t c, double v);
    void setDate(std::size_t c, std::int32_t days);
    void setText(std::size_t c, std::string_view t);
    void set(std::size_t c, const Value &v);

private:
    const Cell &cell(std::size_t r, std::size_t c) const { return cells_[c][r]; }
    Cell &last(std::size_t c) { return cells_[c].back(); }
    static Cell make(Value::Kind kind, std::int64_t integer);

    std::vector<ResultColumn> columns_;
    std::vector<std::vector<Cell>> cells_; // one array per column
    std::string texts_;                    // every text of the result, one after another
    std::size_t rows_ = 0;
};

} // namespace focaris::sql
