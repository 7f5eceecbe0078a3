// Conversion between UTF-8 (the program's text in memory) and the single-byte Windows and
// DOS code pages of the files it shares with older installations and other programs
// (dBase tables, settings files, RTF templates, archive member names).
#pragma once

#include <string>
#include <string_view>

namespace focaris::text {

// Code pages the program knows. 1250 is the default for everything the program writes.
enum class Codepage { Cp437 = 437, Cp850 = 850, Cp852 = 852, Cp866 = 866, Cp1250 = 1250, Cp1251 = 1251, Cp1252 = 1252 };

// True when the number names one of the code pages above.
bool isKnownCodepage(int number);

// Bytes in the code page → UTF-8. Every byte maps to one character: bytes the code page
// leaves undefined come back as the control character of the same number, so that a
// round trip keeps them.
std::string toUtf8(std::string_view bytes, Codepage cp = Codepage::Cp1250);

// UTF-8 → bytes in the code page. The comma-below letters Ș ș Ț ț, which Windows-1250
// lacks, become the cedilla letters Ş ş Ţ ţ; any other character the code page cannot
// hold becomes "?". Malformed UTF-8 sequences are taken byte by byte as Latin-1.
std::string fromUtf8(std::string_view utf8, Codepage cp = Codepage::Cp1250);

// Shorthands for the settings files, templates and archive names.
inline std::string cp1250ToUtf8(std::string_view b)
{
    return toUtf8(b, Codepage::Cp1250);
}
inline std::string utf8ToCp1250(std::string_view s)
{
    return fromUtf8(s, Codepage::Cp1250);
}

// Decodes one UTF-8 code point starting at s[i]; advances i. Malformed input yields the
// byte's Latin-1 value and advances by one.
char32_t nextCodePoint(std::string_view s, std::size_t &i);
// Appends the UTF-8 form of a code point.
void appendUtf8(std::string &out, char32_t cp);

// Upper-cases the ASCII letters a-z only (the rule of the settings keys and placeholders).
std::string asciiUpper(std::string_view s);
// Upper-cases a UTF-8 text the way a printed name is written in capitals: a-z and the
// accented Latin letters, Romanian ones included (ă â î ş ţ ș ț become Ă Â Î Ş Ţ Ș Ț).
// Other characters, ß among them, stay as they are.
std::string upperCase(std::string_view utf8);
// Compares two texts without regard to the case of ASCII letters.
bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b);

namespace detail {
extern const char16_t kUpper437[128], kUpper850[128], kUpper852[128], kUpper866[128], kUpper1250[128], kUpper1251[128],
    kUpper1252[128];
}

} // namespace focaris::text
