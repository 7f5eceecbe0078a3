// Value conversions shared by the result sets, the cursor and the virtual tables.
#include "engines/localsql/Value.h"

#include "engines/dbase/DbfTable.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace focaris::sql {

Value Value::fromText(std::string t)
{
    Value v;
    v.kind = Text;
    v.text = std::move(t);
    return v;
}
Value Value::fromInteger(std::int64_t n)
{
    Value v;
    v.kind = Integer;
    v.integer = n;
    return v;
}
Value Value::fromReal(double d)
{
    Value v;
    v.kind = Real;
    v.real = d;
    return v;
}
Value Value::fromDate(std::int32_t days)
{
    Value v;
    v.kind = Date;
    v.date = days;
    return v;
}
Value Value::fromDate(int year, int month, int day)
{
    return fromDate(dbf::daysFromCivil(year, month, day));
}

double Value::toDouble() const
{
    switch (kind) {
    case Integer: return static_cast<double>(integer);
    case Real: return real;
    case Text: {
        char *end = nullptr;
        const double d = std::strtod(text.c_str(), &end);
        return end && end != text.c_str() ? d : 0;
    }
    default: return 0;
    }
}

std::int64_t Value::toInt() const
{
    if (kind == Integer)
        return integer;
    const double d = toDouble();
    if (!std::isfinite(d) || std::fabs(d) > 9.2e18)
        return 0;
    return static_cast<std::int64_t>(d);
}

std::string Value::toString() const
{
    switch (kind) {
    case Text: return text;
    case Integer: return std::to_string(integer);
    case Real: return formatNumber(real);
    case Date: return formatDate(date);
    default: return {};
    }
}

bool Value::operator==(const Value &o) const
{
    if (kind != o.kind)
        return false;
    switch (kind) {
    case Text: return text == o.text;
    case Integer: return integer == o.integer;
    case Real: return real == o.real;
    case Date: return date == o.date;
    default: return true;
    }
}

std::string formatNumber(double value)
{
    if (value == 0)
        return "0";
    if (std::fabs(value) < 9e15 && value == std::trunc(value))
        return std::to_string(static_cast<std::int64_t>(value));
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    std::string s(buf, r.ptr);
    // to_chars may choose scientific notation for very small or large values; the files
    // the program writes want plain decimals.
    if (s.find('e') != std::string::npos) {
        std::snprintf(buf, sizeof buf, "%.15f", value);
        s = buf;
        while (!s.empty() && s.back() == '0')
            s.pop_back();
        if (!s.empty() && s.back() == '.')
            s.pop_back();
    }
    return s;
}

std::string formatDate(std::int32_t days)
{
    return dbf::dateText(days);
}

std::string isoDate(std::int32_t days)
{
    const dbf::Ymd d = dbf::civilFromDays(days);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

bool parseDate(const std::string &text, std::int32_t &days)
{
    int a = 0, b = 0, c = 0;
    char s1 = 0, s2 = 0;
    int consumed = 0;
    if (std::sscanf(text.c_str(), "%d%c%d%c%d%n", &a, &s1, &b, &s2, &c, &consumed) != 5 ||
        consumed != static_cast<int>(text.size()))
        return false;
    int y, m, d;
    if (s1 == '-' && s2 == '-') {
        y = a, m = b, d = c;
    } else if ((s1 == '.' && s2 == '.') || (s1 == '/' && s2 == '/')) {
        d = a, m = b, y = c;
    } else {
        return false;
    }
    if (!dbf::isValidDate(y, m, d))
        return false;
    days = dbf::daysFromCivil(y, m, d);
    return true;
}

} // namespace focaris::sql
