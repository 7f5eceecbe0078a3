// The dBase file format: header parsing, value decoding and encoding, new headers.
#include "engines/dbase/DbfFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>
#include <mutex>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace focaris::dbf {

// ---------------------------------------------------------------------------------------
// Dates (days counted from 1970-01-01 in the proleptic Gregorian calendar).

std::int32_t daysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Ymd civilFromDays(std::int32_t z)
{
    z += 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int y = yoe + era * 400;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int d = doy - (153 * mp + 2) / 5 + 1;
    const int m = mp + (mp < 10 ? 3 : -9);
    return {y + (m <= 2), m, d};
}

std::string dateText(std::int32_t days)
{
    const Ymd d = civilFromDays(days);
    char b[32];
    std::snprintf(b, sizeof b, "%02d.%02d.%04d", d.day, d.month, d.year);
    return b;
}

bool isValidDate(int y, int m, int d)
{
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1)
        return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= days[m - 1] + (m == 2 && leap ? 1 : 0);
}

Value Value::fromText(std::string utf8)
{
    Value v;
    v.kind = ValueKind::Text;
    v.text = std::move(utf8);
    return v;
}
Value Value::fromNumber(double n)
{
    Value v;
    v.kind = ValueKind::Number;
    v.number = n;
    return v;
}
Value Value::fromDate(std::int32_t dayNumber)
{
    Value v;
    v.kind = ValueKind::Date;
    v.date = dayNumber;
    return v;
}
Value Value::fromDate(int year, int month, int day)
{
    return fromDate(daysFromCivil(year, month, day));
}
Value Value::fromLogical(bool b)
{
    Value v;
    v.kind = ValueKind::Logical;
    v.logical = b;
    return v;
}

ColumnDef ColumnDef::charColumn(std::string name, int length)
{
    return {std::move(name), 'C', length, 0};
}
ColumnDef ColumnDef::decimalColumn(std::string name, int precision, int scale)
{
    return {std::move(name), 'N', precision, scale};
}
ColumnDef ColumnDef::dateColumn(std::string name)
{
    return {std::move(name), 'D', 8, 0};
}

int codepageOfLanguageDriver(std::uint8_t ldid)
{
    switch (ldid) {
    case 0x01:
    case 0x09:
    case 0x0B:
    case 0x0D:
    case 0x0F:
    case 0x11:
    case 0x15:
    case 0x18:
    case 0x19:
    case 0x1B: return 437;
    case 0x02:
    case 0x0A:
    case 0x0E:
    case 0x10:
    case 0x12:
    case 0x14:
    case 0x16:
    case 0x1A:
    case 0x1D:
    case 0x25:
    case 0x37: return 850;
    case 0x1F:
    case 0x22:
    case 0x23:
    case 0x40:
    case 0x64:
    case 0x87: return 852;
    case 0x26:
    case 0x65: return 866;
    case 0xC8: return 1250;
    case 0xC9: return 1251;
    case 0x03:
    case 0x58:
    case 0x59: return 1252;
    default:
        // 0x00 (no mark), 0x57 (ANSI) and code pages the program cannot convert are read
        // as Windows-1250, the code page of the installations whose tables we share.
        return 1250;
    }
}

namespace detail {

// ---------------------------------------------------------------------------------------
// Little helpers.

std::uint16_t le16(const unsigned char *p)
{
    return std::uint16_t(p[0] | (p[1] << 8));
}
std::uint32_t le32(const unsigned char *p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
static std::uint32_t be32(const unsigned char *p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | std::uint32_t(p[3]);
}
void putLe16(unsigned char *p, std::uint16_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void putLe32(unsigned char *p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = std::uint8_t(v >> (8 * i));
}

void fail(const std::string &file, const std::string &what)
{
    throw DbfError(file + ": " + what);
}

static std::string hexByte(unsigned v)
{
    char b[8];
    std::snprintf(b, sizeof b, "0x%02X", v & 0xFF);
    return b;
}

text::Codepage codepageEnum(int cp)
{
    return text::isKnownCodepage(cp) ? text::Codepage(cp) : text::Codepage::Cp1250;
}

const DecodeTable &decodeTable(int codepage)
{
    static std::mutex mutex;
    static std::array<std::unique_ptr<DecodeTable>, 7> tables;
    static const int order[7] = {437, 850, 852, 866, 1250, 1251, 1252};
    const text::Codepage cp = codepageEnum(codepage);
    int slot = 0;
    while (order[slot] != int(cp))
        ++slot;
    std::lock_guard lock(mutex);
    if (!tables[slot]) {
        auto t = std::make_unique<DecodeTable>();
        for (int b = 0; b < 256; ++b) {
            const std::string u = text::toUtf8(std::string(1, char(b)), cp);
            const std::size_t n = std::min<std::size_t>(u.size(), 4);
            std::memcpy(t->bytes[b].data(), u.data(), n);
            t->length[b] = std::uint8_t(n);
        }
        tables[slot] = std::move(t);
    }
    return *tables[slot];
}

// ---------------------------------------------------------------------------------------
// Header.

static bool knownVersion(std::uint8_t v)
{
    switch (v) {
    case 0x02: // dBase II / FoxBase
    case 0x03:
    case 0x83: // dBase III, III+ with memo
    case 0x43:
    case 0x63:
    case 0x8B:
    case 0xCB:
    case 0x7B: // dBase IV variants
    case 0xF5:
    case 0xFB:
    case 0xE5: // FoxPro, FoxBase, Clipper
    case 0x30:
    case 0x31:
    case 0x32: // Visual FoxPro
    case 0x04:
    case 0x8C:
    case 0x44:
    case 0x64:
    case 0xB3: // dBase 7 and relatives
        return true;
    default: return false;
    }
}

constexpr int kDbase2HeaderLength = 521;

int headerLengthFromPrefix(std::string_view prefix, std::uint64_t fileSize, const std::string &file)
{
    if (fileSize == 0 || prefix.empty())
        fail(file, "the file is empty, not a dBase table");
    const auto *b = reinterpret_cast<const unsigned char *>(prefix.data());
    if (!knownVersion(b[0]))
        fail(file, "unknown version byte " + hexByte(b[0]) + ", not a dBase table");
    if (b[0] == 0x02) {
        if (fileSize < kDbase2HeaderLength)
            fail(file, "the file (" + std::to_string(fileSize) + " bytes) is shorter than a dBase II header");
        return kDbase2HeaderLength;
    }
    if (prefix.size() < std::size_t(kPrefixLength) || fileSize < std::uint64_t(kPrefixLength))
        fail(file, "the file (" + std::to_string(fileSize) + " bytes) is shorter than a dBase header");
    const int length = le16(b + 8);
    const bool dbase7 = (b[0] & 0x07) == 0x04;
    const int minimum = dbase7 ? 68 + 1 : kPrefixLength + 1;
    if (length < minimum)
        fail(file, "header length " + std::to_string(length) + " is too small");
    if (std::uint64_t(length) > fileSize)
        fail(file, "header length " + std::to_string(length) + " exceeds the file size " + std::to_string(fileSize));
    return length;
}

static std::string fieldName(const unsigned char *p, int max)
{
    int n = 0;
    while (n < max && p[n] != 0)
        ++n;
    while (n > 0 && p[n - 1] == ' ')
        --n;
    return std::string(reinterpret_cast<const char *>(p), std::size_t(n));
}

static bool isUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2)
                return false;
        i += n;
    }
    return true;
}

