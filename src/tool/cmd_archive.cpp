// focaris-tool archive: packing a folder into a ".T21" archive, unpacking one, and
// listing its members.
#include "tool/Command.h"

#include "engines/archive/Archive.h"

#include <cstdio>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;
using focaris::tool::Args;

const char *kUsage = "archive pack FOLDER FILE | archive unpack FILE FOLDER | archive list FILE";

int archiveCommand(const Args &all)
{
    using namespace focaris::archive;
    if (all.empty())
        throw std::runtime_error(std::string("usage: focaris-tool ") + kUsage);
    const std::string verb = all[0];
    const Args args(all.begin() + 1, all.end());
    if (verb == "pack") {
        focaris::tool::expectCount(args, 2, "archive pack FOLDER FILE");
        if (!fs::is_directory(args[0]))
            throw std::runtime_error("not a folder: " + args[0]);
        if (writeArchive(args[0], args[1]) == 0)
            throw std::runtime_error(args[0] + " holds no non-empty file; nothing written");
        return 0;
    }
    if (verb == "unpack") {
        focaris::tool::expectCount(args, 2, "archive unpack FILE FOLDER");
        fs::create_directories(args[1]);
        const auto result = extractArchive(args[0], args[1]);
        if (result.failed)
            throw std::runtime_error("damaged archive " + args[0] + ": " + result.error);
        return 0;
    }
    if (verb == "list") {
        focaris::tool::expectCount(args, 1, "archive list FILE");
        for (const auto &m : listArchive(args[0]))
            std::printf("%s\t%u\n", m.name.c_str(), unsigned(m.size));
        return 0;
    }
    throw std::runtime_error(std::string("usage: focaris-tool ") + kUsage);
}

focaris::tool::Registration r("archive", kUsage, archiveCommand);

} // namespace
