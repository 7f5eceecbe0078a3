// Times the application editor's operations on a city-sized data folder (15 months of
// 12,000 applications with 3 members each), against a full read of the applications
// table measured in the same run: opening in add mode, the look-up of a typed CNP, the
// tariff look-up of a typed supplier, one member check, and the whole save of a new
// application with three members (checks, questions answered "&Da", store, log entry).
// Every figure is the median of several runs on the warm engine, as in a running program.
#include "BenchApplications.h"
#include "applications/ApplicationEditor.h"
#include "applications/ApplicationStore.h"
#include "applications/EditorRows.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Keys.h"
#include "core/Months.h"
#include "core/NullUi.h"
#include "core/Settings.h"
#include "engines/localsql/CityFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

class YesUi : public focaris::NullUi {
public:
    focaris::MessageResult message(const QString &, const QString &, focaris::MessageKind,
                                   focaris::MessageButtons buttons) override
    {
        return buttons & focaris::MessageButton::Da ? focaris::MessageResult::Da : focaris::MessageResult::OK;
    }
};

double medianMs(int runs, const std::function<void()> &work)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        t.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    using namespace focaris;
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString home = tmp.path() + "/prog";
    QDir().mkpath(home + "/Data");
    qputenv("FOCARIS_MACHINE_DIR", (tmp.path() + "/machine").toLocal8Bit());
    sql::CityOptions options;
    if (argc > 1)
        options.applicationsPerMonth = std::atoi(argv[1]);
    QElapsedTimer made;
    made.start();
    const auto counts = sql::makeCityFolder((home + "/Data").toStdString(), options);
    std::printf("city folder: %ld applications, %ld members, made in %.2f s\n", counts.applications, counts.members,
                made.elapsed() / 1000.0);
    InitContext(home);
    QDir().mkpath(TempFolder());
    ResetKeys();
    const int month = options.firstMonthCode + options.months - 1;
    SetWorkingMonth(MonthText(month));

    // A household of the first month (present in every month) and its supplier.
    const sql::ResultSet one = QuerySql(QStringList{"SELECT CNP, FURNT FROM " + Quoted(TablePath("Cereri.dbf")),
                                                    "WHERE LUNACRT=" + QString::number(month)});
    const QString known = ToQString(one.value(one.rowCount() / 2, "CNP")).trimmed();
    const QString supplier = ToQString(one.value(0, "FURNT")).trimmed();

    QuerySql("SELECT COUNT(*) FROM " + Quoted(TablePath("Oameni.dbf"))); // both tables parsed once
    const double reference = medianMs(5, [] { QuerySql("SELECT * FROM " + Quoted(TablePath("Cereri.dbf"))); });
    std::printf("reference: full read of Cereri.dbf (SELECT *, %ld rows): %.3f ms\n", counts.applications, reference);

    YesUi ui;
    ApplicationEditor editor(ui);
    auto line = [reference](const char *what, double ms, double target) {
        std::printf("%-44s %9.3f ms  %6.3f x reference  (target <= %.0f ms: %s)\n", what, ms, ms / reference, target,
                    ms <= target ? "met" : "NOT met");
    };
    line("opening the editor in add mode", medianMs(5, [&] { editor.openAdd(); }), 150);
    line("look-up of a typed CNP (fill, copy members)", medianMs(9, [&] { editor.cnpChanged(known); }), 5);
    // The parts of the look-up, to see where its time goes.
    std::printf("  of which: the applicant's rows by CNP %.3f ms, the copy of the members %.3f ms\n",
                medianMs(9,
                         [&] {
                             QuerySql(QStringList{"SELECT * FROM " + Quoted(TablePath("Cereri.dbf")),
                                                  "WHERE CNP=" + SqlText(known),
                                                  "ORDER BY CNP,LUNACRT DESC,NRCRT DESC"});
                         }),
                medianMs(9, [&] { CopyMembers(editor.membersTable(), 1, -2); }));
    line("tariff look-up of a typed supplier", medianMs(9, [&] { editor.supplierChanged(supplier); }), 5);
    line("one member check (CNP of the month's members)",
         medianMs(9,
                  [&] {
                      // A CNP already a member in the month: the check runs and refuses, nothing is written.
                      editor.addMember({"POPESCU ION", known, "100", "adult"});
                  }),
         5);

    std::vector<double> saves;
    for (int i = 0; i < 5; ++i) {
        editor.openAdd();
        bench::TypeNewApplication(editor, i, supplier);
        QElapsedTimer t;
        t.start();
        const auto out = editor.save();
        if (!out.saved) {
            std::fprintf(stderr, "save refused: %s\n", qPrintable(out.refusal.message));
            return 1;
        }
        ApplicationStore(ui).store(editor);
        saves.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(saves.begin(), saves.end());
    line("whole save of a new application, 3 members", saves[saves.size() / 2], 30);
    return 0;
}
