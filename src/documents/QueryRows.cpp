// A SELECT's rows seen as the workbook filler's query.
#include "documents/QueryRows.h"

#include "documents/PrintedValues.h"

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
    const sql::Value &v = rows_.value(only_ ? (*only_)[r] : r, std::size_t(c));
    using K = xls::FieldValue::Kind;
    switch (v.kind) {
    case sql::Value::Text: return {K::Text, v.text, 0};
    case sql::Value::Integer:
    case sql::Value::Real:
        // The compensation percentage as the dispositions print it (80.5 is 80), not as
        // the cell's format would round it.
        return {
            K::Number, {}, rows_.columnName(std::size_t(c)) == "CUANTUM" ? WholePercent(v.toDouble()) : v.toDouble()};
    // Day numbers count from 1 January 1970, which is day 25569 of the spreadsheet.
    case sql::Value::Date: return {K::Date, {}, double(v.date) + 25569};
    default: return {};
    }
}

} // namespace focaris::documents
