// One value of a result set or a table cursor: NULL, text (UTF-8), a whole number, a
// fractional number or a date. Whole numbers come from DECIMAL(p,0) columns and COUNT,
// fractional numbers from the other numeric columns and arithmetic.
#pragma once

#include <cstdint>
#include <string>

namespace focaris::sql {

enum class ColumnType { Text, Number, Date };

struct Value {
    enum Kind { Null, Text, Integer, Real, Date };
    Kind kind = Null;
    std::string text;
    std::int64_t integer = 0;
    double real = 0;
    std::int32_t date = 0; // days since 1 January 1970

    static Value null() { return {}; }
    static Value fromText(std::string t);
    static Value fromInteger(std::int64_t n);
    static Value fromReal(double d);
    static Value fromDate(std::int32_t days);
    static Value fromDate(int year, int month, int day);

    bool isNull() const { return kind == Null; }
    bool isNumber() const { return kind == Integer || kind == Real; }
    // Numbers as double; texts that read as a number give that number; else 0.
    double toDouble() const;
    // Numbers cut toward zero (the program's rule for whole numbers read from fields).
    std::int64_t toInt() const;
    // Texts as they are; numbers in their shortest decimal form with "."; dates as
    // dd.mm.yyyy; NULL as the empty text.
    std::string toString() const;

    bool operator==(const Value &o) const;
};

// Shortest decimal text of a number ("12", "0.5", "1234.56"), "." as separator.
std::string formatNumber(double value);
// dd.mm.yyyy of a day number.
std::string formatDate(std::int32_t days);
// yyyy-mm-dd of a day number: how dates travel through SQLite, so that they sort as dates.
std::string isoDate(std::int32_t days);
// Reads "dd.mm.yyyy" (also d.m.yyyy) or "yyyy-mm-dd"; false when the text is no valid date.
bool parseDate(const std::string &text, std::int32_t &days);

} // namespace focaris::sql
