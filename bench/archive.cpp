// Packs and unpacks a data folder of about 200 MB (FOCARIS_BENCH_MB to change it) and
// times the same bytes through gzip -9 and gunzip in the same run. Prints the times, the
// speed ratios (archive speed / gzip speed, at least 0.5 wanted) and the peak memory of
// each archive step.
//
//   bench_archive FOLDER [GZIP_MB [LEVEL...]]   packs the given data folder (the city folder, say) at
//                          zlib levels 1, 2, 3 and 9, without and with the block cache of
//                          an earlier save, beside gzip -9 of the same bytes: clock and
//                          processor time and size of each (GZIP_MB, the size of gzip -9
//                          known from an earlier run, skips the gzip; LEVELs replace
//                          the four)
#include "engines/archive/Archive.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <ctime>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Peak resident memory since the last reset, in MB.
double peakMb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return -1;
}
void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Processor time of the process, every thread.
double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

template <class F>
double seconds(F &&f)
{
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Fixed-width records like the application tables: names, codes, amounts, dates, blanks.
void makeTable(const fs::path &file, std::size_t bytes, unsigned seed)
{
    static const char *names[] = {"POPESCU ION",       "IONESCU MARIA", "STAN GHEORGHE", "DUMITRU ELENA",
                                  "CONSTANTIN VASILE", "MUNTEANU ANA",  "NEAGU PETRE",   "BALAN IOANA"};
    static const char *streets[] = {"STR. LIBERTATII", "STR. MIHAI EMINESCU", "B-DUL UNIRII", "STR. GARII"};
    std::mt19937 rng(seed);
    std::ofstream out(file, std::ios::binary);
    std::string header(32 + 32 * 20 + 1, '\0');
    header[0] = 3;
    out << header;
    std::size_t written = header.size();
    char rec[400];
    while (written < bytes) {
        const int n =
            std::snprintf(rec, sizeof rec, " %8u%-40s%13llu%-30s%4u%10.4f%10.4f%02u.%02u.20%02u%-60s%c%c%-80s",
                          unsigned(rng() % 100000), names[rng() % 8], 1000000000000ULL + rng() % 999999999ULL,
                          streets[rng() % 4], unsigned(rng() % 300), double(rng() % 100000) / 100.0,
                          double(rng() % 5000) / 10.0, unsigned(1 + rng() % 28), unsigned(1 + rng() % 12),
                          unsigned(21 + rng() % 4), "", rng() % 2 ? 'X' : ' ', rng() % 3 ? 'X' : ' ', "");
        out.write(rec, n);
        written += std::size_t(n);
    }
}

// Each level on `folder`: the archive without a cache (the first save), the same again
// with the cache the first one left (nothing changed), against gzip -9 of the same bytes.
int packLevels(const fs::path &folder, double gzMb, const std::vector<int> &levels)
{
    const fs::path root = fs::temp_directory_path() / ("bench_archive_" + std::to_string(::getpid()));
    fs::create_directories(root);
    std::size_t bytes = 0;
    for (const auto &e : fs::directory_iterator(folder))
        if (e.is_regular_file())
            bytes += fs::file_size(e.path());
    double gzip = 0;
    if (gzMb <= 0) {
        const std::string gz = (root / "all.gz").string();
        gzip = seconds([&] {
            if (std::system(
                    ("find '" + folder.string() + "' -maxdepth 1 -type f -exec cat {} + | gzip -9 > '" + gz + "'")
                        .c_str()) != 0)
                std::abort();
        });
        gzMb = double(fs::file_size(gz)) / 1e6;
    }
    std::printf("folder %s: %.1f MB; gzip -9 %.2f s, %.1f MB\n", folder.c_str(), double(bytes) / 1e6, gzip, gzMb);
    std::printf("%6s %10s %9s %10s %9s %9s %10s\n", "level", "first (s)", "cpu (s)", "cached (s)", "cpu (s)",
                "size (MB)", "size/gzip");
    for (const int level : levels) {
        const fs::path archive = root / "copie.T21", cache = root / "cache";
        fs::remove_all(cache);
        focaris::archive::WriteOptions options;
        options.level = level;
        options.blockCache = cache;
        double cpu0 = cpuSeconds();
        const double first = seconds([&] { focaris::archive::writeArchive(folder, archive, {}, options); });
        const double firstCpu = cpuSeconds() - cpu0;
        const double size = double(fs::file_size(archive)) / 1e6;
        cpu0 = cpuSeconds();
        const double cached = seconds([&] { focaris::archive::writeArchive(folder, archive, {}, options); });
        const double cachedCpu = cpuSeconds() - cpu0;
        std::printf("%6d %10.2f %9.2f %10.2f %9.2f %9.1f %10.2f\n", level, first, firstCpu, cached, cachedCpu, size,
                    size / gzMb);
    }
    fs::remove_all(root);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1) {
        std::vector<int> levels;
        for (int i = 3; i < argc; ++i)
            levels.push_back(std::atoi(argv[i]));
        if (levels.empty())
            levels = {1, 2, 3, 9};
        return packLevels(argv[1], argc > 2 ? std::atof(argv[2]) : 0, levels);
    }
    const std::size_t mb = std::getenv("FOCARIS_BENCH_MB") ? std::stoul(std::getenv("FOCARIS_BENCH_MB")) : 200;
    const fs::path root = fs::temp_directory_path() / ("bench_archive_" + std::to_string(::getpid()));
    const fs::path data = root / "Data", out = root / "Out";
    fs::create_directories(data);
    fs::create_directories(out);
    const std::size_t total = mb * 1024 * 1024;
    makeTable(data / "Cereri.dbf", total * 55 / 100, 1);
    makeTable(data / "Oameni.dbf", total * 35 / 100, 2);
    makeTable(data / "Log.dbf", total * 10 / 100, 3);
    std::size_t bytes = 0;
    for (const auto &e : fs::directory_iterator(data))
        bytes += fs::file_size(e.path());

    const fs::path archive = root / "copie.T21";
    resetPeak();
    const double pack = seconds([&] { focaris::archive::writeArchive(data, archive); });
    const double packMem = peakMb();
    resetPeak();
    const double unpack = seconds([&] {
        if (focaris::archive::extractArchive(archive, out).failed)
            std::abort();
    });
    const double unpackMem = peakMb();

    const std::string d = data.string(), gz = (root / "all.gz").string();
    const double gzip = seconds([&] {
        if (std::system(("cat '" + d + "'/* | gzip -9 > '" + gz + "'").c_str()) != 0)
            std::abort();
    });
    const double gunzip = seconds([&] {
        if (std::system(("gunzip -c '" + gz + "' > /dev/null").c_str()) != 0)
            std::abort();
    });

    std::printf("data folder:        %.1f MB in 3 tables\n", double(bytes) / 1048576.0);
    std::printf("archive:            %.1f MB; gzip -9: %.1f MB\n", double(fs::file_size(archive)) / 1048576.0,
                double(fs::file_size(gz)) / 1048576.0);
    std::printf("pack:   %7.2f s (gzip -9 %7.2f s)  speed ratio %.2f  peak memory %.1f MB\n", pack, gzip, gzip / pack,
                packMem);
    std::printf("unpack: %7.2f s (gunzip  %7.2f s)  speed ratio %.2f  peak memory %.1f MB\n", unpack, gunzip,
                gunzip / unpack, unpackMem);
    fs::remove_all(root);
    return 0;
}
