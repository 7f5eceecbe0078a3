// focaris-tool dbf: looking into dBase tables and packing them.
#include "tool/Command.h"

#include "engines/dbase/DbfDump.h"
#include "engines/dbase/DbfTable.h"

#include <iostream>
#include <stdexcept>

namespace {

using focaris::tool::Args;

constexpr const char *kUsage = "dbf info FILE | dbf dump FILE | dbf pack FILE";

int dbfCommand(const Args &given)
{
    Args args = given;
    if (args.size() != 2)
        throw std::runtime_error(std::string("usage: focaris-tool ") + kUsage);
    const std::string &action = args[0];
    const std::string &file = args[1];
    if (action == "info") {
        focaris::dbf::writeInfo(file, std::cout);
    } else if (action == "dump") {
        focaris::dbf::writeCsv(file, std::cout);
    } else if (action == "pack") {
        const auto r = focaris::dbf::DbfTable::pack(file);
        std::cout << "Packed: " << r.kept << " records kept, " << r.removed << " removed\n";
    } else {
        throw std::runtime_error(std::string("usage: focaris-tool ") + kUsage);
    }
    std::cout.flush();
    return 0;
}

focaris::tool::Registration r("dbf", kUsage, dbfCommand);

} // namespace
