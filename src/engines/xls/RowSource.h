// What the template filler reads records from: an open query seen as a table of named
// columns. The program's SQL result sets are adapted to it; tests use small tables.
#pragma once

#include <cstddef>
#include <string>

namespace focaris::xls {

struct FieldValue {
    enum class Kind { Null, Text, Number, Date };
    Kind kind = Kind::Null;
    std::string text;  // Text
    double number = 0; // Number; for Date the day count from 30 December 1899
};

enum class ColumnKind { Text, Number, Date, Other };

class RowSource {
public:
    virtual ~RowSource() = default;
    virtual bool isOpen() const { return true; }
    virtual int columnCount() const = 0;
    virtual std::string columnName(int column) const = 0; // columns from 0
    virtual ColumnKind columnKind(int column) const = 0;
    virtual std::size_t rowCount() const = 0;
    virtual FieldValue value(std::size_t row, int column) const = 0;
};

// Day count from 30 December 1899 (the spreadsheet date serial) of a calendar date.
long daySerial(int year, int month, int day);

} // namespace focaris::xls
