#pragma once

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/types.h>

// What every benchmark shares: the budget line that bench/run-all collects, and the clocks and
// memory figures the budgets are measured with.
namespace Bench {

enum class Bound
{
    AtMost,
    AtLeast
};

// "BUDGET <name> <measured> <target> <unit> PASS|FAIL"; the target carries its direction.
inline bool budget(const char* name, double measured, double target, const char* unit, Bound bound = Bound::AtMost)
{
    const bool pass = bound == Bound::AtMost ? measured <= target : measured >= target;
    std::printf("BUDGET %s %.3f %s%g %s %s\n", name, measured, bound == Bound::AtMost ? "<=" : ">=", target, unit,
                pass ? "PASS" : "FAIL");
    std::fflush(stdout);
    return pass;
}

// System-wide monotonic time, so that two processes can compare their readings.
inline double monotonicSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Peak resident size of this process so far.
inline double peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Resident size of a running process now ("VmRSS"), 0 when it cannot be read.
inline double rssMbOf(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

} // namespace Bench
