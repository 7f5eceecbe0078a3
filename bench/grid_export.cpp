// Exports a grid of 12,000 rows and 38 columns (a city's month as the applications list
// shows it) in each of the six formats and prints the time of each. The reference, measured
// in the same run, is reading every shown value of the model once and writing the CSV's
// bytes with one plain write: what any export must do at the least.
#include "documents/GridExport.h"

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

using namespace focaris;

namespace {

constexpr int kRows = 12000;
constexpr int kColumns = 38;

// Values of the shapes a list holds: CNPs and codes as text, names with Romanian letters,
// amounts as numbers.
class CityMonth : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex & = {}) const override { return kRows; }
    int columnCount(const QModelIndex & = {}) const override { return kColumns; }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return QStringLiteral("COLOANA%1").arg(section);
    }
    QVariant data(const QModelIndex &i, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        const int r = i.row();
        switch (i.column() % 6) {
        case 0: return QString::number(1800101000000LL + r);
        case 1: return QStringLiteral("ŞTEFĂNESCU ION %1").arg(r);
        case 2: return QStringLiteral("Str. Principală nr. %1").arg(r % 500);
        case 3: return double((r * 7 + i.column()) % 300) + 0.25;
        case 4: return r % 12;
        default: return QStringLiteral("%1").arg(r % 97, 5, 10, QLatin1Char('0'));
        }
    }
};

double msSince(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    CityMonth model;
    const QList<GridColumn> columns = AllGridColumns(model);

    auto t0 = std::chrono::steady_clock::now();
    QByteArray plain;
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            plain += model.data(model.index(r, c), Qt::DisplayRole).toString().toUtf8();
            plain += ';';
        }
        plain += "\r\n";
    }
    QFile out(dir.filePath(QStringLiteral("plain.csv")));
    out.open(QIODevice::WriteOnly);
    out.write(plain);
    out.close();
    const double reference = msSince(t0);
    std::printf("reference: read %d x %d shown values and write %lld bytes: %.1f ms\n", kRows, kColumns,
                static_cast<long long>(plain.size()), reference);
    // An argument names the one format to time (for profiling).
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    for (GridFormat f : GridFormats()) {
        if (!only.isEmpty() && GridFormatSuffix(f) != only)
            continue;
        QString error;
        const QString file = dir.filePath(QStringLiteral("grid.") + GridFormatSuffix(f));
        t0 = std::chrono::steady_clock::now();
        const bool ok = ExportGrid(model, columns, f, file, error);
        const double ms = msSince(t0);
        std::printf("%-4s %s %9.1f ms  %5.2f x reference  %lld bytes\n", qPrintable(GridFormatCaption(f)),
                    ok ? "ok    " : "FAILED", ms, ms / reference, static_cast<long long>(QFile(file).size()));
    }
    return 0;
}
