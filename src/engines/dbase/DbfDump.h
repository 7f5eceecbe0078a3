// Text views of a table for focaris-tool: a description of the header and a CSV dump.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

namespace focaris::dbf {

// "Version byte: 0x03", "Code page: 1250 (language driver 0xC8)", "Records: 14",
// "Header length: 1185", "Record length: 590", "Fields: 52", then one line per field:
// name, type, length, decimals separated by blanks.
void writeInfo(const std::filesystem::path &table, std::ostream &out);

// CSV (comma-separated, double quotes where needed, lines ended by "\n"): a header row of
// field names, then one row per live record. UTF-8 text, dates as dd.mm.yyyy, numbers of
// N and F fields as stored without padding, NULL as an empty value; deleted records and
// the hidden NULL-flags field of Visual FoxPro are left out, binary memos are empty.
void writeCsv(const std::filesystem::path &table, std::ostream &out);

// One CSV value: as it is, or in double quotes (inner quotes doubled) when it holds the
// separator, a quote or a line break.
std::string csvField(std::string_view v, char separator = ',');

} // namespace focaris::dbf
