// Fuzz target: the two register imports on an archive of any bytes. The archive is
// unpacked, its tables read and, when they hold what the import needs, imported into a
// scratch data folder. No input may crash the import or leave the members table missing.
#include "core/Context.h"
#include "core/NullUi.h"
#include "core/Tables.h"
#include "periods/Imports.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir scratch;
    static bool ready = [] {
        qputenv("FOCARIS_MACHINE_DIR", (scratch.path() + "/machine").toLocal8Bit());
        focaris::InitContextForTests(scratch.path() + "/prog");
        focaris::CreateTables();
        return true;
    }();
    (void)ready;

    const QString archive = scratch.path() + "/input.416";
    QFile file(archive);
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    file.close();
    focaris::NullUi ui;
    for (const bool vmg : {true, false}) {
        try {
            if (vmg)
                focaris::periods::ImportVmgArchive(ui, archive);
            else
                focaris::periods::ImportAsfArchive(ui, archive);
        } catch (const std::exception &) {
            // A value that does not fit the program's columns stops the import with the
            // engine's message; that is an expected way out.
        }
        if (!QFile::exists(focaris::DataFolder() + "/Oameni.dbf"))
            std::abort();
    }
    return 0;
}
