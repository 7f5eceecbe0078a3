// Times the VMG and the ASF import of a register archive of 10,000 files and 30,000
// members into a city-sized data folder: the first import (nothing to replace) and a
// second one that replaces it (with the dated save of the data folder before it). The
// reference is the reading of the unpacked register tables (every row of the three
// tables) measured in the same run.
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Keys.h"
#include "core/NullUi.h"
#include "engines/archive/Archive.h"
#include "engines/dbase/DbfTable.h"
#include "engines/localsql/CityFolder.h"
#include "periods/Imports.h"
#include "safety/Backup.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using focaris::dbf::ColumnDef;
using focaris::dbf::DbfTable;
using focaris::dbf::Record;
using focaris::dbf::Value;

ColumnDef c(const char *name, int n)
{
    return ColumnDef::charColumn(name, n);
}
ColumnDef n(const char *name, int p, int s = 0)
{
    return ColumnDef::decimalColumn(name, p, s);
}

void table(const std::filesystem::path &path, const std::vector<ColumnDef> &columns, const std::vector<Record> &rows)
{
    DbfTable::create(path, columns);
    DbfTable(path).appendMany(rows);
}

Value t(const std::string &s)
{
    return Value::fromText(s);
}
Value v(double d)
{
    return Value::fromNumber(d);
}

// A register folder of `files` files, three members and one or two inquiries each.
void registerFolder(const std::filesystem::path &folder, bool vmg, int files)
{
    std::filesystem::create_directories(folder);
    std::vector<Record> f, q, m;
    for (int i = 1; i <= files; ++i) {
        const std::string name = "POPESCU ŞTEFAN " + std::to_string(i);
        const Value date = Value::fromDate(2024, 1 + i % 12, 1 + i % 28);
        if (vmg)
            f.push_back({v(i),
                         v(i),
                         date,
                         t(name),
                         t("1800101123456"),
                         t("Mihai Viteazu"),
                         t(std::to_string(i % 90)),
                         t(""),
                         t(""),
                         t(""),
                         t("3"),
                         t("DEVA"),
                         v(3),
                         v(100),
                         v(50.5),
                         Value(),
                         t("CS"),
                         t(""),
                         t("X"),
                         t(i % 10 ? "APROBATA" : "INCETATA")});
        else
            f.push_back({v(i), v(i), date, t(name), t("1800101123456"), t("Unirii"), t("7"), t("C2"), t("B"), t("1"),
                         t("14"), t("DEVA"), t("M"), t(""), t("X"), v(3), t("X"), t(i % 10 ? "ACTIVA" : "INCETATA")});
        const int inquiries = 1 + i % 2;
        for (int k = 0; k < inquiries; ++k) {
            const int id = i * 2 + k;
            if (vmg)
                q.push_back({v(i), v(2 + k), v(k)});
            else
                q.push_back({v(id), v(i), Value::fromDate(2024, 3 + k, 1), v(3)});
        }
        for (int k = 1; k <= 3; ++k) {
            if (vmg)
                m.push_back({v(i), v(k), t("MEMBRU " + std::to_string(k)), t("2800101123456"), v(10), v(20), Value(),
                             v(k), t("")});
            else
                m.push_back({v(i), v(i * 2 + inquiries - 1), t("MEMBRU " + std::to_string(k)), t("2800101123456"),
                             v(10), v(20), v(k)});
        }
    }
    if (vmg) {
        table(folder / "Cereri.dbf", {n("IDCERERE", 10),  n("CERENR", 10),    ColumnDef::dateColumn("CEREDATA"),
                                      c("NUME", 40),      c("CNP", 13),       c("STR", 40),
                                      c("STRNR", 10),     c("BLOC", 10),      c("SCARA", 5),
                                      c("ETAJ", 5),       c("APART", 5),      c("LOCALIT", 40),
                                      n("NRMEMBRI", 3),   n("VENITP", 10, 2), n("VENITV", 10, 2),
                                      n("VENITA", 10, 2), c("STCIV", 2),      c("SITSCOL", 2),
                                      c("ASF", 1),        c("STARE", 12)},
              f);
        table(folder / "Anchete.dbf", {n("IDCERERE", 10), n("NRCAMERE", 3), n("POL", 1)}, q);
        table(folder / "Oameni.dbf",
              {n("IDCERERE", 10), n("IDOM", 3), c("NUME", 40), c("CNPDATA", 13), n("CUANTUMV", 10, 2),
               n("CUANTUMP", 10, 2), n("CUANTUMA", 10, 2), n("RUDACOD", 2), c("PRESTEAZA", 2)},
              m);
    } else {
        table(folder / "Cereri.dbf",
              {n("IDCERERE", 10), n("CERENR", 10), ColumnDef::dateColumn("CEREDATA"), c("NUME", 40), c("CNP", 13),
               c("STRADA", 40), c("STRNR", 10), c("BLOC", 10), c("SCARA", 5), c("ETAJ", 5), c("APT", 5),
               c("LOCALIT", 40), c("STCIV", 2), c("SITSCOL", 2), c("L416", 1), n("NRCAMERE", 3), c("ASIG", 1),
               c("STARE", 12)},
              f);
        table(folder / "Anchete.dbf",
              {n("IDANCHET", 10), n("IDCERERE", 10), ColumnDef::dateColumn("LADATA"), n("TMEMBRI", 3)}, q);
        table(folder / "Oameni.dbf",
              {n("IDCERERE", 10), n("IDANCHET", 10), c("NUME", 40), c("CNPDATA", 13), n("CUANTUMV", 10, 2),
               n("CUANTUMA", 10, 2), n("RUDACOD", 2)},
              m);
    }
}