Header parseHeader(std::string_view bytes, std::uint64_t fileSize, const std::string &file)
{
    Header h;
    const int length = headerLengthFromPrefix(bytes, fileSize, file);
    if (bytes.size() < std::size_t(length))
        fail(file, "the header is cut short");
    const auto *b = reinterpret_cast<const unsigned char *>(bytes.data());
    h.version = b[0];
    h.headerLength = length;
    std::vector<std::uint8_t> decimals;
    if (h.isDbase2()) {
        h.recordCount = le16(b + 1);
        h.recordLength = le16(b + 6);
        int pos = 8;
        for (;; pos += 16) {
            if (pos >= length || (pos + 16 > length - 1 && b[pos] != 0x0D))
                fail(file, "the end-of-descriptors mark is missing");
            if (b[pos] == 0x0D)
                break;
            Field f;
            f.name = fieldName(b + pos, 11);
            f.type = char(b[pos + 11]);
            f.length = b[pos + 12];
            f.decimals = b[pos + 15];
            h.fields.push_back(f);
        }
        h.descriptorsEnd = pos;
    } else {
        h.recordCount = le32(b + 4);
        h.recordLength = le16(b + 10);
        h.languageDriver = b[29];
        const bool d7 = h.isDbase7();
        const int size = d7 ? 48 : 32;
        int pos = d7 ? 68 : 32;
        for (;; pos += size) {
            if (pos >= length)
                fail(file, "the end-of-descriptors mark is missing");
            if (b[pos] == 0x0D)
                break;
            if (pos + size > length)
                fail(file, "the end-of-descriptors mark is missing");
            const unsigned char *p = b + pos;
            Field f;
            if (d7) {
                f.name = fieldName(p, 32);
                f.type = char(p[32]);
                f.length = p[33];
                f.decimals = p[34];
                h.fieldFlags.push_back(0);
            } else {
                f.name = fieldName(p, 11);
                f.type = char(p[11]);
                f.length = p[16];
                f.decimals = p[17];
                // Character fields longer than 255 keep the high byte in the decimals.
                if (f.type == 'C' && f.decimals != 0 && !h.isVisualFoxPro()) {
                    f.length += 256 * f.decimals;
                    f.decimals = 0;
                }
                h.fieldFlags.push_back(h.isVisualFoxPro() ? p[18] : 0);
            }
            h.fields.push_back(f);
        }
        h.descriptorsEnd = pos;
    }
    if (h.fieldFlags.size() < h.fields.size())
        h.fieldFlags.resize(h.fields.size(), 0);
    if (h.recordLength < 1)
        fail(file, "record length " + std::to_string(h.recordLength) + " is absurd");

    int offset = 1;
    for (Field &f : h.fields) {
        if (f.length <= 0)
            fail(file, "field " + f.name + " has length 0");
        f.offset = offset;
        offset += f.length;
    }
    if (offset > h.recordLength)
        fail(file, "record length " + std::to_string(h.recordLength) + " is shorter than its fields (" +
                       std::to_string(offset) + ")");
    // Every writer we know makes the record exactly as long as its fields and the deletion
    // mark. A longer record is believed only when the file holds all the records the
    // header counts at that length; otherwise the length is damage, and trusting it would
    // show the table empty and make an append write records of the wrong length.
    if (offset < h.recordLength &&
        fileSize < std::uint64_t(h.headerLength) + std::uint64_t(h.recordCount) * std::uint64_t(h.recordLength))
        fail(file, "record length " + std::to_string(h.recordLength) + " disagrees with its fields, which take " +
                       std::to_string(offset) + " bytes with the deletion mark");

    h.codepage = codepageOfLanguageDriver(h.languageDriver);
    // Field names are ASCII in practice; names in another script are kept when they are
    // already UTF-8 and converted from the table's code page otherwise.
    for (Field &f : h.fields)
        if (!isUtf8(f.name))
            f.name = text::toUtf8(f.name, codepageEnum(h.codepage));

    // Visual FoxPro keeps NULL marks and short varchar marks as bits of a hidden field.
    h.nullBit.assign(h.fields.size(), -1);
    h.varLengthBit.assign(h.fields.size(), -1);
    if (h.isVisualFoxPro()) {
        for (std::size_t i = 0; i < h.fields.size(); ++i)
            if (h.fields[i].type == '0')
                h.nullFlagsField = int(i);
        if (h.nullFlagsField >= 0) {
            const int bits = h.fields[std::size_t(h.nullFlagsField)].length * 8;
            int bit = 0;
            for (std::size_t i = 0; i < h.fields.size(); ++i) {
                const char t = h.fields[i].type;
                if (t == '0')
                    continue;
                if ((t == 'V' || t == 'Q') && bit < bits)
                    h.varLengthBit[i] = bit++;
                if ((h.fieldFlags[i] & 0x02) && bit < bits)
                    h.nullBit[i] = bit++;
            }
        }
    }
    return h;
}

