// Times the county agency's report (every annex of a five-month period) and the supplier
// reports (Format AJPIS and both E.ON workbooks) on a city-sized folder of 12,000
// applications a month. The reference is the engine's read of the same rows (the period's
// applications with the columns the reports use), measured in the same run.
#include "admin/Municipality.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Months.h"
#include "core/NullUi.h"
#include "core/Settings.h"
#include "documents/TemplateStore.h"
#include "engines/localsql/CityFolder.h"
#include "reports/AjpisReport.h"
#include "reports/AjpisRows.h"
#include "reports/EonReport.h"
#include "reports/SupplierReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Chooses the output folder, answers every question with Da, prints errors.
class BenchUi : public focaris::NullUi {
public:
    QString folder;
    focaris::MessageResult message(const QString &title, const QString &text, focaris::MessageKind kind,
                                   focaris::MessageButtons) override
    {
        if (kind == focaris::MessageKind::Error)
            std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text.simplified()));
        return focaris::MessageResult::Da;
    }
    bool chooseFolder(const QString &, QString &chosen) override
    {
        chosen = folder;
        return true;
    }
};

double seconds(QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e9;
}

// Processor time of the process, which a loaded machine does not stretch as it does the
// time on the clock.
double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    using namespace focaris;
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString home = tmp.path() + "/prog";
    qputenv("FOCARIS_MACHINE_DIR", (tmp.path() + "/machine").toLocal8Bit());
    InitContext(home);
    QDir().mkpath(DataFolder());
    QDir().mkpath(TempFolder());

    sql::CityOptions options;
    options.months = 5;
    if (argc > 1)
        options.applicationsPerMonth = std::atoi(argv[1]);
    QElapsedTimer t;
    t.start();
    const auto counts = sql::makeCityFolder(DataFolder().toStdString(), options);
    std::printf("city folder: %ld applications over %d months, made in %.2f s\n", counts.applications, options.months,
                seconds(t));

    WriteSetting("SETARI", "PRIMARIA", "TARGU MURES");
    WriteSetting("SETARI", "JUDET", "MURES");
    WriteSetting("SETARI", "SIRUES", "4322637");
    InstallMissingFiles(DataFolder());
    const int first = options.firstMonthCode, last = first + options.months - 1;
    SetWorkingMonth(MonthText(last));

    BenchUi ui;
    ui.folder = tmp.path() + "/out";
    QDir().mkpath(ui.folder);

    // Reference: the engine's read of the same rows, once warm (the reports find the table
    // parsed as well, since the first statement of a run parses it).
    reports::ReadApplications(first, last, last);
    double cpu = cpuSeconds();
    t.restart();
    const auto rows = reports::ReadApplications(first, last, last);
    const double reference = seconds(t), referenceCpu = cpuSeconds() - cpu;
    std::printf("reference: engine read of %zu rows of the period: %.3f s (processor %.3f s)\n", rows.size(), reference,
                referenceCpu);
    auto line = [&](const char *what, const reports::ReportResult &r, double wall, double proc, const char *target) {
        std::printf("%s: %lld files in %.3f s = %.1f x reference; processor %.3f s = %.1f x reference%s%s\n", what,
                    qlonglong(r.files.size()), wall, wall / reference, proc, proc / referenceCpu, target,
                    r.done ? "" : " FAILED");
    };

    cpu = cpuSeconds();
    t.restart();
    const auto ajpis = reports::MakeAjpisReport(ui, first, last);
    const double ajpisTime = seconds(t), ajpisCpu = cpuSeconds() - cpu;
    line("report ajpis", ajpis, ajpisTime, ajpisCpu, " (target 5 s)");

    cpu = cpuSeconds();
    t.restart();
    const auto suppliers = reports::MakeSupplierReport(ui);
    const double suppliersTime = seconds(t), suppliersCpu = cpuSeconds() - cpu;
    line("report suppliers", suppliers, suppliersTime, suppliersCpu, "");

    reports::EonChoice choice = reports::LoadEonChoice();
    choice.supplier = choice.suppliers.value(0);
    for (auto &entry : choice.postalCodes)
        entry.second = QStringLiteral("540001");
    cpu = cpuSeconds();
    t.restart();
    const auto eon = reports::MakeEonReport(ui, choice);
    const double eonTime = seconds(t), eonCpu = cpuSeconds() - cpu;
    line("report eon", eon, eonTime, eonCpu, "");
    std::printf("supplier reports together: %.3f s, processor %.3f s (target 2 s)\n", suppliersTime + eonTime,
                suppliersCpu + eonCpu);
    return ajpis.done && suppliers.done && eon.done ? 0 : 1;
}
