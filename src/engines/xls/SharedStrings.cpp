// Reading and writing the shared string table. Each string is
//
//   cch (2)  number of characters
//   flags (1)  bit 0: characters are 2 bytes; bit 2: phonetic data; bit 3: rich text
//   [cRun (2)]  number of formatting runs, when rich text
//   [cbExtRst (4)]  size of the phonetic data, when present
//   characters, then cRun runs of 4 bytes, then the phonetic data.
//
// A string may continue in the next CONTINUE record. When its characters continue, the
// CONTINUE starts with a new flags byte saying whether the rest is 1 or 2 bytes a
// character; the other parts continue without one.
#include "engines/xls/SharedStrings.h"

#include "engines/xls/Bytes.h"

#include <algorithm>

namespace focaris::xls {
namespace {

// Reads the segments as one sequence, with the flags byte between character parts.
class Cursor {
public:
    explicit Cursor(const std::vector<std::string_view> &segs) : segs_(segs) {}
    bool atEnd()
    {
        skipEmpty();
        return seg_ >= segs_.size();
    }
    std::string bytes(std::size_t n)
    {
        std::string out;
        while (out.size() < n) {
            skipEmpty();
            if (seg_ >= segs_.size())
                throw XlsError("workbook is damaged: the string table ends inside a string");
            std::size_t take = std::min(n - out.size(), segs_[seg_].size() - off_);
            out.append(segs_[seg_].substr(off_, take));
            off_ += take;
        }
        return out;
    }
    // cch characters, starting 1 or 2 bytes wide; returns UTF-16 code units.
    std::u16string chars(std::size_t cch, bool wide)
    {
        std::u16string out;
        out.reserve(std::min<std::size_t>(cch, 8224));
        while (out.size() < cch) {
            if (seg_ < segs_.size() && off_ >= segs_[seg_].size()) {
                ++seg_;
                off_ = 0;
                if (seg_ >= segs_.size())
                    break;
                wide = rd8(segs_[seg_], off_++) & 1;
            }
            if (seg_ >= segs_.size())
                throw XlsError("workbook is damaged: the string table ends inside a string");
            std::string_view s = segs_[seg_];
            if (wide) {
                if (off_ + 2 > s.size())
                    throw XlsError("workbook is damaged: a character is split in the string table");
                out.push_back(char16_t(rd16(s, off_)));
                off_ += 2;
            } else {
                out.push_back(char16_t(uint8_t(s[off_++])));
            }
        }
        if (out.size() < cch)
            throw XlsError("workbook is damaged: the string table ends inside a string");
        return out;
    }

private:
    void skipEmpty()
    {
        while (seg_ < segs_.size() && off_ >= segs_[seg_].size()) {
            ++seg_;
            off_ = 0;
        }
    }
    const std::vector<std::string_view> &segs_;
    std::size_t seg_ = 0, off_ = 0;
};

std::string toBytes(const std::u16string &u, bool wide)
{
    std::string out;
    for (char16_t c : u) {
        if (wide)
            app16(out, c);
        else
            out.push_back(char(c));
    }
    return out;
}

} // namespace

void SharedStrings::parse(const std::vector<std::string_view> &segments)
{
    if (segments.empty())
        return;
    std::vector<std::string_view> segs = segments;
    const uint32_t unique = rd32(segs[0], 4);
    parsed_ = true;
    declaredTotal_ = rd32(segs[0], 0);
    declaredUnique_ = unique;
    segs[0] = segs[0].substr(8);
    Cursor c(segs);
    while (entries_.size() < unique && !c.atEnd()) {
        std::string head = c.bytes(3);
        const uint16_t cch = rd16(head, 0);
        const uint8_t flags = uint8_t(head[2]);
        Entry e;
        uint32_t ext = 0;
        if (flags & 0x08)
            e.runCount = rd16(c.bytes(2), 0);
        if (flags & 0x04)
            ext = rd32(c.bytes(4), 0);
        e.chars = c.chars(cch, flags & 1);
        e.runs = c.bytes(std::size_t(e.runCount) * 4);
        if (ext > 0x7FFFFF)
            throw XlsError("workbook is damaged: phonetic data larger than the string table");
        e.ext = c.bytes(ext);
        std::string bytes;
        for (char16_t u : e.chars)
            app16(bytes, u);
        e.text = utf16ToUtf8(bytes, false);
        if (e.runs.empty() && e.ext.empty())
            plain_.emplace(e.text, uint32_t(entries_.size()));
        entries_.push_back(std::move(e));
    }
}

bool SharedStrings::needsRewrite(uint32_t cellsUsingTable) const
{
    if (changed_)
        return true;
    if (!parsed_)
        return false;
    return declaredUnique_ != entries_.size() || declaredTotal_ != cellsUsingTable;
}

const std::string &SharedStrings::text(uint32_t i) const
{
    if (i >= entries_.size())
        throw XlsError("workbook is damaged: a cell refers to string " + std::to_string(i) + " of a table of " +
                       std::to_string(entries_.size()));
    return entries_[i].text;
}

uint32_t SharedStrings::add(std::string_view utf8)
{
    Entry e;
    e.chars = utf8ToUtf16(utf8);
    if (e.chars.size() > 32767) // the longest text a cell holds
        e.chars.resize(32767);
    std::string bytes;
    for (char16_t u : e.chars)
        app16(bytes, u);
    e.text = utf16ToUtf8(bytes, false);
    auto it = plain_.find(e.text);
    if (it != plain_.end())
        return it->second;
    const uint32_t index = uint32_t(entries_.size());
    plain_.emplace(e.text, index);
    entries_.push_back(std::move(e));
    changed_ = true;
    return index;
}

uint16_t SharedStrings::stringsPerBucket() const
{
    return uint16_t(std::max<std::size_t>(8, (entries_.size() + 127) / 128));
}

std::vector<Record> SharedStrings::serialize(uint32_t total, uint16_t perBucket, std::vector<Bucket> &buckets) const
{
    std::vector<Record> out(1);
    out[0].type = rec::SST;
    app32(out[0].data, total);
    app32(out[0].data, uint32_t(entries_.size()));
    auto room = [&] { return kMaxRecordData - out.back().data.size(); };
    auto next = [&] { out.push_back(Record{rec::CONTINUE, {}}); };

    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry &e = entries_[i];
        const bool wide = std::any_of(e.chars.begin(), e.chars.end(), [](char16_t u) { return u > 0xFF; });
        const std::size_t unit = wide ? 2 : 1;
        std::string head;
        app16(head, uint16_t(e.chars.size()));
        head.push_back(char((wide ? 1 : 0) | (e.ext.empty() ? 0 : 4) | (e.runs.empty() ? 0 : 8)));
        if (!e.runs.empty())
            app16(head, e.runCount);
        if (!e.ext.empty())
            app32(head, uint32_t(e.ext.size()));
        // The header and the first character stay together in one record.
        if (room() < head.size() + (e.chars.empty() ? 0 : unit))
            next();
        if (i % perBucket == 0)
            buckets.push_back(Bucket{out.size() - 1, uint16_t(out.back().data.size() + 4)});
        out.back().data += head;
        const std::string chars = toBytes(e.chars, wide);
        std::size_t pos = 0;
        while (pos < chars.size()) {
            if (room() < unit) {
                next();
                out.back().data.push_back(char(wide ? 1 : 0));
            }
            std::size_t take = std::min(chars.size() - pos, room() / unit * unit);
            out.back().data.append(chars, pos, take);
            pos += take;
        }
        for (std::size_t r = 0; r < e.runs.size(); r += 4) {
            if (room() < 4)
                next();
            out.back().data.append(e.runs, r, 4);
        }
        pos = 0;
        while (pos < e.ext.size()) {
            if (room() == 0)
                next();
            std::size_t take = std::min(e.ext.size() - pos, room());
            out.back().data.append(e.ext, pos, take);
            pos += take;
        }
    }
    return out;
}

} // namespace focaris::xls
