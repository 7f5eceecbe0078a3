// Table-driven conversion between UTF-8 and the single-byte code pages; see Codepage.h.
#include "engines/common/Codepage.h"

#include <array>
#include <mutex>
#include <unordered_map>

namespace focaris::text {
namespace {

const char16_t *upperHalf(Codepage cp)
{
    switch (cp) {
    case Codepage::Cp437: return detail::kUpper437;
    case Codepage::Cp850: return detail::kUpper850;
    case Codepage::Cp852: return detail::kUpper852;
    case Codepage::Cp866: return detail::kUpper866;
    case Codepage::Cp1250: return detail::kUpper1250;
    case Codepage::Cp1251: return detail::kUpper1251;
    case Codepage::Cp1252: return detail::kUpper1252;
    }
    return detail::kUpper1250;
}

char32_t decodeByte(const char16_t *upper, unsigned char b)
{
    if (b < 0x80)
        return b;
    char16_t u = upper[b - 0x80];
    return u == 0xFFFD ? char32_t(b) : char32_t(u);
}

// Reverse maps, built once per code page on first use.
const std::unordered_map<char32_t, unsigned char> &reverseMap(Codepage cp)
{
    static std::mutex lock;
    static std::unordered_map<int, std::unordered_map<char32_t, unsigned char>> maps;
    std::lock_guard guard(lock);
    auto &m = maps[int(cp)];
    if (m.empty()) {
        const char16_t *upper = upperHalf(cp);
        for (int b = 0x80; b < 0x100; ++b)
            m.emplace(decodeByte(upper, static_cast<unsigned char>(b)), static_cast<unsigned char>(b));
    }
    return m;
}

char32_t commaBelowToCedilla(char32_t c)
{
    switch (c) {
    case 0x0218: return 0x015E; // Ș → Ş
    case 0x0219: return 0x015F; // ș → ş
    case 0x021A: return 0x0162; // Ț → Ţ
    case 0x021B: return 0x0163; // ț → ţ
    default: return c;
    }
}

} // namespace

bool isKnownCodepage(int n)
{
    return n == 437 || n == 850 || n == 852 || n == 866 || n == 1250 || n == 1251 || n == 1252;
}

char32_t nextCodePoint(std::string_view s, std::size_t &i)
{
    auto b0 = static_cast<unsigned char>(s[i]);
    int len = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
    if (len == 1) {
        ++i;
        return b0;
    }
    if (len == 0 || i + len > s.size()) {
        ++i;
        return b0;
    }
    char32_t cp = b0 & (0x7F >> len);
    for (int k = 1; k < len; ++k) {
        auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return b0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms (such as C0 8A for a line feed), surrogates and values past U+10FFFF
    // are malformed: they would smuggle characters past checks made on the bytes.
    static const char32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMinimum[len] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
        ++i;
        return b0;
    }
    i += len;
    return cp;
}

void appendUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

std::string toUtf8(std::string_view bytes, Codepage cp)
{
    const char16_t *upper = upperHalf(cp);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes)
        appendUtf8(out, decodeByte(upper, static_cast<unsigned char>(c)));
    return out;
}

std::string fromUtf8(std::string_view utf8, Codepage cp)
{
    const auto &rev = reverseMap(cp);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = commaBelowToCedilla(nextCodePoint(utf8, i));
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        auto it = rev.find(c);
        out += it == rev.end() ? '?' : char(it->second);
    }
    return out;
}

std::string asciiUpper(std::string_view s)
{
    std::string out(s);
    for (char &c : out)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return out;
}

// The capital of a lower-case Latin letter (Latin-1 and Latin Extended-A, and the
// comma-below letters of Romanian), or the character itself.
static char32_t upperLetter(char32_t c)
{
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 'A';
    if (c < 0xE0)
        return c;
    if (c <= 0xFE)
        return c == 0xF7 ? c : c - 0x20; // 0xF7 is the division sign
    if (c == 0xFF)
        return 0x178;
    // Latin Extended-A pairs capital and small letters; the pairs start on an even code
    // except between 0x139 and 0x148 and from 0x179 on.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return (c & 1) ? (c == 0x131 ? char32_t('I') : c - 1) : c;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1) ? c : c - 1;
    if (c == 0x219 || c == 0x21B) // ș ț
        return c - 1;
    return c;
}

std::string upperCase(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out.push_back(b >= 'a' && b <= 'z' ? char(b - 'a' + 'A') : char(b));
            ++i;
            continue;
        }
        const std::size_t start = i;
        const char32_t c = nextCodePoint(utf8, i);
        const std::size_t length = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        const char32_t u = i - start == length ? upperLetter(c) : c;
        if (u == c)
            out.append(utf8.substr(start, i - start)); // kept byte for byte, malformed ones too
        else
            appendUtf8(out, u);
    }
    return out;
}

bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = char(x - 32);
        if (y >= 'a' && y <= 'z')
            y = char(y - 32);
        if (x != y)
            return false;
    }
    return true;
}

} // namespace focaris::text
