// UTF-16 conversions used by the workbook strings and the compound-file names.
#include "engines/xls/Bytes.h"

#include "engines/common/Codepage.h"

namespace focaris::xls {

std::string utf16ToUtf8(std::string_view bytes, bool compressed)
{
    std::string out;
    out.reserve(bytes.size());
    if (compressed) {
        for (unsigned char c : bytes)
            text::appendUtf8(out, c);
        return out;
    }
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t u = rd16(bytes, i);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
            char32_t lo = rd16(bytes, i + 2);
            if (lo >= 0xDC00 && lo < 0xE000) {
                text::appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (u >= 0xD800 && u < 0xE000)
            u = 0xFFFD;
        text::appendUtf8(out, u);
    }
    return out;
}

std::u16string utf8ToUtf16(std::string_view utf8)
{
    std::u16string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = text::nextCodePoint(utf8, i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(char16_t(0xD800 + (cp >> 10)));
            out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(char16_t(cp));
        }
    }
    return out;
}

} // namespace focaris::xls
