// A SELECT's rows seen as the workbook filler's query, so that the documents hand their
// result sets to FillRows without copying them.
#pragma once

#include "engines/localsql/ResultSet.h"
#include "engines/xls/RowSource.h"

namespace focaris::documents {

class QueryRows : public xls::RowSource {
public:
    // The result set must outlive this object.
    explicit QueryRows(const sql::ResultSet &rows) : rows_(rows) {}
    int columnCount() const override { return int(rows_.columnCount()); }
    std::string columnName(int c) const override { return rows_.columnName(std::size_t(c)); }
    xls::ColumnKind columnKind(int c) const override;
    std::size_t rowCount() const override { return rows_.rowCount(); }
    xls::FieldValue value(std::size_t r, int c) const override;

private:
    const sql::ResultSet &rows_;
};

} // namespace focaris::documents
