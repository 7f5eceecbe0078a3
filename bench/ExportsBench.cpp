// Times the exports on a city-sized data folder (12,000 applications with 36,000 members
// in the working month, fifteen months in all): the national agency's XML, the F2201
// requests, the treasury's four files and each list, each printed beside the engine's
// read of the rows it needs, measured in the same run, with the peak memory of the XML.
//
//   bench_exports [FOLDER]   FOLDER is made when it holds no Cereri.dbf (kept afterwards)
#include "BenchTiming.h"
#include "admin/Municipality.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/NullUi.h"
#include "core/Settings.h"
#include "engines/localsql/CityFolder.h"
#include "reports/AnpisExport.h"
#include "reports/F2201Export.h"
#include "reports/OfficeLists.h"
#include "reports/PersonsDbfExport.h"
#include "reports/TreasuryReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

using namespace focaris;

namespace {

// Nobody at the keyboard: every question is answered "Da", the folder and file dialogs
// get the scratch output.
class BenchUi : public NullUi {
public:
    QString folder, file;
    MessageResult message(const QString &, const QString &text, MessageKind kind, MessageButtons buttons) override
    {
        if (kind == MessageKind::Error)
            std::fprintf(stderr, "message: %s\n", qPrintable(text.simplified()));
        return (buttons & MessageButton::Da) ? MessageResult::Da : MessageResult::OK;
    }
    bool chooseFolder(const QString &, QString &f) override
    {
        f = folder;
        return true;
    }
    QString saveFileName(const QString &, const QString &, const QString &) override { return file; }
};

void line(const char *what, double took, double reference, double limitMs)
{
    std::printf("%-20s %7.1f ms (cpu %7.1f)  engine read %7.1f ms  ratio %5.2f  target <= %.0f ms %s\n", what, took,
                bench::lastCpu, reference, reference > 0 ? took / reference : 0, limitMs,
                took <= limitMs ? "ok" : "OVER");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const std::filesystem::path folder =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path() / "focaris-city-exports";
    sql::CityOptions options;
    if (!std::filesystem::exists(folder / "Cereri.dbf")) {
        std::printf("making the city folder in %s ...\n", folder.c_str());
        std::filesystem::create_directories(folder);
        sql::makeCityFolder(folder, options);
    }
    QTemporaryDir scratch;
    InitContext(scratch.path());
    QDir().mkpath(TempFolder());
    Context().dataFolder = QString::fromStdString(folder.string());
    const int month = options.firstMonthCode + options.months - 1;
    SetWorkingMonth(QStringLiteral("%1.%2").arg(month % 12 + 1, 2, 10, QLatin1Char('0')).arg(month / 12));
    Municipality m;
    m.primaria = QStringLiteral("ORAS MARE");
    m.sirues = QStringLiteral("4562345");
    m.judet = QStringLiteral("CLUJ");
    m.codJud = QStringLiteral("12");
    m.primar = QStringLiteral("PRIMAR");
    SaveMunicipality(m);

    BenchUi ui;
    ui.folder = scratch.path() + QStringLiteral("/out");
    QDir().mkpath(ui.folder);
    const QString w = QString::number(WorkingMonthCode());
    const QString cereri = Quoted(TablePath(QStringLiteral("Cereri.dbf")));
    const QString oameni = Quoted(TablePath(QStringLiteral("Oameni.dbf")));

    // Warm the engine's copies of the tables, as a running program has them.
    QuerySql(QStringLiteral("SELECT COUNT(*) FROM ") + cereri);
    QuerySql(QStringLiteral("SELECT COUNT(*) FROM ") + oameni);
    const auto count =
        QuerySql(QStringLiteral("SELECT COUNT(*) AS N FROM ") + cereri + QStringLiteral(" WHERE LUNACRT=") + w);
    std::printf("working month %s: %lld applications\n", qPrintable(WorkingMonth()),
                static_cast<long long>(count.value(0, 0).toInt()));

    auto readApps = [&](const QString &cond) {
        return bench::ms([&] {
            QuerySql(QStringLiteral("SELECT * FROM ") + cereri + QStringLiteral(" WHERE LUNACRT=") + w + cond);
        });
    };
    auto readMembers = [&](const QString &cond) {
        return bench::ms([&] {
            QuerySql(QStringLiteral("SELECT A.* FROM ") + oameni + QStringLiteral(" A, ") + cereri +
                     QStringLiteral(" B WHERE A.NRCRT=B.NRCRT AND B.LUNACRT=") + w + cond);
        });
    };

    const double refAnpis = readApps(QStringLiteral(" AND TOTAL>0")) + readMembers(QStringLiteral(" AND B.TOTAL>0"));
    const long rssBefore = bench::statusKb("VmRSS:");
    const double anpis = bench::ms([&] { exports::ExportAnpis(ui); });
    const long peak = bench::statusKb("VmHWM:");
    line("ANPIS XML", anpis, refAnpis, 2000);
    std::printf("%-22s rss before %ld MB, peak %ld MB (target: the export adds <= 200 MB)\n", "", rssBefore / 1024,
                peak / 1024);

    const double refF2201 = readMembers(QStringLiteral(" AND B.STATUT=\"APROBAT\""));
    line("F2201", bench::ms([&] { exports::ExportF2201(ui); }), refF2201, 2000);

    exports::TreasuryChoice choice;
    choice.transferDate = QDate::currentDate();
    const double refTreasury = readApps(QStringLiteral(" AND STATUT=\"APROBAT\" AND SUMAL>0"));
    line("treasury set", bench::ms([&] { exports::CreateTreasuryReport(ui, choice); }), refTreasury, 1000);

    const double refPersons = readMembers(QStringLiteral(" AND B.STATUT=\"APROBAT\" AND B.CUAJUT=\"X\""));
    line("persons and age", bench::ms([&] { exports::PersonsAgeList(ui); }), refPersons, 2000);
    const double refMembers = readMembers(QStringLiteral(" AND B.STATUT=\"APROBAT\""));
    line("members situation", bench::ms([&] { exports::MembersSituation(ui); }), refMembers, 2000);
    const double refRisk = readApps(QStringLiteral(" AND STATUT=\"APROBAT\""));
    line("risk-based control", bench::ms([&] { exports::RiskControlList(ui, QStringLiteral("01"), 2024); }), refRisk,
         2000);
    ui.file = scratch.path() + QStringLiteral("/out/persoane.dbf");
    const double refTable = readMembers(QString());
    line("persons table", bench::ms([&] { exports::ExportPersonsDbf(ui); }), refTable, 2000);
    return 0;
}
