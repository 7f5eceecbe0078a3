// Times the applications list and its month operations on a city-sized data folder
// (12,000 applications a month, fifteen months): opening the list window, one keystroke of
// the search, a sort, the copy of a month, the removal of the applicants also in another
// month, the numbering, the change of months and the recalculation. The reference is the
// engine's read of the working month's rows, measured in the same run; each figure is
// printed beside it as a ratio.
#include "admin/AidParameters.h"
#include "applications/MonthCopy.h"
#include "applications/MonthRecalculation.h"
#include "applications/Numbering.h"
#include "applications/Removals.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Keys.h"
#include "core/NullUi.h"
#include "engines/localsql/CityFolder.h"
#include "gui/applications/ApplicationsListWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

double ms(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    return t.nsecsElapsed() / 1e6;
}

// Lets the window paint what the last step changed.
void paint(QWidget &w)
{
    w.repaint();
    QCoreApplication::processEvents();
}

// Records when each progress step ends, to show where an operation spends its time.
class StepUi : public focaris::NullUi {
public:
    std::vector<double> marks;
    QElapsedTimer clock, sinceMark;
    double shownAfter = 0; // ms from mark() to the progress window
    void mark() { sinceMark.start(); }
    void progressShow(const QString &, int) override
    {
        marks.clear();
        clock.start();
        shownAfter = sinceMark.isValid() ? sinceMark.nsecsElapsed() / 1e6 : 0;
    }
    void progressStep() override { marks.push_back(clock.nsecsElapsed() / 1e6); }
    void print(const char *what) const
    {
        std::printf("  steps of the %s (ms):", what);
        double last = 0;
        for (double m : marks) {
            std::printf(" %.0f", m - last);
            last = m;
        }
        std::printf("\n");
    }
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    using namespace focaris;
    QTemporaryDir tmp;
    const QString home = tmp.path() + "/prog";
    InitContextForTests(home);
    qputenv("FOCARIS_SAVE_ROOTS", "");

    // bench_applist [PER_MONTH [FOLDER]]: a FOLDER that already holds the city's tables is
    // used as it is (the operations leave it as they found it, but for the keys and the
    // numbers of dispositions), which spares the minute it takes to make one.
    sql::CityOptions options;
    if (argc > 1)
        options.applicationsPerMonth = std::atoi(argv[1]);
    if (argc > 2)
        Context().dataFolder = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    if (!QFile::exists(TablePath("Cereri.dbf"))) {
        QDir().mkpath(DataFolder());
        QElapsedTimer t;
        t.start();
        const auto counts = sql::makeCityFolder(DataFolder().toStdString(), options);
        std::printf("city folder: %ld applications, %ld members, made in %.1f s\n", counts.applications, counts.members,
                    t.elapsed() / 1000.0);
    }
    ResetKeys();
    const int w = options.firstMonthCode + options.months - 1;
    const QString cereri = Quoted(TablePath("Cereri.dbf"));
    QuerySql("SELECT COUNT(*) AS N FROM " + cereri); // the tables parsed once, as after start-up
    QuerySql("SELECT COUNT(*) AS N FROM " + Quoted(TablePath("Oameni.dbf")));

    double reference = 1e300;
    for (int i = 0; i < 3; ++i)
        reference = std::min(
            reference, ms([&] { QuerySql("SELECT * FROM " + cereri + "\nWHERE LUNACRT=" + QString::number(w)); }));

    StepUi ui;
    gui::ApplicationsListWindow window(ui);
    window.resize(1200, 700);
    window.show();
    struct Line {
        const char *what;
        double ms, target;
    };
    std::vector<Line> lines;
    lines.push_back({"open the list window on the month (query, model, paint)", ms([&] {
                         window.openMonth(w);
                         paint(window);
                     }),
                     300});
    double keystroke = 0;
    for (const char *c : {"I", "IO", "ION"})
        keystroke = std::max(keystroke, ms([&] {
                                 window.searchField()->setText(QString::fromLatin1(c));
                                 paint(window);
                             }));
    lines.push_back({"one search keystroke (slowest of I, O, N)", keystroke, 50});
    window.searchField()->clear();
    paint(window);
    lines.push_back({"sort by a title (Nr.) keeping the current application", ms([&] {
                         window.sortByColumn(0);
                         paint(window);
                     }),
                     300});

    NumberingRequest numbering;
    numbering.from = 1;
    numbering.to = 9999999999;
    numbering.start = 1;
    numbering.date = QDate(2024, 12, 15);
    qint64 numbered = 0;
    lines.push_back({"numbering every application of the month",
                     ms([&] { numbered = NumberDispositions(ui, w, numbering).rows; }), 1000});
    lines.push_back({"change of months of the month", ms([&] { ChangeMonths(ui, w, 3); }), 2000});
    lines.push_back({"recalculation of the month", ms([&] { RecalculateMonth(ui, w, AidParameters()); }), 2000});
    Outcome copied;
    lines.push_back(
        {"copy of the month into a new month (with members)", ms([&] { copied = CopyFromMonth(ui, w, w + 1); }), 2000});
    ui.print("copy");
    Outcome removed;
    ui.mark();
    const double removal = ms([&] { removed = RemoveAlsoInMonth(ui, w, w + 1); });
    // The save runs before the progress window of the removal shows.
    const double save = ui.shownAfter;
    lines.push_back({"removal of the applicants also in another month, without the save", removal - save, 1000});
    lines.push_back({"  the dated save of the data folder before it", save, 0});

    std::printf("rows: numbered %lld, copied %lld (%lld members), removed %lld (%lld members)\n",
                static_cast<long long>(numbered), static_cast<long long>(copied.rows),
                static_cast<long long>(copied.members), static_cast<long long>(removed.rows),
                static_cast<long long>(removed.members));
    std::printf("reference: the engine's read of the month's %d rows: %.1f ms\n\n", options.applicationsPerMonth,
                reference);
    std::printf("%-70s %9s %8s %8s\n", "step", "ms", "x ref", "target");
    for (const Line &l : lines) {
        if (l.target > 0)
            std::printf("%-70s %9.1f %8.2f %8.0f %s\n", l.what, l.ms, l.ms / reference, l.target,
                        l.ms <= l.target ? "ok" : "SLOW");
        else
            std::printf("%-70s %9.1f %8.2f\n", l.what, l.ms, l.ms / reference);
    }
    return 0;
}
