// Shared by the workbook tests: the test workbooks, python3-xlrd checks, and a small
// in-memory query for the template filler.
#pragma once

#include "engines/xls/RowSource.h"

#include <filesystem>
#include <string>
#include <vector>

namespace focaris::xls::test {

std::filesystem::path goodWorkbook(const std::string &name);
std::vector<std::filesystem::path> workbooksIn(const std::filesystem::path &folder);

// Runs one of the python3-xlrd scripts of tests/xls; returns its exit status and output.
int runPython(const std::string &script, const std::vector<std::string> &args, std::string *out);

// A query held in memory: column names and kinds, rows of values.
class MemoryRows : public RowSource {
public:
    struct Column {
        std::string name;
        ColumnKind kind;
    };
    MemoryRows(std::vector<Column> columns, std::vector<std::vector<FieldValue>> rows)
        : columns_(std::move(columns)), rows_(std::move(rows))
    {
    }
    int columnCount() const override { return int(columns_.size()); }
    std::string columnName(int c) const override { return columns_[c].name; }
    ColumnKind columnKind(int c) const override { return columns_[c].kind; }
    std::size_t rowCount() const override { return rows_.size(); }
    FieldValue value(std::size_t r, int c) const override { return rows_[r][c]; }

private:
    std::vector<Column> columns_;
    std::vector<std::vector<FieldValue>> rows_;
};

inline FieldValue text(std::string t)
{
    return {FieldValue::Kind::Text, std::move(t), 0};
}
inline FieldValue num(double v)
{
    return {FieldValue::Kind::Number, {}, v};
}

} // namespace focaris::xls::test
