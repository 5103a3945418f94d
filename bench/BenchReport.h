#pragma once

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <string_view>
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

// CPU time of the calling thread: what a computation costs, without the time that other processes
// of a shared machine take from it.
inline double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
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

// The processor and its caches as the kernel names them, "AMD EPYC; caches L1d 32K, L1i 32K, L2
// 1024K, L3 32768K": figures that read memory move with the caches more than with the clock.
inline std::string machine()
{
    std::string model = "unknown processor";
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuinfo, line);) {
        if (line.starts_with("model name") && line.find(':') != std::string::npos) {
            model = line.substr(line.find(':') + 1);
            model.erase(0, model.find_first_not_of(" \t"));
            break;
        }
    }
    std::string caches;
    for (int i = 0;; ++i) {
        const std::string dir = "/sys/devices/system/cpu/cpu0/cache/index" + std::to_string(i) + "/";
        std::ifstream levelFile(dir + "level"), typeFile(dir + "type"), sizeFile(dir + "size");
        std::string level, type, size;
        if (!(levelFile >> level && typeFile >> type && sizeFile >> size))
            break;
        const std::string_view kind = type == "Data" ? "d" : type == "Instruction" ? "i" : "";
        caches += (caches.empty() ? "L" : ", L") + level + std::string(kind) + " " + size;
    }
    return model + "; caches " + (caches.empty() ? "unknown" : caches);
}

} // namespace Bench
