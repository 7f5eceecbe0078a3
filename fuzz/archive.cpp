// Fuzz target: the ".T21" archive reader. Every member is inflated and checked; the name
// each member would be written under must stay a plain file name.
#include "engines/archive/Archive.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>

namespace {

class CheckingSink : public focaris::archive::MemberSink {
public:
    std::uint64_t got = 0, expected = 0;
    bool begin(const focaris::archive::Member &member, int) override
    {
        const std::string safe = focaris::archive::safeMemberName(member.name);
        if (safe.find('/') != std::string::npos || safe == "." || safe == "..")
            std::abort();
        got = 0;
        expected = member.size;
        return true;
    }
    void data(const char *, std::size_t length) override
    {
        got += length;
        if (got > expected)
            std::abort();
    }
    void end() override
    {
        if (got != expected)
            std::abort();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char *>(data), size));
    CheckingSink sink;
    try {
        focaris::archive::readArchive(in, sink);
    } catch (const focaris::archive::ArchiveError &) {
    }
    return 0;
}
