// Fuzz target of the statement engine. The first byte chooses what the rest is:
//   even: a statement, run against a scratch folder holding two small tables;
//   odd:  the bytes of a table file, queried and written by a few fixed statements.
// Failures must come back as exceptions; nothing may crash. Statements naming paths with
// folder separators or ".." are skipped, so that no input reaches outside the scratch
// folder.
#include "engines/dbase/DbfTable.h"
#include "engines/localsql/Engine.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;
using namespace focaris;

namespace {

// The process's scratch folder, removed when the process ends.
const fs::path &scratch()
{
    static const struct Folder {
        fs::path path = fs::temp_directory_path() / ("focaris-fuzz-sql-" + std::to_string(::getpid()));
        Folder() { fs::create_directories(path); }
        ~Folder()
        {
            std::error_code ec;
            fs::remove_all(path, ec);
        }
    } folder;
    return folder.path;
}

void resetTables()
{
    const fs::path &d = scratch();
    for (const auto &e : fs::directory_iterator(d))
        fs::remove_all(e.path());
    sql::Engine e(d);
    e.execute("CREATE TABLE \"C.dbf\" (NRCRT DECIMAL(12,0), SUBSEMN CHAR(32), CNP CHAR(13), TVENIT DECIMAL(10,2), "
              "DATACERE DATE, STATUT CHAR(7))");
    e.execute("CREATE TABLE \"O.dbf\" (NROM DECIMAL(10,0), NRCRT DECIMAL(12,0), CNP CHAR(13))");
    e.execute("INSERT INTO \"C.dbf\" VALUES (1, \"POP ION\", \"1800101303939\", 12.5, \"01.02.2024\", \"APROBAT\"), "
              "(2, \"ENE\", NULL, NULL, NULL, \"RESPINS\")");
    e.execute("INSERT INTO \"O.dbf\" VALUES (1, 1, \"1800101303939\"), (2, 1, \"5\")");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::string rest(reinterpret_cast<const char *>(data) + 1, size - 1);
    static int runs = 0;
    if (runs++ % 64 == 0)
        resetTables();
    try {
        if ((data[0] & 1) == 0) {
            if (rest.find('/') != std::string::npos || rest.find('\\') != std::string::npos ||
                rest.find("..") != std::string::npos)
                return 0;
            sql::Engine e(scratch());
            e.execute(rest);
        } else {
            {
                std::ofstream out(scratch() / "R.dbf", std::ios::binary | std::ios::trunc);
                out.write(rest.data(), static_cast<std::streamsize>(rest.size()));
            }
            sql::Engine e(scratch());
            for (const char *s :
                 {"SELECT * FROM R", "SELECT COUNT(*) FROM R WHERE NRCRT=1", "UPDATE R SET NRCRT=NRCRT+1",
                  "DELETE FROM R WHERE NRCRT=2", "INSERT INTO R (NRCRT) VALUES (3)", "DELETE FROM R",
                  "INSERT INTO R (NRCRT) VALUES (4)"}) {
                try {
                    e.execute(s);
                } catch (const std::exception &) {
                }
            }
        }
    } catch (const std::exception &) {
    }
    return 0;
}
