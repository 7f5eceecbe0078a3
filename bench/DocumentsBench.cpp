// Times the documents of the month on a city-sized data folder (12,000 applications in
// the working month, fifteen months in the tables), each beside two references measured
// in the same run: the engine's read of the same rows (the statements the document runs)
// and the plain write of the same bytes (the finished file written once with fwrite).
//
//   bench_documents [FOLDER [ONLY]]   FOLDER (made when it holds no Cereri.dbf, removed at
//                              the end unless given) receives the templates; the single
//                              disposition step renumbers 10,000 rows of its last month.
//                              ONLY (dispositions, reports, payments, single) runs one step.
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Months.h"
#include "core/NullUi.h"
#include "core/Settings.h"
#include "documents/ApplicationReports.h"
#include "documents/PaymentStatement.h"
#include "documents/SeparateDispositions.h"
#include "documents/SingleDisposition.h"
#include "documents/TemplateStore.h"
#include "engines/localsql/CityFolder.h"

#include <QCoreApplication>
#include <QDir>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace fs = std::filesystem;
using namespace focaris;
using namespace focaris::documents;

namespace {

double seconds(const std::function<void()> &f)
{
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// The plain write of a file's bytes, once, to a scratch file beside it.
double plainWrite(const QString &file)
{
    std::ifstream in(file.toStdString(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string data = bytes.str();
    const std::string copy = file.toStdString() + ".copy";
    const double t = seconds([&] {
        std::FILE *f = std::fopen(copy.c_str(), "wb");
        std::fwrite(data.data(), 1, data.size(), f);
        std::fclose(f);
    });
    fs::remove(copy);
    return t;
}

std::size_t rowsOf(const QStringList &statement)
{
    return QuerySql(statement).rowCount();
}

void line(const char *what, std::size_t count, double t, double read, double write, double target)
{
    std::printf("%-44s %6zu rows: %.3f s (target %.0f s) | engine read %.3f s (x%.1f) | plain write %.3f s (x%.0f)\n",
                what, count, t, target, read, read > 0 ? t / read : 0.0, write, write > 0 ? t / write : 0.0);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool given = argc > 1;
    const fs::path folder = given ? fs::path(argv[1]) : fs::temp_directory_path() / "focaris-city-documents";
    sql::CityOptions options;
    if (!fs::exists(folder / "Cereri.dbf")) {
        std::printf("making the city folder in %s ...\n", folder.c_str());
        fs::create_directories(folder);
        sql::makeCityFolder(folder, options);
    }
    const fs::path scratch = fs::temp_directory_path() / "focaris-bench-documents";
    fs::create_directories(scratch);
    Context().dataFolder = QString::fromStdString(folder.string());
    Context().tempFolder = QString::fromStdString(scratch.string());
    InstallMissingFiles(DataFolder());
    const int month = options.firstMonthCode + options.months - 1;
    SetWorkingMonth(MonthText(month));
    NullUi ui;
    // One untimed read first, so that every step and its reference find the table parsed.
    QuerySql(QStringList{"SELECT COUNT(*) AS N FROM " + Quoted(TablePath("Cereri.dbf")),
                         "WHERE LUNACRT=" + QString::number(month)});
    const std::string only = argc > 2 ? argv[2] : "";
    auto wanted = [&](const char *step) { return only.empty() || only == step; };
    auto out = [&](const char *name) { return QString::fromStdString((scratch / name).string()); };

    // Separate dispositions: the grants and the rejections of every number of the month.
    if (wanted("dispositions")) {
        const DispositionRange range{"1", "12000", QDate(2024, 12, 1)};
        std::size_t n = 0;
        const double read = seconds([&] {
            n = rowsOf(SeparateDispositionsStatement(DispositionKind::Grant, "1", "12000", month)) +
                rowsOf(SeparateDispositionsStatement(DispositionKind::Rejection, "1", "12000", month));
        });
        Outcome g, r;
        const double t = seconds([&] {
            g = PrintSeparateDispositions(ui, DispositionKind::Grant, range, out("grant.rtf"));
            r = PrintSeparateDispositions(ui, DispositionKind::Rejection, range, out("reject.rtf"));
        });
        line("separate dispositions (grant + rejection)", n, t, read, plainWrite(g.file) + plainWrite(r.file), 5);
    }
    // Reports on applications.
    if (wanted("reports")) {
        std::size_t n = 0;
        const double read = seconds([&] { n = rowsOf(ReportsStatement("1", "12000", month)); });
        Outcome o;
        const double t = seconds([&] { o = PrintReports(ui, {"1", "12000"}, out("reports.rtf")); });
        line("reports on applications", n, t, read, plainWrite(o.file), 5);
    }
    // Payment statement of every approved application.
    if (wanted("payments")) {
        StatementSelection s;
        s.monthText = "decembrie 2024";
        std::size_t n = 0;
        const double read = seconds([&] { n = rowsOf(PaymentStatementStatement(s, month)); });
        Outcome o;
        const double t = seconds([&] { o = PrintPaymentStatement(ui, s, out("stat.xls")); });
        line("payment statement (3 sheets)", n, t, read, plainWrite(o.file), 2);
    }
    // Single disposition: 10,000 approved rows of the month given one number.
    if (wanted("single")) {
        ExecSql(QStringList{"UPDATE " + Quoted(TablePath("Cereri.dbf")), "SET NR_DISP=\"777\", CUAJUT=\"X\"",
                            "WHERE LUNACRT=" + QString::number(month) + " AND STATUT=\"APROBAT\"",
                            "AND (CUMODIF<>\"X\" OR CUMODIF IS NULL) AND NR_CERE<=10625"});
        SingleDispositionFields f;
        f.number = "777";
        f.start = QDate(2024, 12, 1);
        std::size_t n = 0;
        const QString where = "WHERE CAST(NR_DISP AS FLOAT)=777 AND LUNACRT=" + QString::number(month);
        const double read = seconds([&] {
            for (const char *select : {"SELECT *", "SELECT Count(*) AS NRX", "SELECT Count(*) AS NRX",
                                       "SELECT SUBSEMN AS TITULAR, CNP, ADRESA", "SELECT SUBSEMN AS TITULAR, CNP"})
                n = std::max(n, rowsOf({select, "FROM " + Quoted(TablePath("Cereri.dbf")), where}));
        });
        Outcome o;
        const double t = seconds([&] { o = PrintSingleDisposition(ui, f, out("unica.xls")); });
        line("single disposition (annex rows)", n, t, read, plainWrite(o.file), 2);
    }
    fs::remove_all(scratch);
    if (!given)
        fs::remove_all(folder);
    return 0;
}
