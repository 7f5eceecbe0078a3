// Little-endian byte access, UTF-16 conversion and the error type of the workbook engine.
// Every read is checked against the end of its buffer, so that a damaged file ends in a
// clear XlsError instead of reading past a buffer.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace focaris::xls {

// A workbook the engine cannot read or write, with a message for the person.
struct XlsError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline uint8_t rd8(std::string_view s, std::size_t o)
{
    if (o >= s.size())
        throw XlsError("workbook is damaged: a record ends too early");
    return uint8_t(s[o]);
}
inline uint16_t rd16(std::string_view s, std::size_t o)
{
    if (o + 2 > s.size() || o + 2 < o)
        throw XlsError("workbook is damaged: a record ends too early");
    return uint16_t(uint8_t(s[o]) | uint8_t(s[o + 1]) << 8);
}
inline uint32_t rd32(std::string_view s, std::size_t o)
{
    if (o + 4 > s.size() || o + 4 < o)
        throw XlsError("workbook is damaged: a record ends too early");
    return uint32_t(rd16(s, o)) | uint32_t(rd16(s, o + 2)) << 16;
}
inline uint64_t rd64(std::string_view s, std::size_t o)
{
    return uint64_t(rd32(s, o)) | uint64_t(rd32(s, o + 4)) << 32;
}

inline void put16(std::string &s, std::size_t o, uint16_t v)
{
    s.at(o + 1);
    s[o] = char(v & 0xFF);
    s[o + 1] = char(v >> 8);
}
inline void put32(std::string &s, std::size_t o, uint32_t v)
{
    put16(s, o, uint16_t(v));
    put16(s, o + 2, uint16_t(v >> 16));
}
inline void app16(std::string &s, uint16_t v)
{
    s.push_back(char(v & 0xFF));
    s.push_back(char(v >> 8));
}
inline void app32(std::string &s, uint32_t v)
{
    app16(s, uint16_t(v));
    app16(s, uint16_t(v >> 16));
}

// UTF-16LE bytes (or Latin-1 bytes when `compressed`) → UTF-8. Unpaired surrogates become
// U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool compressed);
// UTF-8 → UTF-16 code units.
std::u16string utf8ToUtf16(std::string_view utf8);

} // namespace focaris::xls