std::uint32_t completeRecords(const Header &h, std::uint64_t fileSize)
{
    if (fileSize <= std::uint64_t(h.headerLength))
        return 0;
    const std::uint64_t inFile = (fileSize - std::uint64_t(h.headerLength)) / std::uint64_t(h.recordLength);
    return std::uint32_t(std::min<std::uint64_t>(inFile, h.recordCount));
}

// ---------------------------------------------------------------------------------------
// Decoding.

// Length of a field's bytes without trailing blanks (and NULs, which some writers pad
// with). Most columns of a row are blank or short, so the blanks are found many bytes at a
// time: a byte is blank when it is 0x20 or 0x00, i.e. when (byte & 0xDF) == 0.
static std::size_t trimmedLength(const unsigned char *p, std::size_t n)
{
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi8(' '), zero = _mm_setzero_si128();
    while (n >= 16) {
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + n - 16));
        const unsigned blank =
            unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(w, space), _mm_cmpeq_epi8(w, zero))));
        if (blank != 0xFFFF)
            return n - 16 + unsigned(32 - __builtin_clz(~blank & 0xFFFF));
        n -= 16;
    }
#endif
    while (n >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p + n - 8, 8);
        const std::uint64_t x = w & 0xDFDFDFDFDFDFDFDFULL; // non-zero bytes are not blank
        const std::uint64_t nonBlank =
            (((x & 0x7F7F7F7F7F7F7F7FULL) + 0x7F7F7F7F7F7F7F7FULL) | x) & 0x8080808080808080ULL;
        if (nonBlank != 0)
            return n - 8 + std::size_t((63 - __builtin_clzll(nonBlank)) / 8) + 1;
        n -= 8;
    }
    while (n > 0 && (p[n - 1] & 0xDF) == 0)
        --n;
    return n;
}

static bool isAscii(const unsigned char *p, std::size_t n)
{
    std::size_t i = 0;
    std::uint64_t acc = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, p + i, 8);
        acc |= w;
    }
    for (; i < n; ++i)
        acc |= p[i];
    return (acc & 0x8080808080808080ULL) == 0;
}

static void decodeText(const unsigned char *p, std::size_t n, const DecodeTable &table, ValueKind &kind,
                       RecordSet::Payload &v, std::string &buf)
{
    n = trimmedLength(p, n);
    if (n == 0) {
        kind = ValueKind::Null;
        return;
    }
    const std::size_t start = buf.size();
    if (isAscii(p, n)) {
        buf.append(reinterpret_cast<const char *>(p), n);
    } else if (n <= 254) {
        // Names and addresses with diacritics: converted into a scratch area four bytes a
        // character without a branch (the table holds every byte, ASCII too), then
        // appended at once.
        char out[254 * 3 + 4];
        char *o = out;
        for (std::size_t i = 0; i < n; ++i) {
            std::memcpy(o, table.bytes[p[i]].data(), 4);
            o += table.length[p[i]];
        }
        buf.append(out, std::size_t(o - out));
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            const unsigned char c = p[i];
            if (c < 0x80)
                buf.push_back(char(c));
            else
                buf.append(table.bytes[c].data(), table.length[c]);
        }
    }
    kind = ValueKind::Text;
    v.text.offset = std::uint32_t(start);
    v.text.length = std::uint32_t(buf.size() - start);
}

static void setBlob(const char *p, std::size_t n, ValueKind &kind, RecordSet::Payload &v, std::string &buf)
{
    kind = ValueKind::Blob;
    v.text.offset = std::uint32_t(buf.size());
    v.text.length = std::uint32_t(n);
    buf.append(p, n);
}

