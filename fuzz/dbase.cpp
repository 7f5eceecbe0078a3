// Feeds arbitrary bytes to the dBase reader as a table file (and the same bytes as its
// memo files), then reads every record, one record by number and the CSV dump. Any
// input must end in a DbfError or a result, never a crash, a hang or a huge allocation.
#include "engines/dbase/DbfDump.h"
#include "engines/dbase/DbfTable.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

// The process's scratch folder, removed when the process ends.
static const std::filesystem::path &workFolder()
{
    static const struct Folder {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("focaris_fuzz_dbase_" + std::to_string(::getpid()));
        Folder() { std::filesystem::create_directories(path); }
        ~Folder()
        {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    } folder;
    return folder.path;
}

static void writeBytes(const std::filesystem::path &file, const uint8_t *data, size_t size)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(data), std::streamsize(size));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace focaris::dbf;
    const auto table = workFolder() / "t.dbf";
    writeBytes(table, data, size);
    writeBytes(workFolder() / "t.dbt", data, size);
    writeBytes(workFolder() / "t.fpt", data, size);
    try {
        DbfTable t(table, true);
        const RecordSet rs = t.readAll();
        for (std::size_t r = 0; r < rs.size() && r < 4; ++r)
            (void)rs.record(r);
        if (t.recordCount() > 0)
            (void)t.readRecord(1);
        std::ostringstream csv;
        writeCsv(table, csv);
    } catch (const DbfError &) {
    }
    return 0;
}
