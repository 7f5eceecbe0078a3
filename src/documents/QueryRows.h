// A SELECT's rows seen as the workbook filler's query, so that the documents hand their
// result sets to FillRows without copying them.
#pragma once

#include "engines/localsql/ResultSet.h"
#include "engines/xls/RowSource.h"

#include <utility>
#include <vector>

namespace focaris::documents {

class QueryRows : public xls::RowSource {
public:
    // The result set (and the row list) must outlive this object. With `only`, the query
    // holds those rows of the result, in that order, without copying them.
    explicit QueryRows(const sql::ResultSet &rows, const std::vector<std::size_t> *only = nullptr)
        : rows_(rows), only_(only)
    {
    }
    int columnCount() const override { return int(rows_.columnCount()); }
    std::string columnName(int c) const override { return rows_.columnName(std::size_t(c)); }
    xls::ColumnKind columnKind(int c) const override;
    std::size_t rowCount() const override { return only_ ? only_->size() : rows_.rowCount(); }
    xls::FieldValue value(std::size_t r, int c) const override;

private:
    const sql::ResultSet &rows_;
    const std::vector<std::size_t> *only_;
};

// The result set a ResultRows keeps; a base of its own so that it is made before the
// query that reads it.
struct KeptResult {
    sql::ResultSet kept;
};

// The same over a result set it keeps, for a caller that has no other use for it.
class ResultRows : private KeptResult, public QueryRows {
public:
    explicit ResultRows(sql::ResultSet rows) : KeptResult{std::move(rows)}, QueryRows(kept) {}
    // A copy would read the result set of the original.
    ResultRows(const ResultRows &) = delete;
    ResultRows &operator=(const ResultRows &) = delete;
};

} // namespace focaris::documents