double seconds(QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString home = tmp.path() + "/prog";
    qputenv("FOCARIS_MACHINE_DIR", (tmp.path() + "/machine").toLocal8Bit());
    focaris::InitContextForTests(home);
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;

    focaris::sql::CityOptions city;
    if (argc > 2)
        city.months = std::atoi(argv[2]);
    QElapsedTimer t;
    t.start();
    const auto counts = focaris::sql::makeCityFolder(focaris::DataFolder().toStdString(), city);
    focaris::ResetKeys();
    std::printf("city folder: %ld applications, %ld members, made in %.2f s\n", counts.applications, counts.members,
                seconds(t));

    focaris::NullUi ui;
    for (const bool vmg : {true, false}) {
        const std::filesystem::path source = (tmp.path() + (vmg ? "/vmg" : "/asf")).toStdString();
        registerFolder(source, vmg, files);
        const std::filesystem::path archive = source.string() + (vmg ? ".416" : ".as2");
        focaris::archive::writeArchive(source, archive);

        // The reference: unpacking aside, every row of the three unpacked tables read.
        const std::filesystem::path unpacked = source.string() + "_read";
        std::filesystem::create_directories(unpacked);
        focaris::archive::extractArchive(archive, unpacked);
        t.restart();
        std::size_t rows = 0;
        for (const char *name : {"Cereri.dbf", "Anchete.dbf", "Oameni.dbf"})
            rows += DbfTable(unpacked / name, true).readAll().size();
        const double reference = seconds(t);

        const char *label = vmg ? "VMG" : "ASF";
        auto run = [&](const char *what) {
            QElapsedTimer r;
            r.start();
            const auto result = vmg ? focaris::periods::ImportVmgArchive(ui, QString::fromStdString(archive.string()))
                                    : focaris::periods::ImportAsfArchive(ui, QString::fromStdString(archive.string()));
            const double s = seconds(r);
            std::printf("%s import, %s: %lld applications, %lld members in %.3f s (%.1f x reference)\n", label, what,
                        static_cast<long long>(result.applications), static_cast<long long>(result.members), s,
                        s / reference);
        };
        std::printf("reference: reading the unpacked %s tables (%zu rows) %.3f s\n", label, rows, reference);
        run("first");
        run("replacing the first (with the save before it)");
        // The save before a replacement is the data folder archived whole; timed alone it
        // tells what the replacing import spends on its own work.
        t.restart();
        focaris::SaveBeforeDestroying(ui);
        std::printf("  of which the save of the data folder alone: %.3f s\n", seconds(t));
    }
    return 0;
}
