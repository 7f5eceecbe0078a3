// A SELECT's rows seen as the workbook filler's query.
#include "documents/QueryRows.h"

#include "documents/PrintedValues.h"

#include <stdexcept>

namespace focaris::documents {

xls::ColumnKind QueryRows::columnKind(int c) const
{
    switch (rows_.columnType(std::size_t(c))) {
    case sql::ColumnType::Text: return xls::ColumnKind::Text;
    case sql::ColumnType::Date: return xls::ColumnKind::Date;
    default: return xls::ColumnKind::Number;
    }
}

xls::FieldValue QueryRows::value(std::size_t r, int c) const
{
    // The cell is read in place: a payment statement asks for every cell of the month once,
    // and making a Value for each would copy every text twice.
    const std::size_t row = only_ ? (*only_)[r] : r;
    const auto column = std::size_t(c);
    if (row >= rows_.rowCount() || c < 0 || column >= rows_.columnCount())
        throw std::out_of_range("QueryRows: cell outside the result");
    using K = xls::FieldValue::Kind;
    switch (rows_.kind(row, column)) {
    case sql::Value::Text: return {K::Text, std::string(rows_.text(row, column)), 0};
    case sql::Value::Integer:
    case sql::Value::Real: {
        // The compensation percentage as the dispositions print it (80.5 is 80), not as
        // the cell's format would round it.
        const double n = rows_.number(row, column);
        return {K::Number, {}, rows_.columnName(column) == "CUANTUM" ? WholePercent(n) : n};
    }
    // Day numbers count from 1 January 1970, which is day 25569 of the spreadsheet.
    case sql::Value::Date: return {K::Date, {}, double(rows_.date(row, column)) + 25569};
    default: return {};
    }
}

} // namespace focaris::documents
