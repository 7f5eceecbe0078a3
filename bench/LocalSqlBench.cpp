// Times the program's heavy statements on a city-sized data folder (12,000 applications a
// month for fifteen months, three members each), warm, on three engines in the same run:
// the program's engine over the .dbf files, SQLite with the same rows in in-memory tables
// (the reference), and GDAL's OGR SQL (ogrinfo -dialect SQLite) over the same files, for
// the statements it can run (it cannot write dBase files through SQL).
//
//   bench_localsql [FOLDER]   FOLDER is made when it holds no Cereri.dbf (kept afterwards)
#include "SqliteReference.h"
#include "engines/dbase/DbfTable.h"
#include "engines/localsql/CityFolder.h"
#include "engines/localsql/Engine.h"
#include "engines/localsql/TableCursor.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace focaris;
using namespace focaris::bench;

namespace {

double nowMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Best of `runs` timings of f (milliseconds).
double best(int runs, const std::function<void()> &f)
{
    double b = 1e300;
    for (int i = 0; i < runs; ++i) {
        const double t0 = nowMs();
        f();
        b = std::min(b, nowMs() - t0);
    }
    return b;
}

long rssKb()
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

double ogrMs(const fs::path &folder, const std::string &sql)
{
    const std::string cmd =
        "ogrinfo -q -ro -dialect SQLite -sql \"" + sql + "\" '" + folder.string() + "' >/dev/null 2>&1";
    const double t0 = nowMs();
    const int rc = std::system(cmd.c_str());
    const double t = nowMs() - t0;
    return rc == 0 ? t : -1;
}

struct Line {
    std::string what;
    double engine = 0, sqlite = 0, ogr = -1;
    long rows = 0;
};

} // namespace

