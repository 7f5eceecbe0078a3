// The workbook's shared string table (SST with its CONTINUE records): the texts of the
// LABELSST cells, with their rich-text runs and phonetic data kept for writing back.
#pragma once

#include "engines/xls/Records.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace focaris::xls {

class SharedStrings {
public:
    // `segments` are the data of the SST record and of the CONTINUE records after it.
    // Reads as many strings as the data holds, never more than the table announces.
    void parse(const std::vector<std::string_view> &segments);

    std::size_t size() const { return entries_.size(); }
    // Text of string i (UTF-8); throws XlsError when i is outside the table.
    const std::string &text(uint32_t i) const;
    // Index of a plain string with this text, added at the end when there is none.
    uint32_t add(std::string_view utf8);
    // True once a string was added: the table must then be written anew.
    bool changed() const { return changed_; }
    // True when the table must be written anew for a workbook whose text cells make
    // `cellsUsingTable` references to it: a string was added, or the counts the table
    // declared when read disagree with the strings it holds or with those cells (a
    // reader that trusts the counts could not open a copy that kept them).
    bool needsRewrite(uint32_t cellsUsingTable) const;

    // Where a string of the EXTSST index starts: the record (0 = SST) and the offset of
    // the string from the start of that record, header included.
    struct Bucket {
        std::size_t record;
        uint16_t offset;
    };
    // The SST and CONTINUE records for the table; `total` is the number of LABELSST cells.
    // Fills `buckets` with the start of every `perBucket`-th string.
    std::vector<Record> serialize(uint32_t total, uint16_t perBucket, std::vector<Bucket> &buckets) const;
    // Strings per EXTSST bucket for this table.
    uint16_t stringsPerBucket() const;

private:
    struct Entry {
        std::string text;
        std::u16string chars;
        uint16_t runCount = 0;
        std::string runs; // 4 bytes a run
        std::string ext;  // phonetic data
    };
    std::vector<Entry> entries_;
    std::unordered_map<std::string, uint32_t> plain_;
    bool changed_ = false;
    bool parsed_ = false;
    uint32_t declaredTotal_ = 0, declaredUnique_ = 0;
};

} // namespace focaris::xls
