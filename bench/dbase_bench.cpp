// Times the dBase engine on a table of 180,000 applications in the layout of Cereri.dbf:
//  - decoding every record (readAll) against reading the file's bytes, both from the page
//    cache, in the same run;
//  - appending one record to that table against appending to an empty one.
// Usage: bench_dbase [rows] [folder]
#include "CereriLayout.h"

#include "engines/dbase/DbfTable.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

using namespace focaris::dbf;
using Clock = std::chrono::steady_clock;

static double msSince(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// Processor time of this thread (user and system) in milliseconds: on a machine busy with
// other work it varies far less than the wall clock.
static double cpuMs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Reads the whole file into memory with plain read() calls.
static std::size_t readBytes(const std::filesystem::path &file, std::vector<char> &buf)
{
    const int fd = ::open(file.c_str(), O_RDONLY);
    if (fd < 0)
        return 0;
    std::size_t total = 0;
    for (;;) {
        if (total == buf.size())
            buf.resize(buf.size() * 2 + (1 << 20));
        const ssize_t n = ::read(fd, buf.data() + total, buf.size() - total);
        if (n <= 0)
            break;
        total += std::size_t(n);
    }
    ::close(fd);
    return total;
}

// Average cost of one append over `count` appends, in microseconds.
static double appendCost(const std::filesystem::path &file, int count, int firstRow)
{
    DbfTable t(file);
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i)
        t.append(sample::cereriRecord(firstRow + i));
    return msSince(start) * 1000.0 / count;
}

int main(int argc, char **argv)
{
    const int rows = argc > 1 ? std::atoi(argv[1]) : 180000;
    std::filesystem::path folder = argc > 2 ? argv[2] : std::filesystem::temp_directory_path() / "focaris_bench_dbase";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto big = folder / "Cereri.dbf";
    const auto empty = folder / "Gol.dbf";

    DbfTable::create(big, sample::cereriColumns());
    DbfTable::create(empty, sample::cereriColumns());
    {
        auto start = Clock::now();
        DbfTable t(big);
        std::vector<Record> records;
        for (int i = 0; i < 64; ++i)
            records.push_back(sample::cereriRecord(i));
        for (int i = 0; i < rows; ++i)
            t.append(records[std::size_t(i % 64)]);
        std::printf("built %d rows in %.0f ms (%.1f us per append)\n", rows, msSince(start),
                    msSince(start) * 1000.0 / rows);
    }
    const auto size = std::filesystem::file_size(big);
    std::printf("file: %.1f MB, record length %d\n", double(size) / 1e6, DbfTable(big).recordLength());

    std::vector<char> buf;
    readBytes(big, buf); // into the page cache
    double readMs = 1e9, decodeMs = 1e9, readCpu = 1e9, decodeCpu = 1e9;
    std::size_t decoded = 0;
    for (int round = 0; round < 7; ++round) {
        auto start = Clock::now();
        double cpu = cpuMs();
        const std::size_t n = readBytes(big, buf);
        readMs = std::min(readMs, msSince(start));
        readCpu = std::min(readCpu, cpuMs() - cpu);
        if (n != size)
            std::printf("short read\n");
        start = Clock::now();
        cpu = cpuMs();
        DbfTable t(big, true);
        const RecordSet rs = t.readAll();
        decodeMs = std::min(decodeMs, msSince(start));
        decodeCpu = std::min(decodeCpu, cpuMs() - cpu);
        decoded = rs.size();
    }
    std::printf("read file bytes: %.1f ms wall, %.1f ms cpu\n", readMs, readCpu);
    std::printf("decode all %zu records (readAll): %.1f ms wall, %.1f ms cpu\n", decoded, decodeMs, decodeCpu);
    std::printf("ratio decode/read: %.2f wall, %.2f cpu (target <= 3)\n", decodeMs / readMs, decodeCpu / readCpu);

    const double onBig = appendCost(big, 2000, rows);
    const double onEmpty = appendCost(empty, 2000, 0);
    std::printf("append to %d-row table: %.1f us; to empty table: %.1f us; ratio %.2f (target ~1)\n", rows, onBig,
                onEmpty, onBig / onEmpty);
    std::filesystem::remove_all(folder);
    return 0;
}
