// Timing helpers of the benchmarks: the clock and the processor time of one piece of work
// (on a machine shared with builds the clock also counts the waiting for a processor, so
// both are kept), and the memory figures of /proc/self/status.
#pragma once

#include <QElapsedTimer>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>

namespace focaris::bench {

// A "VmRSS:" or "VmHWM:" line of /proc/self/status, in KB; 0 when it is not there.
inline long statusKb(const char *key)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::size_t n = std::string(key).size();
    while (std::getline(in, line))
        if (line.compare(0, n, key) == 0)
            return std::atol(line.c_str() + n);
    return 0;
}

// Processor time of this process, in ms.
inline double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The processor time of the last work timed by ms().
inline double lastCpu = 0;

// The clock time of `work` in ms; its processor time goes into lastCpu.
inline double ms(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    const double c0 = cpuMs();
    work();
    lastCpu = cpuMs() - c0;
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace focaris::bench