int main(int argc, char **argv)
{
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "focaris-city";
    if (!fs::exists(folder / "Cereri.dbf")) {
        std::printf("making the city folder in %s ...\n", folder.c_str());
        const double t0 = nowMs();
        const auto counts = sql::makeCityFolder(folder);
        std::printf("  %ld applications, %ld members in %.1f s\n", counts.applications, counts.members,
                    (nowMs() - t0) / 1000);
    }
    fs::remove(folder / "TmpC.dbf");
    fs::remove(folder / "TmpO.dbf");
    const auto fileBytes = fs::file_size(folder / "Cereri.dbf") + fs::file_size(folder / "Oameni.dbf");
    const std::string C = "\"" + (folder / "Cereri.dbf").string() + "\"";
    const std::string O = "\"" + (folder / "Oameni.dbf").string() + "\"";
    const std::string TC = "\"" + (folder / "TmpC.dbf").string() + "\"";
    const std::string TO = "\"" + (folder / "TmpO.dbf").string() + "\"";
    const int last = 2023 * 12 + 9 + 14, target = last + 1;
    const std::string W = std::to_string(last), T = std::to_string(target);

    // The program's engine.
    const long rss0 = rssKb();
    sql::Engine engine;
    const double firstLoad = best(1, [&] {
        engine.query("SELECT COUNT(*) FROM " + C);
        engine.query("SELECT COUNT(*) FROM " + O);
    });
    const std::string cnp = engine.query("SELECT CNP FROM " + C + " WHERE NRCRT=4321").value(0, 0).toString();
    const std::string memberCnp = engine.query("SELECT CNP FROM " + O + " WHERE NROM=9999").value(0, 0).toString();

    const std::string listQ = "SELECT * FROM " + C + "\nWHERE LUNACRT=" + W + "\nORDER BY SUBSEMN";
    const std::string lookQ = "SELECT * FROM " + C + "\nORDER BY CNP,LUNACRT DESC";
    const std::string oneQ = "SELECT * FROM " + C + "\nWHERE CNP=\"" + cnp + "\"\nORDER BY CNP,LUNACRT DESC";
    const std::string joinQ = "SELECT A.CNP, B.NR_CERE, B.DATACERE FROM " + O + " A, " + C + " B\nWHERE A.CNP=\"" +
                              memberCnp + "\"\nAND A.NRCRT=B.NRCRT AND B.LUNACRT=" + W;
    const std::string ajpisQ =
        "SELECT SUBSEMN, CNP, LOCALIT + \" \" + ADRESA AS ADRESA, NR_DISP, DATADISP, NR_MEMBRI, VENITM, "
        "NR_LUNI, CODCLT, CUANTUM, VALMAX FROM " +
        C + "\nWHERE STATUT=\"APROBAT\" AND TOTAL>0 AND LUNACRT>=" + std::to_string(last - 5) + " AND LUNACRT<=" + W +
        "\nORDER BY NR_LUNI, SUBSEMN";
    const std::string groupQ = "SELECT FURNG, SUBSEMN, CNP, SUM(SUMAG) AS SUMAT FROM " + C + "\nWHERE LUNACRT=" + W +
                               " AND STATUT=\"APROBAT\"\nGROUP BY FURNG, SUBSEMN, CNP\nORDER BY FURNG, SUBSEMN";
    std::vector<Line> lines;
    auto timeQuery = [&](const std::string &what, const std::string &q) {
        Line l;
        l.what = what;
        engine.query(q); // warm
        l.engine = best(3, [&] { l.rows = static_cast<long>(engine.query(q).rowCount()); });
        lines.push_back(l);
    };
    timeQuery("applications list of one month, ORDER BY SUBSEMN", listQ);
    timeQuery("editor look-up, all months, ORDER BY CNP,LUNACRT DESC", lookQ);
    timeQuery("editor look-up of one CNP (WHERE CNP=)", oneQ);
    timeQuery("member-CNP check join", joinQ);
    timeQuery("AJPIS annex 1 selection (6 months)", ajpisQ);
    timeQuery("supplier report GROUP BY", groupQ);

    // Time of each step of the last copy, to see where the time goes.
    std::vector<std::pair<std::string, double>> copySteps;
    auto step = [&](const std::string &what, const std::function<void()> &f) {
        const double t0 = nowMs();
        f();
        copySteps.emplace_back(what, nowMs() - t0);
    };
    auto engineCopy = [&] {
        copySteps.clear();
        step("copy Cereri.dbf",
             [&] { fs::copy_file(folder / "Cereri.dbf", folder / "TmpC.dbf", fs::copy_options::overwrite_existing); });
        step("copy Oameni.dbf",
             [&] { fs::copy_file(folder / "Oameni.dbf", folder / "TmpO.dbf", fs::copy_options::overwrite_existing); });
        step("DELETE FROM copy of Cereri", [&] { engine.execute("DELETE FROM " + TC); });
        step("DELETE FROM copy of Oameni", [&] { engine.execute("DELETE FROM " + TO); });
        // The operation packs the emptied copies before filling them.
        step("pack copy of Cereri", [&] { sql::TableCursor::pack(folder / "TmpC.dbf"); });
        step("pack copy of Oameni", [&] { sql::TableCursor::pack(folder / "TmpO.dbf"); });
        step("INSERT one month into the copy", [&] {
            engine.execute("INSERT INTO " + TC + "\nSELECT * FROM " + C + "\nWHERE LUNACRT=" + W +
                           "\nAND STATUT<>\"INCETAT\" AND STATUT<>\"RESPINS\"");
        });
        step("ALTER TABLE ADD NRCRTOLD", [&] { engine.execute("ALTER TABLE " + TC + "\nADD NRCRTOLD DECIMAL(12,0)"); });
        step("UPDATE SET NRCRTOLD, LUNACRT",
             [&] { engine.execute("UPDATE " + TC + "\nSET NRCRTOLD=NRCRT, LUNACRT=" + T); });
        step("UPDATE SET NRCRT (new keys)", [&] { engine.execute("UPDATE " + TC + "\nSET NRCRT=NRCRT+1000000"); });
        step("INSERT members INNER JOIN", [&] {
            engine.execute("INSERT INTO " + TO +
                           "\n(NROM, NRCRT, TITULAR, CNP, VENIT, CALITATE)\n"
                           "SELECT A.NROM, B.NRCRT, A.TITULAR, A.CNP, A.VENIT, A.CALITATE\nFROM " +
                           TC + " B\nINNER JOIN " + O + " A ON B.NRCRTOLD=A.NRCRT");
        });
        step("ALTER TABLE DROP NRCRTOLD", [&] { engine.execute("ALTER TABLE " + TC + "\nDROP NRCRTOLD"); });
        step("SELECT duplicate CNPs", [&] {
            engine.query("SELECT * FROM " + TC + "\nWHERE CNP IN\n(SELECT CNP FROM " + C + " WHERE LUNACRT=" + T + ")");
        });
        step("UPDATE SET NR_LUNI", [&] {
            engine.execute("UPDATE " + TC +
                           "\nSET NR_LUNI=NR_LUNI-1\nWHERE STATUT<>\"RESPINS\" AND STATUT<>\"INCETAT\"");
        });
        step("INSERT INTO Cereri SELECT *", [&] { engine.execute("INSERT INTO " + C + "\nSELECT * FROM " + TC); });
        step("INSERT INTO Oameni SELECT *", [&] { engine.execute("INSERT INTO " + O + "\nSELECT * FROM " + TO); });
    };
    auto engineDelete = [&] {
        engine.execute("DELETE FROM " + O + "\nWHERE NRCRT IN\n(SELECT NRCRT FROM " + C + "WHERE LUNACRT=" + T + ")");
        engine.execute("DELETE FROM " + C + "\nWHERE LUNACRT=" + T);
    };
    Line copy{"month copy with members (2 file copies, 2 packs, 12 statements)"}, del{"month deletion with members"};
    copy.engine = del.engine = 1e300;
    for (int i = 0; i < 2; ++i) {
        copy.engine = std::min(copy.engine, best(1, engineCopy));
        del.engine = std::min(del.engine, best(1, engineDelete));
    }
    Line ins{"one application INSERT"};
    long key = 9000000;
    ins.engine = best(20, [&] {
        engine.execute("INSERT INTO " + C +
                       "\n(NRCRT,LUNADEC,LUNACRT,SUBSEMN,CNP,LOCALIT,ADRESA,NR_MEMBRI,TVENIT,DATACERE,STATUT)\n"
                       "VALUES(" +
                       std::to_string(++key) + ", " + W + ", " + W +
                       ", \"TEST ION\", \"1800101303939\", \"CAREI\", \"Str. Horea 1\", 3, 1500, \"01.12.2024\", "
                       "\"APROBAT\")");
    });
    engine.execute("DELETE FROM " + C + " WHERE NRCRT>9000000");
    const long rss1 = rssKb();
    // The copies, deletions and inserts above leave deleted records behind: pack them
    // away, so that the folder is as it was made and the next run measures the same.
    sql::TableCursor::pack(folder / "Cereri.dbf");
    sql::TableCursor::pack(folder / "Oameni.dbf");

    // SQLite with the same rows in memory.
    sqlite3 *db = nullptr;
    sqlite3_open(":memory:", &db);
    loadIntoSqlite(db, folder / "Cereri.dbf", "cereri");
    loadIntoSqlite(db, folder / "Oameni.dbf", "oameni");
    const std::vector<std::string> ref = {
        "SELECT * FROM cereri WHERE LUNACRT=" + W + " ORDER BY SUBSEMN",
        "SELECT * FROM cereri ORDER BY CNP, LUNACRT DESC",
        "SELECT * FROM cereri WHERE CNP='" + cnp + "' ORDER BY CNP, LUNACRT DESC",
        "SELECT A.CNP, B.NR_CERE, B.DATACERE FROM oameni A, cereri B WHERE A.CNP='" + memberCnp +
            "' AND A.NRCRT=B.NRCRT AND B.LUNACRT=" + W,
        "SELECT SUBSEMN, CNP, LOCALIT || ' ' || ADRESA AS ADRESA, NR_DISP, DATADISP, NR_MEMBRI, VENITM, "
        "NR_LUNI, CODCLT, "
        "CUANTUM, VALMAX FROM cereri WHERE STATUT='APROBAT' AND TOTAL>0 AND LUNACRT>=" +
            std::to_string(last - 5) + " AND LUNACRT<=" + W + " ORDER BY NR_LUNI, SUBSEMN",
        "SELECT FURNG, SUBSEMN, CNP, SUM(SUMAG) AS SUMAT FROM cereri WHERE LUNACRT=" + W +
            " AND STATUT='APROBAT' GROUP BY FURNG, SUBSEMN, CNP ORDER BY FURNG, SUBSEMN"};
    for (std::size_t i = 0; i < ref.size(); ++i) {
        sqliteRows(db, ref[i]);
        lines[i].sqlite = best(3, [&] { sqliteRows(db, ref[i]); });
    }
    auto sqliteCopy = [&] {
        sqliteExec(db, "DROP TABLE IF EXISTS tmpc; DROP TABLE IF EXISTS tmpo;"
                       "CREATE TABLE tmpc AS SELECT * FROM cereri WHERE 0; CREATE TABLE tmpo AS SELECT * "
                       "FROM oameni WHERE 0;");
        sqliteExec(db, "INSERT INTO tmpc SELECT * FROM cereri WHERE LUNACRT=" + W +
                           " AND STATUT<>'INCETAT' AND STATUT<>'RESPINS'");
        sqliteExec(db, "ALTER TABLE tmpc ADD NRCRTOLD INTEGER");
        sqliteExec(db, "UPDATE tmpc SET NRCRTOLD=NRCRT, LUNACRT=" + T);
        sqliteExec(db, "UPDATE tmpc SET NRCRT=NRCRT+1000000");
        sqliteExec(db, "INSERT INTO tmpo (NROM, NRCRT, TITULAR, CNP, VENIT, CALITATE) SELECT A.NROM, "
                       "B.NRCRT, A.TITULAR, A.CNP, "
                       "A.VENIT, A.CALITATE FROM tmpc B INNER JOIN oameni A ON B.NRCRTOLD=A.NRCRT");
        sqliteExec(db, "ALTER TABLE tmpc DROP NRCRTOLD");
        sqliteRows(db, "SELECT * FROM tmpc WHERE CNP IN (SELECT CNP FROM cereri WHERE LUNACRT=" + T + ")");
        sqliteExec(db, "UPDATE tmpc SET NR_LUNI=NR_LUNI-1 WHERE STATUT<>'RESPINS' AND STATUT<>'INCETAT'");
        sqliteExec(db, "INSERT INTO cereri SELECT * FROM tmpc");
        sqliteExec(db, "INSERT INTO oameni SELECT * FROM tmpo");
    };
    auto sqliteDelete = [&] {
        sqliteExec(db, "DELETE FROM oameni WHERE NRCRT IN (SELECT NRCRT FROM cereri WHERE LUNACRT=" + T + ")");
        sqliteExec(db, "DELETE FROM cereri WHERE LUNACRT=" + T);
    };
    copy.sqlite = del.sqlite = 1e300;
    for (int i = 0; i < 2; ++i) {
        copy.sqlite = std::min(copy.sqlite, best(1, sqliteCopy));
        del.sqlite = std::min(del.sqlite, best(1, sqliteDelete));
    }
    key = 9000000;
    ins.sqlite = best(20, [&] {
        sqliteExec(db, "INSERT INTO cereri "
                       "(NRCRT,LUNADEC,LUNACRT,SUBSEMN,CNP,LOCALIT,ADRESA,NR_MEMBRI,TVENIT,DATACERE,STATUT) "
                       "VALUES(" +
                           std::to_string(++key) + ", " + W + ", " + W +
                           ", 'TEST ION', '1800101303939', 'CAREI', 'Str. Horea 1', 3, 1500, '2024-12-01', 'APROBAT')");
    });
    sqlite3_close(db);

    // OGR SQL over the same files (SELECTs only).
    if (std::system("ogrinfo --version >/dev/null 2>&1") == 0) {
        fs::remove(folder / "TmpC.dbf");
        fs::remove(folder / "TmpO.dbf");
        for (std::size_t i = 0; i < ref.size(); ++i) {
            std::string q = ref[i];
            for (auto [from, to] : {std::pair<std::string, std::string>{"cereri", "Cereri"}, {"oameni", "Oameni"}}) {
                for (std::size_t p = 0; (p = q.find(from, p)) != std::string::npos; p += to.size())
                    q.replace(p, from.size(), to);
            }
            // One run each: the files are already in the page cache from the runs above.
            lines[i].ogr = ogrMs(folder, q);
        }
    }

    lines.push_back(copy);
    lines.push_back(del);
    lines.push_back(ins);
    std::printf("\nfolder: %s (Cereri.dbf + Oameni.dbf = %.1f MB)\n", folder.c_str(), fileBytes / 1e6);
    std::printf("first read of both tables by the engine: %.0f ms\n", firstLoad);
    std::printf("engine memory after the run: %.1f MB = %.2f x the table files\n\n", (rss1 - rss0) / 1024.0,
                (rss1 - rss0) * 1024.0 / static_cast<double>(fileBytes));
    std::printf("%-68s %10s %10s %10s %9s %9s %8s\n", "statement (warm, best of runs)", "engine ms", "sqlite ms",
                "ogr ms", "x sqlite", "x ogr", "rows");
    for (const Line &l : lines) {
        std::printf("%-68s %10.3f %10.3f ", l.what.c_str(), l.engine, l.sqlite);
        if (l.ogr >= 0)
            std::printf("%10.1f %9.2f %9.3f %8ld\n", l.ogr, l.engine / l.sqlite, l.engine / l.ogr, l.rows);
        else
            std::printf("%10s %9.2f %9s %8ld\n", "n/a", l.engine / l.sqlite, "n/a", l.rows);
    }
    std::printf("\nsteps of the last month copy by the engine (ms):\n");
    double statements = 0;
    for (const auto &[what, ms] : copySteps) {
        std::printf("  %-40s %8.1f\n", what.c_str(), ms);
        if (what.rfind("copy ", 0) != 0)
            statements += ms;
    }
    std::printf("  %-40s %8.1f\n", "all but the two file copies", statements);
    return 0;
}
