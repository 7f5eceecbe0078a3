// Reading and writing the compound file. Layout of the header (all little-endian):
//
//   offset size  field
//   0      8     signature D0 CF 11 E0 A1 B1 1A E1
//   24     2     minor version      26  2  major version (3: 512-byte sectors, 4: 4096)
//   28     2     byte order FFFE    30  2  sector shift (9 or 12)
//   32     2     mini sector shift (6)
//   40     4     number of directory sectors (version 4 only)
//   44     4     number of FAT sectors
//   48     4     first directory sector
//   56     4     mini stream cutoff (4096)
//   60     4     first mini FAT sector  64  4  number of mini FAT sectors
//   68     4     first DIFAT sector     72  4  number of DIFAT sectors
//   76     436   the first 109 FAT sector numbers
//
// A directory entry is 128 bytes: name (64 bytes UTF-16), name length in bytes (2), type
// (1), colour (1), left, right and child ids (4 each), class id (16), state (4), two
// times (8 each), start sector (4), size (8; only the low 4 bytes count in version 3).
#include "engines/xls/CompoundFile.h"

#include "engines/common/Codepage.h"
#include "engines/xls/Bytes.h"

#include <algorithm>

namespace focaris::xls {
namespace {

constexpr uint32_t kEnd = 0xFFFFFFFE;
constexpr uint32_t kFree = 0xFFFFFFFF;
constexpr uint32_t kFatSect = 0xFFFFFFFD;
constexpr uint32_t kDifSect = 0xFFFFFFFC;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
const char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

// Follows a chain through `table`, refusing loops and sectors outside the table.
std::vector<uint32_t> chain(const std::vector<uint32_t> &table, uint32_t start, const char *what)
{
    std::vector<uint32_t> out;
    if (start == kEnd || start == kFree)
        return out;
    std::vector<bool> seen(table.size(), false);
    uint32_t s = start;
    while (s != kEnd) {
        if (s >= table.size())
            throw XlsError(std::string("compound file is damaged: the ") + what + " chain leaves the file");
        if (seen[s])
            throw XlsError(std::string("compound file is damaged: the ") + what + " chain loops");
        seen[s] = true;
        out.push_back(s);
        s = table[s];
    }
    return out;
}

} // namespace

CompoundFile CompoundFile::parse(std::string_view file)
{
    if (file.size() < 512 || file.substr(0, 8) != std::string_view(kSignature, 8))
        throw XlsError("not an Excel 97-2003 workbook (no compound file signature)");
    const unsigned shift = rd16(file, 30);
    const unsigned miniShift = rd16(file, 32);
    if ((shift != 9 && shift != 12) || miniShift != 6)
        throw XlsError("compound file is damaged: unsupported sector size");
    const std::size_t sectorSize = std::size_t(1) << shift;
    const uint32_t cutoff = rd32(file, 56);
    // Sector n starts at (n + 1) * sectorSize: the header fills sector -1.
    const std::size_t sectorCount = file.size() > sectorSize ? (file.size() - 1) / sectorSize : 0;

    // A sector's bytes; a last sector cut short by the writer reads as zero-padded.
    auto sector = [&](uint32_t s) {
        std::size_t off = (std::size_t(s) + 1) * sectorSize;
        if (s >= sectorCount || off >= file.size())
            throw XlsError("compound file is damaged: a sector lies beyond the end of the file");
        std::string out(file.substr(off, sectorSize));
        out.resize(sectorSize, '\0');
        return out;
    };

    // The FAT sector numbers: 109 in the header, the rest in the DIFAT chain.
    std::vector<uint32_t> fatSectors;
    const uint32_t fatCount = rd32(file, 44);
    if (fatCount > sectorCount)
        throw XlsError("compound file is damaged: more FAT sectors than the file holds");
    for (int i = 0; i < 109 && fatSectors.size() < fatCount; ++i)
        fatSectors.push_back(rd32(file, 76 + 4 * i));
    uint32_t dif = rd32(file, 68);
    std::vector<bool> difSeen(sectorCount, false);
    while (fatSectors.size() < fatCount && dif != kEnd && dif != kFree) {
        if (dif >= sectorCount || difSeen[dif])
            throw XlsError("compound file is damaged: the DIFAT chain loops or leaves the file");
        difSeen[dif] = true;
        std::string d = sector(dif);
        for (std::size_t i = 0; i + 4 < sectorSize && fatSectors.size() < fatCount; i += 4)
            fatSectors.push_back(rd32(d, i));
        dif = rd32(d, sectorSize - 4);
    }
    if (fatSectors.size() < fatCount)
        throw XlsError("compound file is damaged: FAT sectors are missing");

    std::vector<uint32_t> fat;
    fat.reserve(std::min<std::size_t>(fatCount * (sectorSize / 4), sectorCount + 128));
    for (uint32_t fs : fatSectors) {
        std::string d = sector(fs);
        for (std::size_t i = 0; i < sectorSize; i += 4)
            fat.push_back(rd32(d, i));
    }
    // Entries past the sectors the file holds can only describe missing sectors.
    if (fat.size() > sectorCount)
        fat.resize(sectorCount);

    auto readChain = [&](uint32_t start, const char *what) {
        std::string out;
        for (uint32_t s : chain(fat, start, what))
            out += sector(s);
        return out;
    };

    const std::string dir = readChain(rd32(file, 48), "directory");
    CompoundFile cf;
    for (std::size_t off = 0; off + 128 <= dir.size(); off += 128) {
        Entry e;
        e.raw = dir.substr(off, 128);
        e.type = uint8_t(e.raw[66]);
        unsigned nameLen = rd16(e.raw, 64);
        if (nameLen > 64)
            nameLen = 64;
        e.name = utf16ToUtf8(std::string_view(e.raw).substr(0, nameLen >= 2 ? nameLen - 2 : 0), false);
        cf.entries_.push_back(std::move(e));
    }
    if (cf.entries_.empty() || cf.entries_[0].type != 5)
        throw XlsError("compound file is damaged: no root entry");

    const bool v3 = rd16(file, 26) == 3;
    auto entrySize = [&](const Entry &e) {
        uint64_t size = rd64(e.raw, 120);
        return v3 ? (size & 0xFFFFFFFFu) : size;
    };

    // The mini stream lives in the root entry's chain; small streams live inside it.
    Entry &root = cf.entries_[0];
    std::string mini = readChain(rd32(root.raw, 116), "mini stream");
    if (entrySize(root) < mini.size())
        mini.resize(entrySize(root));
    std::string miniFatBytes = readChain(rd32(file, 60), "mini FAT");
    std::vector<uint32_t> miniFat;
    for (std::size_t i = 0; i + 4 <= miniFatBytes.size(); i += 4)
        miniFat.push_back(rd32(miniFatBytes, i));
    if (miniFat.size() > mini.size() / 64)
        miniFat.resize(mini.size() / 64);

    for (std::size_t i = 1; i < cf.entries_.size(); ++i) {
        Entry &e = cf.entries_[i];
        if (e.type != 2)
            continue;
        const uint64_t size = entrySize(e);
        const uint32_t start = rd32(e.raw, 116);
        // A damaged stream keeps what could be read; only the workbook stream must be
        // whole, which the caller checks through `stream`.
        try {
            if (size < cutoff) {
                for (uint32_t s : chain(miniFat, start, "mini stream"))
                    e.data.append(mini, std::size_t(s) * 64, 64);
            } else {
                e.data = readChain(start, "stream");
            }
            if (e.data.size() < size)
                throw XlsError("compound file is damaged: stream \"" + e.name + "\" is longer than its sectors");
            e.data.resize(size);
        } catch (const XlsError &err) {
            e.damage = err.what();
            if (e.data.size() > size)
                e.data.resize(size);
        }
    }

    // The entries directly under the root: the red-black tree below the root's child.
    std::vector<int> stack;
    std::vector<bool> seen(cf.entries_.size(), false);
    auto push = [&](uint32_t id) {
        if (id != kNoStream && id < cf.entries_.size() && !seen[id]) {
            seen[id] = true;
            stack.push_back(int(id));
        }
    };
    push(rd32(root.raw, 76));
    while (!stack.empty()) {
        int id = stack.back();
        stack.pop_back();
        cf.rootChildren_.push_back(id);
        push(rd32(cf.entries_[id].raw, 68));
        push(rd32(cf.entries_[id].raw, 72));
    }
    return cf;
}

int CompoundFile::findRootStream(std::string_view name) const
{
    for (int id : rootChildren_)
        if (entries_[id].type == 2 && text::equalsIgnoreAsciiCase(entries_[id].name, name))
            return id;
    return -1;
}

const std::string *CompoundFile::stream(std::string_view name) const
{
    int id = findRootStream(name);
    if (id < 0)
        return nullptr;
    if (!entries_[id].damage.empty())
        throw XlsError(entries_[id].damage);
    return &entries_[id].data;
}

bool CompoundFile::setStream(std::string_view name, std::string data)
{
    int id = findRootStream(name);
    if (id < 0)
        return false;
    entries_[id].data = std::move(data);
    return true;
}

std::string CompoundFile::serialize(unsigned sectorShift) const
{
    if (sectorShift != 9 && sectorShift != 12)
        throw XlsError("compound files have sectors of 512 or 4096 bytes");
    const std::size_t S = std::size_t(1) << sectorShift;
    constexpr uint32_t cutoff = 4096;
    std::vector<uint32_t> fat;
    std::string body; // sectors after the header, in order

    auto addChain = [&](const std::string &data) -> uint32_t {
        if (data.empty())
            return kEnd;
        const uint32_t first = uint32_t(fat.size());
        const std::size_t n = (data.size() + S - 1) / S;
        for (std::size_t i = 0; i < n; ++i)
            fat.push_back(i + 1 < n ? uint32_t(first + i + 1) : kEnd);
        body += data;
        body.resize(fat.size() * S, '\0');
        return first;
    };

    std::vector<std::string> raws;
    for (const auto &e : entries_)
        raws.push_back(e.raw);

    // Small streams go into the mini stream, 64 bytes a mini sector.
    std::string mini;
    std::vector<uint32_t> miniFat;
    for (std::size_t i = 1; i < entries_.size(); ++i) {
        const Entry &e = entries_[i];
        if (e.type != 2)
            continue;
        uint32_t start = kEnd;
        if (e.data.size() >= cutoff) {
            start = addChain(e.data);
        } else if (!e.data.empty()) {
            start = uint32_t(miniFat.size());
            const std::size_t n = (e.data.size() + 63) / 64;
            for (std::size_t k = 0; k < n; ++k)
                miniFat.push_back(k + 1 < n ? uint32_t(start + k + 1) : kEnd);
            mini += e.data;
            mini.resize(miniFat.size() * 64, '\0');
        }
        put32(raws[i], 116, start);
        put32(raws[i], 120, uint32_t(e.data.size()));
        put32(raws[i], 124, 0);
    }
    put32(raws[0], 116, addChain(mini));
    put32(raws[0], 120, uint32_t(mini.size()));
    put32(raws[0], 124, 0);

    std::string miniFatBytes;
    for (uint32_t v : miniFat)
        app32(miniFatBytes, v);
    const uint32_t miniFatStart = addChain(miniFatBytes);
    const uint32_t miniFatSectors = uint32_t((miniFatBytes.size() + S - 1) / S);

    std::string dir;
    for (const auto &r : raws)
        dir += r;
    // The rest of the last directory sector holds unused entries with no links.
    while (dir.size() % S) {
        std::string unused(128, '\0');
        for (int at : {68, 72, 76})
            put32(unused, std::size_t(at), kNoStream);
        dir += unused;
    }
    const uint32_t dirStart = addChain(dir);

    // The FAT covers itself and the DIFAT sectors: grow both until they fit.
    std::size_t fatSectors = 0, difSectors = 0;
    for (;;) {
        std::size_t total = fat.size() + fatSectors + difSectors;
        std::size_t needFat = (total + S / 4 - 1) / (S / 4);
        std::size_t needDif = needFat > 109 ? (needFat - 109 + (S / 4 - 2)) / (S / 4 - 1) : 0;
        if (needFat == fatSectors && needDif == difSectors)
            break;
        fatSectors = needFat;
        difSectors = needDif;
    }
    const uint32_t fatStart = uint32_t(fat.size());
    for (std::size_t i = 0; i < fatSectors; ++i)
        fat.push_back(kFatSect);
    const uint32_t difStart = uint32_t(fat.size());
    for (std::size_t i = 0; i < difSectors; ++i)
        fat.push_back(kDifSect);
    fat.resize(fatSectors * (S / 4), kFree);

    std::string header(S, '\0');
    header.replace(0, 8, kSignature, 8);
    put16(header, 24, 0x003E);
    put16(header, 26, sectorShift == 12 ? 4 : 3);
    put16(header, 28, 0xFFFE);
    put16(header, 30, uint16_t(sectorShift));
    if (sectorShift == 12)
        put32(header, 40, uint32_t(dir.size() / S));
    put16(header, 32, 6);
    put32(header, 44, uint32_t(fatSectors));
    put32(header, 48, dirStart);
    put32(header, 56, cutoff);
    put32(header, 60, miniFatSectors ? miniFatStart : kEnd);
    put32(header, 64, miniFatSectors);
    put32(header, 68, difSectors ? difStart : kEnd);
    put32(header, 72, uint32_t(difSectors));
    for (std::size_t i = 0; i < 109; ++i)
        put32(header, 76 + 4 * i, i < fatSectors ? uint32_t(fatStart + i) : kFree);

    std::string out = header + body;
    for (uint32_t v : fat)
        app32(out, v);
    for (std::size_t d = 0; d < difSectors; ++d) {
        std::string sec;
        for (std::size_t k = 0; k < S / 4 - 1; ++k) {
            std::size_t idx = 109 + d * (S / 4 - 1) + k;
            app32(sec, idx < fatSectors ? uint32_t(fatStart + idx) : kFree);
        }
        app32(sec, d + 1 < difSectors ? uint32_t(difStart + d + 1) : kEnd);
        out += sec;
    }
    return out;
}

} // namespace focaris::xls
