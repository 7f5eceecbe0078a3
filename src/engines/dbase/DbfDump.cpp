// Text views of a table: header description and CSV dump.
#include "engines/dbase/DbfDump.h"

#include "engines/dbase/DbfImpl.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace focaris::dbf {

using namespace detail;

struct DumpAccess {
    static DbfTable::Impl &of(DbfTable &t) { return *t.d_; }
};

void writeInfo(const std::filesystem::path &path, std::ostream &out)
{
    DbfTable table(path, true);
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", table.versionByte());
    out << "Version byte: " << hex << "\n";
    std::snprintf(hex, sizeof hex, "0x%02X", table.languageDriver());
    out << "Code page: " << table.codepage() << " (language driver " << hex << ")\n";
    out << "Records: " << table.recordCount() << "\n";
    out << "Header length: " << table.headerLength() << "\n";
    out << "Record length: " << table.recordLength() << "\n";
    out << "Fields: " << table.fields().size() << "\n";
    for (const Field &f : table.fields())
        out << f.name << " " << f.type << " " << f.length << " " << f.decimals << "\n";
}

std::string csvField(std::string_view v, char separator)
{
    const char special[] = {separator, '"', '\r', '\n', '\0'};
    if (v.find_first_of(special) == std::string_view::npos)
        return std::string(v);
    std::string out = "\"";
    for (char c : v) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

void writeCsv(const std::filesystem::path &path, std::ostream &out)
{
    DbfTable table(path, true);
    DbfTable::Impl &d = DumpAccess::of(table);
    std::unique_ptr<MemoFile> memo;
    bool first = true;
    std::vector<std::size_t> shown;
    d.scan([&](std::uint32_t, const unsigned char *rec) {
        const Header &h = d.header;
        if (first) {
            first = false;
            memo = std::make_unique<MemoFile>(d.path, h);
            for (std::size_t i = 0; i < h.fields.size(); ++i)
                if (h.fields[i].type != '0')
                    shown.push_back(i);
            for (std::size_t k = 0; k < shown.size(); ++k) {
                if (k)
                    out << ',';
                out << csvField(h.fields[shown[k]].name);
            }
            out << '\n';
        }
        if (rec[0] == '*')
            return;
        const DecodeTable &table = decodeTable(h.codepage);
        std::string buf;
        for (std::size_t k = 0; k < shown.size(); ++k) {
            if (k)
                out << ',';
            const std::size_t i = shown[k];
            ValueKind kind = ValueKind::Null;
            RecordSet::Payload cell{};
            buf.clear();
            decodeCell(h, i, rec, table, memo.get(), kind, cell, buf);
            const char type = h.fields[i].type;
            switch (kind) {
            case ValueKind::Null:
            case ValueKind::Blob: break;
            case ValueKind::Text:
                out << csvField(std::string_view(buf).substr(cell.text.offset, cell.text.length));
                break;
            case ValueKind::Number:
                if (type == 'N' || type == 'F') {
                    out << csvField(rawFieldText(h, i, rec));
                } else {
                    char b[64];
                    const auto r = std::to_chars(b, b + sizeof b, cell.number);
                    out << std::string_view(b, std::size_t(r.ptr - b));
                }
                break;
            case ValueKind::Date: out << dateText(cell.date); break;
            case ValueKind::Logical: out << (cell.logical ? 'T' : 'F'); break;
            case ValueKind::DateTime: {
                const double day = std::floor(cell.number);
                long seconds = std::lround((cell.number - day) * 86400.0);
                if (seconds >= 86400)
                    seconds = 86399;
                char b[48];
                std::snprintf(b, sizeof b, " %02ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60, seconds % 60);
                out << dateText(std::int32_t(day)) << b;
                break;
            }
            }
        }
        out << '\n';
    });
    if (first) {
        // An empty table still gets its header row.
        for (std::size_t i = 0, k = 0; i < d.header.fields.size(); ++i)
            if (d.header.fields[i].type != '0') {
                if (k++)
                    out << ',';
                out << csvField(d.header.fields[i].name);
            }
        out << '\n';
    }
}

} // namespace focaris::dbf
