// The compound file (OLE2 structured storage) that holds an Excel 97-2003 workbook: read
// with any sector size the format allows, streams replaced in memory, written back whole.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace focaris::xls {

// Holds every directory entry of the file with the data of its stream. Entries keep their
// order, names, class ids, times and tree links, so that storages and streams the program
// does not touch (summary information, macros) are written back as they were.
class CompoundFile {
public:
    // Throws XlsError when the bytes are not a sound compound file: bad signature, sector
    // chains that loop or leave the file, streams longer than their chains.
    static CompoundFile parse(std::string_view bytes);

    // Data of the stream `name` directly under the root storage (names compared without
    // regard to ASCII case), or nullptr. Throws XlsError when that stream is damaged.
    const std::string *stream(std::string_view name) const;
    // Replaces the data of an existing root-level stream; returns false when there is none.
    bool setStream(std::string_view name, std::string data);

    // The whole file, with sectors of 2^sectorShift bytes: 9 (512 bytes, version 3, what
    // the program writes) or 12 (4096 bytes, version 4).
    std::string serialize(unsigned sectorShift = 9) const;

private:
    struct Entry {
        std::string raw;  // the 128 bytes of the directory entry
        std::string name; // UTF-8
        uint8_t type = 0; // 0 unused, 1 storage, 2 stream, 5 root
        std::string data;
        std::string damage; // why the stream could not be read whole
    };
    int findRootStream(std::string_view name) const;
    std::vector<Entry> entries_;
    std::vector<int> rootChildren_;
};

} // namespace focaris::xls