// Parses the text of a numeric field. Returns false for blanks and unreadable texts.
static bool parseNumber(const unsigned char *p, int len, double &out)
{
    static const double pow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                   1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
    // Numbers stand right-aligned: find the first non-blank a word at a time.
    int i = 0;
    for (;;) {
        if (i + 8 <= len) {
            std::uint64_t w;
            std::memcpy(&w, p + i, 8);
            const std::uint64_t x = w ^ 0x2020202020202020ULL; // non-zero bytes are not blanks
            if (x == 0) {
                i += 8;
                continue;
            }
            i += __builtin_ctzll(x) / 8;
            break;
        }
        while (i < len && p[i] == ' ')
            ++i;
        break;
    }
    if (i == len || p[i] == 0)
        return false;
    const int start = i;
    // The usual form: optional sign, digits, optional point and digits, blanks after.
    bool neg = false;
    if (p[i] == '-' || p[i] == '+')
        neg = p[i++] == '-';
    std::uint64_t mant = 0;
    const int intStart = i;
    while (i < len && unsigned(p[i] - '0') < 10)
        mant = mant * 10 + (p[i++] - '0');
    const std::uint64_t whole = mant;
    int digits = i - intStart, frac = 0;
    unsigned fracDigits = 0; // non-zero when some decimal is not 0
    if (i < len && (p[i] == '.' || p[i] == ',')) {
        const int fracStart = ++i;
        while (i < len && unsigned(p[i] - '0') < 10 && i - intStart < 40) {
            fracDigits |= unsigned(p[i] - '0');
            mant = mant * 10 + (p[i++] - '0');
        }
        frac = i - fracStart;
        digits += frac;
    }
    int rest = i;
    while (rest < len && (p[rest] == ' ' || p[rest] == 0))
        ++rest;
    if (rest == len && digits > 0 && digits <= 18 && mant < (std::uint64_t(1) << 53)) {
        // Both operands are exact doubles, so one division gives the correctly rounded
        // value. Amounts with zero decimals (most supplements, percentages) are whole
        // numbers and need no division, which costs more than the rest of the parse.
        const double v = fracDigits == 0 ? double(whole) : double(mant) / pow10[frac];
        out = neg ? -v : v;
        return true;
    }
    if (rest == len && digits == 0)
        return false; // a lone sign or point holds no number
    // Exponents, very long digit strings: the general parser (independent of the locale).
    int end = len;
    while (end > start && (p[end - 1] == ' ' || p[end - 1] == 0))
        --end;
    std::string s(reinterpret_cast<const char *>(p + start), std::size_t(end - start));
    std::replace(s.begin(), s.end(), ',', '.');
    const char *b = s.data();
    if (*b == '+')
        ++b;
    double v = 0;
    const auto r = std::from_chars(b, s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

// The bytes p[0..7] as one word, the first byte lowest.
static inline std::uint64_t load8(const unsigned char *p)
{
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

// How many of the 8 bytes of `w` (first byte lowest) are digits before the first that
// is not.
static inline int leadingDigits(std::uint64_t w)
{
    // A digit byte is 0x30..0x39: its high half is 3 before and after adding 6. A carry
    // out of a byte (0xFA and above) only disturbs the bytes after it, past the run.
    const std::uint64_t high = w & 0xF0F0F0F0F0F0F0F0ULL;
    const std::uint64_t plus6 = (w + 0x0606060606060606ULL) & 0xF0F0F0F0F0F0F0F0ULL;
    const std::uint64_t bad = (high ^ 0x3030303030303030ULL) | (plus6 ^ 0x3030303030303030ULL);
    return bad == 0 ? 8 : __builtin_ctzll(bad) / 8;
}

// The value of the first n (1..8) digit bytes of `w`.
static inline std::uint64_t digitsValue(std::uint64_t w, int n)
{
    // The digits go to the top bytes, zeros before them; then pairs, fours and eights are
    // combined with three multiplications.
    std::uint64_t v = (w - 0x3030303030303030ULL) << (8 * (8 - n));
    v = v * 10 + (v >> 8);
    v = (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
         (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
        32;
    return v;
}

// parseNumber for a field followed by at least 8 more bytes of its record, so that words
// may be read past its end: the usual right-aligned number eight digits at a time.
// Anything out of the ordinary goes to parseNumber, so both always agree.
static bool parseNumberInRecord(const unsigned char *p, int len, double &out)
{
    static const double pow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
    static const std::uint64_t ipow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
    int i = 0;
    for (;;) {
        const std::uint64_t x = load8(p + i) ^ 0x2020202020202020ULL;
        if (x == 0) {
            i += 8;
            if (i >= len)
                return false; // blank
            continue;
        }
        i += __builtin_ctzll(x) / 8;
        break;
    }
    if (i >= len)
        return false; // blank
    bool neg = false;
    int at = i;
    if (p[at] == '-') {
        neg = true;
        ++at;
    }
    const int whole = std::min(leadingDigits(load8(p + at)), len - at);
    if (whole == 0 || whole == 8)
        return parseNumber(p, len, out);
    std::uint64_t value = digitsValue(load8(p + at), whole);
    at += whole;
    int frac = 0;
    std::uint64_t fraction = 0;
    if (at < len && p[at] == '.') {
        ++at;
        frac = std::min(leadingDigits(load8(p + at)), len - at);
        if (frac == 8)
            return parseNumber(p, len, out);
        if (frac > 0)
            fraction = digitsValue(load8(p + at), frac);
        at += frac;
    }
    // Only blanks (or NULs) may follow, up to the end of the field.
    const int rest = len - at;
    if (rest > 0) {
        if (rest >= 8)
            return parseNumber(p, len, out);
        const std::uint64_t keep = (std::uint64_t(1) << (8 * rest)) - 1;
        if ((load8(p + at) & 0xDFDFDFDFDFDFDFDFULL & keep) != 0)
            return parseNumber(p, len, out);
    }
    // At most 7 + 7 digits: exact in a double; one division rounds correctly.
    const double v = fraction == 0 ? double(value) : double(value * ipow10[frac] + fraction) / pow10[frac];
    out = neg ? -v : v;
    return true;
}

static bool parseDate8(const unsigned char *p, std::int32_t &days)
{
    int v[8];
    for (int i = 0; i < 8; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return false;
        v[i] = p[i] - '0';
    }
    const int y = v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3];
    const int m = v[4] * 10 + v[5];
    const int d = v[6] * 10 + v[7];
    if (!isValidDate(y, m, d))
        return false;
    days = daysFromCivil(y, m, d);
    return true;
}

constexpr std::int32_t kJulianEpoch1970 = 2440588; // Julian day number of 1970-01-01

static bool plausibleDay(std::int64_t days)
{
    return days >= daysFromCivil(1, 1, 1) && days <= daysFromCivil(9999, 12, 31);
}

// Big-endian doubles of dBase 7: the sign bit is flipped for positive numbers and every
// bit for negative ones, so that the bytes sort like the numbers.
static double dbase7Double(const unsigned char *p)
{
    std::uint64_t u = 0;
    for (int i = 0; i < 8; ++i)
        u = (u << 8) | p[i];
    if (u & (std::uint64_t(1) << 63))
        u ^= std::uint64_t(1) << 63;
    else
        u = ~u;
    double d;
    std::memcpy(&d, &u, 8);
    return d;
}

static double leDouble(const unsigned char *p)
{
    std::uint64_t u = 0;
    for (int i = 7; i >= 0; --i)
        u = (u << 8) | p[i];
    double d;
    std::memcpy(&d, &u, 8);
    return d;
}

static bool memoBlock(const unsigned char *p, int len, std::uint64_t &block)
{
    if (len == 4) {
        block = le32(p);
        return block != 0;
    }
    double v = 0;
    if (!parseNumber(p, len, v) || v < 1 || v > 4294967295.0)
        return false;
    block = std::uint64_t(v);
    return true;
}

void decodeCell(const Header &h, std::size_t i, const unsigned char *rec, const DecodeTable &table, MemoFile *memo,
                ValueKind &kind, RecordSet::Payload &v, std::string &buf)
{
    const Field &f = h.fields[i];
    const unsigned char *p = rec + f.offset;
    const int len = f.length;
    kind = ValueKind::Null;
    if (h.nullFlagsField >= 0 && h.nullBit[i] >= 0) {
        const unsigned char *flags = rec + h.fields[std::size_t(h.nullFlagsField)].offset;
        const int bit = h.nullBit[i];
        if (flags[bit / 8] & (1 << (bit % 8)))
            return;
    }
    switch (f.type) {
    case 'C': decodeText(p, std::size_t(len), table, kind, v, buf); return;
    case 'N':
    case 'F': {
        double n;
        if (parseNumber(p, len, n)) {
            kind = ValueKind::Number;
            v.number = n;
        }
        return;
    }
    case 'D': {
        std::int32_t days;
        if (len == 8 && parseDate8(p, days)) {
            kind = ValueKind::Date;
            v.date = days;
        }
        return;
    }
    case 'L':
        switch (p[0]) {
        case 'T':
        case 't':
        case 'Y':
        case 'y':
            kind = ValueKind::Logical;
            v.logical = true;
            break;
        case 'F':
        case 'f':
        case 'N':
        case 'n':
            kind = ValueKind::Logical;
            v.logical = false;
            break;
        default: break;
        }
        return;
    case 'I':
    case '+':
        if (len == 4) {
            kind = ValueKind::Number;
            v.number = h.isDbase7() ? double(std::int32_t(be32(p) ^ 0x80000000u)) : double(std::int32_t(le32(p)));
        }
        return;
    case 'Y':
        if (len == 8) {
            const std::int64_t n = std::int64_t(std::uint64_t(le32(p)) | (std::uint64_t(le32(p + 4)) << 32));
            kind = ValueKind::Number;
            v.number = double(n) / 10000.0;
        }
        return;
    case 'T':
        if (len == 8) {
            const std::int64_t jd = std::int32_t(le32(p));
            const std::uint32_t ms = le32(p + 4);
            const std::int64_t days = jd - kJulianEpoch1970;
            if (jd != 0 && plausibleDay(days) && ms <= 86400000u) {
                kind = ValueKind::DateTime;
                v.number = double(days) + double(ms) / 86400000.0;
            }
        }
        return;
    case 'O':
        if (len == 8) {
            kind = ValueKind::Number;
            v.number = dbase7Double(p);
        }
        return;
    case 'B':
        if (h.isVisualFoxPro()) {
            if (len == 8) {
                kind = ValueKind::Number;
                v.number = leDouble(p);
            }
            return;
        }
        [[fallthrough]];
    case 'M':
    case 'G':
    case 'P': {
        std::uint64_t block;
        if (!memo || !memoBlock(p, len, block))
            return;
        const std::string bytes = memo->read(block);
        if (bytes.empty())
            return;
        if (f.type == 'M')
            decodeText(reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size(), table, kind, v, buf);
        else
            setBlob(bytes.data(), bytes.size(), kind, v, buf);
        return;
    }
    case 'V':
    case 'Q': {
        std::size_t n = std::size_t(len);
        if (h.nullFlagsField >= 0 && h.varLengthBit[i] >= 0) {
            const unsigned char *flags = rec + h.fields[std::size_t(h.nullFlagsField)].offset;
            const int bit = h.varLengthBit[i];
            if (flags[bit / 8] & (1 << (bit % 8)))
                n = std::min<std::size_t>(p[len - 1], std::size_t(len - 1));
        }
        if (f.type == 'V')
            decodeText(p, n, table, kind, v, buf);
        else if (n > 0)
            setBlob(reinterpret_cast<const char *>(p), n, kind, v, buf);
        return;
    }
    case '0': return; // the hidden NULL-flags field carries no value of its own
    default: setBlob(reinterpret_cast<const char *>(p), std::size_t(len), kind, v, buf); return;
    }
}

RowDecoder::RowDecoder(const Header &h, MemoFile *memo) : header_(h), table_(decodeTable(h.codepage)), memo_(memo)
{
    for (std::size_t i = 0; i < h.fields.size(); ++i) {
        const Field &f = h.fields[i];
        Step s{Step::Other, f.offset, f.length};
        s.roomAfter = f.offset + f.length + 8 <= h.recordLength;
        if (h.nullBit[i] < 0) {
            if (f.type == 'C')
                s.kind = Step::Char;
            else if (f.type == 'N' || f.type == 'F')
                s.kind = Step::Numeric;
            else if (f.type == 'D' && f.length == 8)
                s.kind = Step::Date;
        }
        steps_.push_back(s);
    }
}

void RowDecoder::decode(const unsigned char *rec, ValueKind *kinds, RecordSet::Payload *values, std::string &buf) const
{
    // The step list is read once: the text buffer written below could otherwise alias it
    // for the compiler, which would then reload it for every field.
    const Step *steps = steps_.data();
    const std::size_t count = steps_.size();
    for (std::size_t i = 0; i < count; ++i) {
        const Step &s = steps[i];
        ValueKind &kind = kinds[i];
        RecordSet::Payload &v = values[i];
        const unsigned char *p = rec + s.offset;
        switch (s.kind) {
        case Step::Char: decodeText(p, std::size_t(s.length), table_, kind, v, buf); break;
        case Step::Numeric:
            if (s.roomAfter ? parseNumberInRecord(p, s.length, v.number) : parseNumber(p, s.length, v.number))
                kind = ValueKind::Number;
            else
                kind = ValueKind::Null;
            break;
        case Step::Date:
            if (parseDate8(p, v.date))
                kind = ValueKind::Date;
            else
                kind = ValueKind::Null;
            break;
        case Step::Other: decodeCell(header_, i, rec, table_, memo_, kind, v, buf); break;
        }
    }
}

std::string_view rawFieldText(const Header &h, std::size_t i, const unsigned char *record)
{
    const Field &f = h.fields[i];
    const char *p = reinterpret_cast<const char *>(record + f.offset);
    std::size_t b = 0, e = std::size_t(f.length);
    while (b < e && p[b] == ' ')
        ++b;
    while (e > b && (p[e - 1] == ' ' || p[e - 1] == 0))
        --e;
    return std::string_view(p + b, e - b);
}

// ---------------------------------------------------------------------------------------
// Encoding.

std::string formatNumber(double value, int decimals)
{
    if (!std::isfinite(value))
        return {};
    char buf[400];
    // Whole numbers (keys, months, counts and most amounts) need no rounding.
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        const long long whole = static_cast<long long>(value);
        char *end = std::to_chars(buf, buf + sizeof buf, whole).ptr;
        if (decimals > 0) {
            *end++ = '.';
            end = std::fill_n(end, decimals, '0');
        }
        return std::string(buf, end);
    }
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    std::string s(buf, r.ptr);
    bool neg = false;
    if (!s.empty() && s[0] == '-') {
        neg = true;
        s.erase(0, 1);
    }
    std::string whole = s, frac;
    const auto dot = s.find('.');
    if (dot != std::string::npos) {
        whole = s.substr(0, dot);
        frac = s.substr(dot + 1);
    }
    if (int(frac.size()) > decimals) {
        // Rounds half away from zero on the shortest decimal text of the value, so that
        // 2.675 becomes 2.68 as the clerk typed it, not 2.67 of its binary neighbour.
        const bool up = frac[std::size_t(decimals)] >= '5';
        frac.resize(std::size_t(decimals));
        if (up) {
            std::string digits = whole + frac;
            int k = int(digits.size()) - 1;
            while (k >= 0 && digits[std::size_t(k)] == '9')
                digits[std::size_t(k--)] = '0';
            if (k >= 0)
                ++digits[std::size_t(k)];
            else
                digits.insert(digits.begin(), '1');
            whole = digits.substr(0, digits.size() - frac.size());
            frac = digits.substr(digits.size() - frac.size());
        }
    } else {
        frac.append(std::size_t(decimals) - frac.size(), '0');
    }
    const bool zero =
        whole.find_first_not_of('0') == std::string::npos && frac.find_first_not_of('0') == std::string::npos;
    std::string out = (neg && !zero) ? "-" : "";
    out += whole.empty() ? "0" : whole;
    if (decimals > 0)
        out += "." + frac;
    return out;
}

static std::string shortNumber(double v)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

static std::string describeField(const Field &f)
{
    std::string s = f.name + " (" + std::string(1, f.type) + " " + std::to_string(f.length);
    if (f.decimals)
        s += "," + std::to_string(f.decimals);
    return s + ")";
}

static bool isBinaryType(const Header &h, char t, int len)
{
    switch (t) {
    case 'I':
    case 'Y':
    case 'T':
    case 'O':
    case '+':
    case '@':
    case '0': return true;
    case 'B': return h.isVisualFoxPro() || len == 4;
    case 'M':
    case 'G':
    case 'P': return len == 4;
    default: return false;
    }
}

static std::string dateDigits(std::int32_t days)
{
    const Ymd d = civilFromDays(days);
    if (d.year < 0 || d.year > 9999) {
        char b[32];
        std::snprintf(b, sizeof b, "%04d%02d%02d", d.year, d.month, d.day);
        return b;
    }
    std::string b(8, '0');
    const int parts[3][2] = {{d.year, 4}, {d.month, 2}, {d.day, 2}};
    std::size_t at = 0;
    for (const auto &[v, width] : parts) {
        int x = v;
        for (int k = width - 1; k >= 0; --k, x /= 10)
            b[at + std::size_t(k)] = char('0' + x % 10);
        at += std::size_t(width);
    }
    return b;
}

static bool parseDateText(const std::string &s, std::int32_t &days)
{
    int y, m, d;
    if (s.size() == 8 && s.find_first_not_of("0123456789") == std::string::npos) {
        return parseDate8(reinterpret_cast<const unsigned char *>(s.data()), days);
    }
    if (s.size() == 10 && (s[2] == '.' || s[2] == '/' || s[2] == '-') && s[5] == s[2] &&
        std::sscanf(s.c_str(), "%2d%*c%2d%*c%4d", &d, &m, &y) == 3 && isValidDate(y, m, d)) {
        days = daysFromCivil(y, m, d);
        return true;
    }
    return false;
}

static std::string trimmed(const std::string &s)
{
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

static bool textToNumber(const std::string &text, double &v)
{
    const std::string t = trimmed(text);
    return !t.empty() && parseNumber(reinterpret_cast<const unsigned char *>(t.data()), int(t.size()), v);
}

void encodeRecord(const Header &h, const Record &values, unsigned char *out, const std::string &file)
{
    if (values.size() > h.fields.size())
        fail(file, "a record of " + std::to_string(values.size()) + " values for " + std::to_string(h.fields.size()) +
                       " fields");
    const bool vfp = h.isVisualFoxPro();
    unsigned char *nullFlags = h.nullFlagsField >= 0 ? out + h.fields[std::size_t(h.nullFlagsField)].offset : nullptr;
    if (nullFlags)
        std::memset(nullFlags, 0, std::size_t(h.fields[std::size_t(h.nullFlagsField)].length));
    const text::Codepage cp = codepageEnum(h.codepage);

    for (std::size_t i = 0; i < h.fields.size(); ++i) {
        const Field &f = h.fields[i];
        if (f.type == '0')
            continue;
        unsigned char *p = out + f.offset;
        const std::size_t len = std::size_t(f.length);
        const Value &v = i < values.size() ? values[i] : Value();
        auto bad = [&](const std::string &what) { fail(file, what + " for column " + describeField(f)); };
        std::memset(p, isBinaryType(h, f.type, f.length) ? 0 : ' ', len);
        if (v.isNull()) {
            if (nullFlags && h.nullBit[i] >= 0)
                nullFlags[h.nullBit[i] / 8] |= std::uint8_t(1 << (h.nullBit[i] % 8));
            continue;
        }
        switch (f.type) {
        case 'C': {
            // Plain ASCII text is the same in every code page: copied as it is.
            if (v.kind == ValueKind::Text &&
                std::all_of(v.text.begin(), v.text.end(), [](char c) { return (unsigned char)c < 0x80; })) {
                std::memcpy(p, v.text.data(), std::min(len, v.text.size()));
                break;
            }
            std::string s;
            switch (v.kind) {
            case ValueKind::Text: s = v.text; break;
            case ValueKind::Number: s = shortNumber(v.number); break;
            case ValueKind::Date: s = dateText(v.date); break;
            case ValueKind::Logical: s = v.logical ? "T" : "F"; break;
            default: bad("a value that is not text"); break;
            }
            // A text longer than its column is stored cut to the column.
            const std::string bytes = text::fromUtf8(s, cp);
            std::memcpy(p, bytes.data(), std::min(len, bytes.size()));
            break;
        }
        case 'N':
        case 'F': {
            double n = 0;
            if (v.kind == ValueKind::Number)
                n = v.number;
            else if (v.kind == ValueKind::Text) {
                if (trimmed(v.text).empty())
                    break;
                if (!textToNumber(v.text, n))
                    bad("the text \"" + v.text + "\" is not a number");
            } else if (v.kind == ValueKind::Logical)
                n = v.logical ? 1 : 0;
            else
                bad("a value that is not a number");
            const std::string s = formatNumber(n, f.decimals);
            if (s.empty())
                bad("the value " + shortNumber(n) + " is not a finite number");
            if (s.size() > len)
                bad("the value " + shortNumber(n) + " does not fit");
            std::memcpy(p + (len - s.size()), s.data(), s.size());
            break;
        }
        case 'D': {
            std::int32_t days = 0;
            if (v.kind == ValueKind::Date)
                days = v.date;
            else if (v.kind == ValueKind::DateTime)
                days = std::int32_t(std::floor(v.number));
            else if (v.kind == ValueKind::Text) {
                if (trimmed(v.text).empty())
                    break;
                if (!parseDateText(trimmed(v.text), days))
                    bad("the text \"" + v.text + "\" is not a date");
            } else
                bad("a value that is not a date");
            const Ymd d = civilFromDays(days);
            if (len != 8 || !isValidDate(d.year, d.month, d.day))
                bad("a date outside the years 1 to 9999");
            std::memcpy(p, dateDigits(days).data(), 8);
            break;
        }
        case 'L': {
            if (v.kind == ValueKind::Logical)
                p[0] = v.logical ? 'T' : 'F';
            else if (v.kind == ValueKind::Text && v.text.size() == 1 && std::strchr("TtFfYyNn?", v.text[0]))
                p[0] = std::uint8_t(v.text[0]);
            else if (v.kind == ValueKind::Number)
                p[0] = v.number != 0 ? 'T' : 'F';
            else
                bad("a value that is not logical");
            break;
        }
        case 'I': {
            double n = 0;
            if (v.kind == ValueKind::Number)
                n = std::round(v.number);
            else if (v.kind != ValueKind::Text || !textToNumber(v.text, n))
                bad("a value that is not a number");
            n = std::round(n);
            if (!(n >= -2147483648.0 && n <= 2147483647.0) || len != 4 || h.isDbase7())
                bad("the value " + shortNumber(n) + " does not fit");
            putLe32(p, std::uint32_t(std::int32_t(n)));
            break;
        }
        case 'Y': {
            double n = 0;
            if (v.kind == ValueKind::Number)
                n = v.number;
            else if (v.kind != ValueKind::Text || !textToNumber(v.text, n))
                bad("a value that is not a number");
            const double scaled = std::round(n * 10000.0);
            if (!(std::fabs(scaled) < 9.2e18) || len != 8)
                bad("the value " + shortNumber(n) + " does not fit");
            const std::uint64_t u = std::uint64_t(std::int64_t(scaled));
            putLe32(p, std::uint32_t(u));
            putLe32(p + 4, std::uint32_t(u >> 32));
            break;
        }
        case 'T': {
            double t = 0;
            if (v.kind == ValueKind::DateTime)
                t = v.number;
            else if (v.kind == ValueKind::Date)
                t = v.date;
            else
                bad("a value that is not a date and time");
            const double day = std::floor(t);
            if (len != 8 || !plausibleDay(std::int64_t(day)))
                bad("a date outside the years 1 to 9999");
            const auto ms = std::uint32_t(std::llround((t - day) * 86400000.0));
            putLe32(p, std::uint32_t(std::int32_t(day) + kJulianEpoch1970));
            putLe32(p + 4, std::min<std::uint32_t>(ms, 86399999u));
            break;
        }
        case 'B':
            if (vfp && len == 8 && v.kind == ValueKind::Number) {
                std::uint64_t u;
                std::memcpy(&u, &v.number, 8);
                putLe32(p, std::uint32_t(u));
                putLe32(p + 4, std::uint32_t(u >> 32));
                break;
            }
            bad("a value this engine cannot write");
            break;
        default: bad("a value this engine cannot write");
        }
    }
}

void stampToday(unsigned char *header)
{
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    header[1] = std::uint8_t(std::clamp(tm.tm_year, 0, 255));
    header[2] = std::uint8_t(tm.tm_mon + 1);
    header[3] = std::uint8_t(tm.tm_mday);
}

std::string buildHeader(const std::vector<ColumnDef> &columns, const CreateOptions &options, const std::string &file)
{
    if (columns.empty())
        fail(file, "a table needs at least one column");
    if (columns.size() > 255)
        fail(file, "a table may have at most 255 columns");
    const bool vfp = options.layout == Layout::VisualFoxPro;
    const int headerLength = 32 + 32 * int(columns.size()) + 1 + (vfp ? 263 : 0);
    std::string h(std::size_t(headerLength), '\0');
    auto *b = reinterpret_cast<unsigned char *>(h.data());
    b[0] = vfp ? 0x30 : 0x03;
    stampToday(b);
    putLe16(b + 8, std::uint16_t(headerLength));
    b[29] = options.languageDriver;

    int offset = 1;
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const ColumnDef &c = columns[i];
        const std::string where = "column " + c.name;
        if (c.name.empty() || c.name.size() > 10)
            fail(file, where + ": a column name has 1 to 10 characters");
        for (char ch : c.name)
            if (!((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_'))
                fail(file, where + ": a column name holds only letters, digits and _");
        const std::string upper = text::asciiUpper(c.name);
        if (std::find(seen.begin(), seen.end(), upper) != seen.end())
            fail(file, where + " appears twice");
        seen.push_back(upper);
        int length = c.length, decimals = c.decimals;
        switch (c.type) {
        case 'C':
            if (length < 1 || length > 254)
                fail(file, where + ": CHAR length must be 1 to 254");
            decimals = 0;
            break;
        case 'N':
        case 'F':
            if (length < 1 || length > 20 || decimals < 0 || decimals > 15 || (decimals > 0 && decimals > length - 2))
                fail(file, where + ": DECIMAL(" + std::to_string(length) + "," + std::to_string(decimals) +
                               ") is not a valid numeric field");
            break;
        case 'D':
            length = 8;
            decimals = 0;
            break;
        case 'L':
            length = 1;
            decimals = 0;
            break;
        case 'I':
            if (!vfp)
                fail(file, where + ": integer columns exist only in Visual FoxPro tables");
            length = 4;
            decimals = 0;
            break;
        default: fail(file, where + ": column type " + std::string(1, c.type) + " cannot be created");
        }
        unsigned char *d = b + 32 + 32 * i;
        std::memcpy(d, upper.data(), upper.size());
        d[11] = std::uint8_t(c.type);
        if (vfp)
            putLe32(d + 12, std::uint32_t(offset));
        d[16] = std::uint8_t(length);
        d[17] = std::uint8_t(decimals);
        offset += length;
        if (offset > 65535)
            fail(file, "the record would be longer than 65535 bytes");
    }
    b[32 + 32 * columns.size()] = 0x0D;
    putLe16(b + 10, std::uint16_t(offset));
    return h;
}

} // namespace detail
} // namespace focaris::dbf
