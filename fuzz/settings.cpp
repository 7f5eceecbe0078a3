// Fuzz target for the settings-file reader and writer: any bytes as a settings file. The
// input is split at its first NUL into the file and a "section\nkey\nvalue" request. No
// input may crash, and a value written must read back unchanged.
#include "engines/settings/IniFile.h"

#include "engines/common/Codepage.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    namespace ini = focaris::ini;
    const std::string input(reinterpret_cast<const char *>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string file = input.substr(0, nul);
    std::string request = nul == std::string::npos ? "S\nK\nV" : input.substr(nul + 1);
    auto next = [&request]() {
        const std::size_t nl = request.find('\n');
        std::string part = request.substr(0, nl);
        request = nl == std::string::npos ? std::string() : request.substr(nl + 1);
        return part;
    };
    const std::string section = next(), key = next(), value = next();

    const auto sections = ini::sectionNamesFrom(file);
    for (const auto &s : sections)
        for (const auto &k : ini::keyNamesFrom(file, s))
            (void)ini::readValueFrom(file, s, k);

    std::string written;
    try {
        written = ini::withValue(file, section, key, value);
    } catch (const std::invalid_argument &) {
        return 0; // names that cannot be written are refused
    }
    // The value must read back exactly as it lands on disk: Windows-1250, with line
    // breaks turned into blanks.
    const auto back = ini::readValueFrom(written, section, key);
    std::string onDisk = focaris::text::utf8ToCp1250(value);
    for (char &c : onDisk)
        if (c == '\r' || c == '\n')
            c = ' ';
    if (!back || *back != focaris::text::cp1250ToUtf8(onDisk))
        std::abort();
    (void)ini::withoutKey(written, section, key);
    (void)ini::withoutSection(written, section);
    return 0;
}
