// focaris-tool store: the data store of a data folder.
//   store init FOLDER              prepares a data folder as the program's start does: the
//                                  missing tables, the upgrade, the key counters, the
//                                  missing templates (prints templates=N installed)
//   store log FOLDER TEXT          writes one change-log row (prints idlog=N)
//   store city FOLDER [--months N] [--per-month N]
//                                  fills an empty folder with a city-sized data set
//   store resetkeys FOLDER         sets the key counters from the tables (prints them)
#include "tool/Command.h"

#include "core/ChangeLog.h"
#include "core/Context.h"
#include "core/Keys.h"
#include "core/Months.h"
#include "core/NullUi.h"
#include "core/Settings.h"
#include "core/TempFiles.h"
#include "engines/localsql/CityFolder.h"
#include "shell/DataFolderSetup.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <stdexcept>

namespace focaris::tool {
namespace {

void useFolder(const std::string &folder)
{
    const QString path = QDir(QString::fromStdString(folder)).absolutePath();
    if (!QDir(path).exists())
        throw std::runtime_error("folder does not exist: " + folder);
    Context().dataFolder = path;
    if (Context().operatorName.isEmpty())
        Context().operatorName = ReadOperatorName();
}

void printKeys()
{
    for (const char *k : {"NRCRT", "NROM", "IDLOG"})
        std::printf("%s=%s\n", k, PeekKeyText(k).toStdString().c_str());
}

int runInit(const Args &args)
{
    expectCount(args, 1, "store init FOLDER");
    useFolder(args[0]);
    // The installation's folder (where DataBAK lives) is the one above the data folder.
    if (Context().programFolder.isEmpty())
        Context().programFolder = QFileInfo(Context().dataFolder).absolutePath();
    // As at a start, the installation's temporary folder is emptied: what an earlier run
    // cut short left there (a scratch copy of a save, an unpacked import) is of no use.
    const QString temp = Context().programFolder + QStringLiteral("/Temp");
    if (QFileInfo(temp).isDir())
        DeleteFolder(temp);
    NullUi ui;
    const int installed = shell::PrepareDataFolder(ui);
    std::printf("templates=%d\n", installed);
    return 0;
}

int runStore(const Args &argsIn)
{
    Args args = argsIn;
    const char *usage = "store init|log|city|resetkeys FOLDER ...";
    if (args.empty())
        throw std::runtime_error(std::string("usage: ") + usage);
    const std::string sub = args[0];
    args.erase(args.begin());
    if (sub == "log") {
        expectCount(args, 2, "store log FOLDER TEXT");
        useFolder(args[0]);
        const QString key = PeekKeyText("IDLOG");
        WriteLog(QString::fromStdString(args[1]));
        std::printf("idlog=%s\n", key.toStdString().c_str());
        return 0;
    }
    if (sub == "resetkeys") {
        expectCount(args, 1, "store resetkeys FOLDER");
        useFolder(args[0]);
        ResetKeys();
        printKeys();
        return 0;
    }
    if (sub == "city") {
        sql::CityOptions options;
        options.months = std::stoi(takeOption(args, "--months", "15"));
        options.applicationsPerMonth = std::stoi(takeOption(args, "--per-month", "12000"));
        expectCount(args, 1, "store city FOLDER [--months N] [--per-month N]");
        if (options.months < 1 || options.applicationsPerMonth < 1)
            throw std::runtime_error("--months and --per-month must be positive");
        QDir().mkpath(QString::fromStdString(args[0]));
        const sql::CityCounts counts = sql::makeCityFolder(args[0], options);
        useFolder(args[0]);
        ResetKeys();
        WriteSetting("VARIABILE", "LUNA_LUCRU", MonthText(options.firstMonthCode + options.months - 1));
        std::printf("applications=%ld\nmembers=%ld\n", counts.applications, counts.members);
        printKeys();
        return 0;
    }
    throw std::runtime_error(std::string("usage: ") + usage);
}

Registration r("store", "store log|city|resetkeys FOLDER ...   the data store of a data folder", runStore);
Registration init("store init",
                  "store init FOLDER   prepares a data folder as the program's start does: tables created or "
                  "upgraded, missing templates installed, key counters set",
                  runInit);

} // namespace
} // namespace focaris::tool
