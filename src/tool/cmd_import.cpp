// focaris-tool import: the households of the other registers brought into a data folder,
// as the menu "Import dosare din VMG sau ASF" does.
//   import vmg FOLDER FILE.416    the approved files of the guaranteed-minimum-income register
//   import asf FOLDER FILE.as2    the active files of the family-allowance register
// Both print applications=N members=M; a damaged or incomplete archive changes nothing and
// ends with status 1.
#include "tool/Command.h"
#include "tool/PeriodsConsole.h"

#include "periods/Imports.h"

#include "core/Context.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <stdexcept>

namespace focaris::tool {
namespace {

const char *kUsage = "import vmg|asf FOLDER FILE";

int runImport(const Args &all, bool vmg)
{
    Args args = all;
    const std::string month = takeOption(args, "--month");
    expectCount(args, 2, kUsage);
    UsePeriodsFolder(args[0], month);
    const QString file = QFileInfo(QString::fromStdString(args[1])).absoluteFilePath();
    if (!QFileInfo::exists(file))
        throw std::runtime_error("file does not exist: " + args[1]);
    PeriodsConsole ui(false);
    // The import keeps its unpacked copy in the temporary folder, which the program
    // removes when it ends; this run removes the copy it made itself.
    const QDir temp(TempFolder());
    const QStringList before = temp.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    const periods::ImportResult r = vmg ? periods::ImportVmgArchive(ui, file) : periods::ImportAsfArchive(ui, file);
    for (const QString &entry : temp.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (!before.contains(entry) &&
            (entry.startsWith(QStringLiteral("VMG")) || entry.startsWith(QStringLiteral("ASF"))))
            QDir(temp.filePath(entry)).removeRecursively();
    if (!r.imported)
        return 1;
    std::printf("applications=%lld members=%lld\n", static_cast<long long>(r.applications),
                static_cast<long long>(r.members));
    if (!r.savedTo.isEmpty())
        std::printf("saved=%s\n", qPrintable(r.savedTo));
    return 0;
}

Registration vmg("import vmg",
                 "import vmg FOLDER FILE.416 [--month MM.YYYY]   the files of the VMG register as month code 1",
                 [](const Args &a) { return runImport(a, true); });
Registration asf("import asf",
                 "import asf FOLDER FILE.as2 [--month MM.YYYY]   the files of the ASF register as month code 2",
                 [](const Args &a) { return runImport(a, false); });

} // namespace
} // namespace focaris::tool
