// Times the start-up sequence (tables checked, log trimmed, upgrade, weekly packing, keys,
// templates) on a city-sized data folder: the first start of a week, which packs the
// tables, and a later start of the same week, which does not. The reference is one full
// read of the applications table (SELECT COUNT(*)) measured in the same run.
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/NullUi.h"
#include "engines/localsql/CityFolder.h"
#include "shell/Startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <string>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString home = tmp.path() + "/prog";
    QDir().mkpath(home + "/Data");
    qputenv("FOCARIS_MACHINE_DIR", (tmp.path() + "/machine").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (tmp.path() + "/xdg").toLocal8Bit());

    focaris::sql::CityOptions options;
    if (argc > 1)
        options.applicationsPerMonth = std::atoi(argv[1]);
    QElapsedTimer t;
    t.start();
    const auto counts = focaris::sql::makeCityFolder((home + "/Data").toStdString(), options);
    std::printf("city folder: %ld applications, %ld members, made in %.2f s\n", counts.applications, counts.members,
                t.elapsed() / 1000.0);

    focaris::NullUi ui; // every question answered as with Escape
    focaris::shell::StartupOptions start;
    start.executable = home + "/focaris";
    start.programFolder = home;
    auto steps = focaris::shell::StartupSteps::defaults();
    // Each step's own time, summed over the runs, to see where a start spends it.
    std::map<std::string, double> spent;
    auto timed = [&spent](const char *name, auto &step) {
        auto inner = step;
        step = [&spent, name, inner](auto &&...args) {
            QElapsedTimer s;
            s.start();
            inner(std::forward<decltype(args)>(args)...);
            spent[name] += s.nsecsElapsed() / 1e9;
        };
    };
    timed("tables", steps.createTables);
    timed("purge log", steps.purgeLog);
    timed("upgrade", steps.upgradeData);
    timed("weekly pack", steps.weeklyPacking);
    timed("keys (twice)", steps.resetKeys);
    timed("templates", steps.installMissingFiles);

    t.restart();
    focaris::shell::RunStartup(ui, start, steps);
    const double first = t.elapsed() / 1000.0;
    auto report = [&spent](const char *run) {
        for (const auto &[name, seconds] : spent)
            std::printf("  %s: %-14s %.3f s\n", run, name.c_str(), seconds);
        spent.clear();
    };
    report("first");
    t.restart();
    focaris::shell::RunStartup(ui, start, steps);
    const double later = t.elapsed() / 1000.0;
    report("later");

    t.restart();
    focaris::QuerySql("SELECT COUNT(*) AS N FROM " + focaris::Quoted(focaris::TablePath("Cereri.dbf")));
    const double scan = t.elapsed() / 1000.0;

    std::printf("reference: full read of Cereri.dbf %.3f s\n", scan);
    std::printf("start-up, first start of the week (packs the tables): %.3f s (%.1f x reference)\n", first,
                scan > 0 ? first / scan : 0.0);
    std::printf("start-up, later start of the same week: %.3f s (%.1f x reference)\n", later,
                scan > 0 ? later / scan : 0.0);
    return 0;
}
