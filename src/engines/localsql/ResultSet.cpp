// Look-ups and building of the in-memory result set.
#include "engines/localsql/ResultSet.h"

#include "engines/common/Codepage.h"

#include <stdexcept>

namespace focaris::sql {

ResultSet::ResultSet(std::vector<ResultColumn> columns) : columns_(std::move(columns)), cells_(columns_.size()) {}

ResultSet::ResultSet(std::vector<ResultColumn> columns, const std::vector<std::vector<Value>> &rows)
    : ResultSet(std::move(columns))
{
    reserve(rows.size());
    for (const auto &row : rows) {
        addRow();
        for (std::size_t c = 0; c < row.size() && c < cells_.size(); ++c)
            set(c, row[c]);
    }
}

ResultSet::Cell ResultSet::make(Value::Kind kind, std::int64_t integer)
{
    Cell cell;
    cell.integer = integer;
    cell.length = 0;
    cell.kind = static_cast<std::uint8_t>(kind);
    return cell;
}

int ResultSet::columnIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (text::equalsIgnoreAsciiCase(columns_[i].name, name))
            return static_cast<int>(i);
    return -1;
}

ResultSet::Row ResultSet::row(std::size_t r) const
{
    if (r >= rows_)
        throw std::out_of_range("Result has no row " + std::to_string(r));
    return Row(*this, r);
}

Value ResultSet::value(std::size_t r, std::size_t c) const
{
    if (r >= rows_ || c >= cells_.size())
        throw std::out_of_range("Result has no cell " + std::to_string(r) + ", " + std::to_string(c));
    const Cell &x = cell(r, c);
    switch (x.kind) {
    case Value::Text: return Value::fromText(std::string(texts_.data() + x.offset, x.length));
    case Value::Integer: return Value::fromInteger(x.integer);
    case Value::Real: return Value::fromReal(x.real);
    case Value::Date: return Value::fromDate(x.date);
    default: return Value::null();
    }
}

Value ResultSet::value(std::size_t r, std::string_view column) const
{
    const int c = columnIndex(column);
    if (c < 0)
        throw std::out_of_range("Result has no column " + std::string(column));
    return value(r, static_cast<std::size_t>(c));
}

std::string_view ResultSet::text(std::size_t r, std::size_t c) const
{
    const Cell &x = cell(r, c);
    return x.kind == Value::Text ? std::string_view(texts_.data() + x.offset, x.length) : std::string_view();
}

double ResultSet::number(std::size_t r, std::size_t c) const
{
    const Cell &x = cell(r, c);
    return x.kind == Value::Integer ? static_cast<double>(x.integer) : x.kind == Value::Real ? x.real : 0;
}

std::int32_t ResultSet::date(std::size_t r, std::size_t c) const
{
    const Cell &x = cell(r, c);
    return x.kind == Value::Date ? x.date : 0;
}

ResultSet ResultSet::filtered(const std::function<bool(const ResultSet &, std::size_t)> &keep) const
{
    ResultSet out(columns_);
    for (std::size_t r = 0; r < rows_; ++r) {
        if (!keep(*this, r))
            continue;
        out.addRow();
        for (std::size_t c = 0; c < cells_.size(); ++c) {
            const Cell &x = cell(r, c);
            if (x.kind == Value::Text)
                out.setText(c, text(r, c));
            else
                out.last(c) = x;
        }
    }
    return out;
}

void ResultSet::reserve(std::size_t rows)
{
    for (auto &column : cells_)
        column.reserve(rows);
}

void ResultSet::addRow()
{
    for (auto &column : cells_)
        column.push_back(make(Value::Null, 0));
    ++rows_;
}

void ResultSet::setReal(std::size_t c, double v)
{
    Cell &x = last(c);
    x.real = v;
    x.kind = Value::Real;
}

void ResultSet::setDate(std::size_t c, std::int32_t days)
{
    Cell &x = last(c);
    x.integer = 0;
    x.date = days;
    x.kind = Value::Date;
}

void ResultSet::setText(std::size_t c, std::string_view t)
{
    if (t.size() > UINT32_MAX)
        throw std::length_error("text too long for a result");
    Cell &x = last(c);
    x.offset = texts_.size();
    x.length = static_cast<std::uint32_t>(t.size());
    x.kind = Value::Text;
    texts_.append(t);
}

void ResultSet::set(std::size_t c, const Value &v)
{
    switch (v.kind) {
    case Value::Text: setText(c, v.text); break;
    case Value::Integer: setInteger(c, v.integer); break;
    case Value::Real: setReal(c, v.real); break;
    case Value::Date: setDate(c, v.date); break;
    default: last(c) = make(Value::Null, 0); break;
    }
}

} // namespace focaris::sql
