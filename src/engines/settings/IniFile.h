// Settings files in the Windows INI format, read and written one value per call with the
// semantics of the Windows private-profile functions, so that files made by the older
// Windows installations and files made here can be exchanged unchanged.
//
// File layout (bytes, Windows-1250):
//   [Section]\r\n          a section header; blanks around the name are ignored
//   Key=Value\r\n          a key line; blanks around key and value are ignored, and a
//                          value enclosed in a pair of equal quotes (" or ') loses them
//   ;comment\r\n           any other line (comments, blank lines, junk) is kept as is
// Section and key names are compared without regard to case; the first section and the
// first key of a name win when a file holds duplicates.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace focaris::ini {

// A settings file that cannot be read as one of the program's own: written in another
// encoding (UTF-16, UTF-32, UTF-8 with a byte-order mark) or holding bytes that no INI
// file holds (NUL and other control bytes, or text without any section). Every file
// function below throws it for such a file rather than read it as empty or write into
// it; the message names the file and is meant for the person at the keyboard.
struct ForeignFile : std::runtime_error {
    explicit ForeignFile(const std::filesystem::path &file);
    std::filesystem::path file;
};

// True when `bytes` can be read as a settings file: empty or blank, or single-byte text
// without NUL or control bytes other than TAB, CR, LF and the end-of-file mark (0x1A),
// with no byte-order mark and with at least one section header.
bool isSettingsText(std::string_view bytes);

// Throws ForeignFile when `file` exists and is not settings text; a missing or
// unreadable file passes (it reads as empty).
void requireSettingsFile(const std::filesystem::path &file);

// The value of `key` in `section` as UTF-8, or nullopt when the file, the section or the
// key is missing (a missing or unreadable file reads as empty).
std::optional<std::string> readValue(const std::filesystem::path &file, std::string_view section, std::string_view key);

// Same, with `def` for a missing value.
std::string readString(const std::filesystem::path &file, std::string_view section, std::string_view key,
                       std::string_view def = {});

// Writes one value (UTF-8 in, Windows-1250 on disk). Only the key's line changes; a new
// key goes after the last line of its section that is not blank, a new section goes at the
// end of the file; every other byte of the file is kept. Line breaks inside the value or
// the names would split the line, so they are written as blanks. A value with blanks at
// either end or enclosed in quotes is written inside double quotes so that it reads back
// unchanged (here and on Windows, which drops one pair of quotes when reading). The new
// content is written to a temporary file beside the old one and renamed over it, under an exclusive
// byte-range lock of the settings file (the same byte on every computer), so a crash leaves the old or the new file whole and two
// processes writing different keys at the same time both keep their value. An empty
// section or key name, a section name holding "]" and a key name holding "=" or starting
// with "[" or ";" throw std::invalid_argument.
// Throws std::runtime_error when the file cannot be written.
void writeValue(const std::filesystem::path &file, std::string_view section, std::string_view key,
                std::string_view value);

// A read-modify-write of one value under the lock writeValue takes: `next` gets the value
// as it is in the file now (nullopt when missing) and returns the value to write. No other
// writer of the file can come between the read and the write, so counters kept in the
// file are never given twice. Returns the value read. Throws as writeValue does.
std::optional<std::string> updateValue(const std::filesystem::path &file, std::string_view section,
                                       std::string_view key,
                                       const std::function<std::string(const std::optional<std::string> &)> &next);

// Removes a whole section (its header and every line up to the next section). Nothing
// happens when it is absent. Throws std::runtime_error when the file cannot be written.
void eraseSection(const std::filesystem::path &file, std::string_view section);

// Removes one key line. Nothing happens when it is absent.
void eraseKey(const std::filesystem::path &file, std::string_view section, std::string_view key);

// Section names (UTF-8) in file order, and the key names of one section.
std::vector<std::string> sectionNames(const std::filesystem::path &file);
std::vector<std::string> keyNames(const std::filesystem::path &file, std::string_view section);

// The same operations on the file's bytes in memory; the file functions above are built
// on these (and the fuzz target drives them directly).
std::optional<std::string> readValueFrom(std::string_view bytes, std::string_view section, std::string_view key);
std::string withValue(std::string_view bytes, std::string_view section, std::string_view key, std::string_view value);
std::string withoutSection(std::string_view bytes, std::string_view section);
std::string withoutKey(std::string_view bytes, std::string_view section, std::string_view key);
std::vector<std::string> sectionNamesFrom(std::string_view bytes);
std::vector<std::string> keyNamesFrom(std::string_view bytes, std::string_view section);

} // namespace focaris::ini
