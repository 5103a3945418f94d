#pragma once

#include <sys/resource.h>

// CPU time used so far, to tell a waiting thread from a spinning one.
namespace CpuTime {

inline double of(int who)
{
    rusage usage{};
    ::getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// This process, all threads.
inline double self()
{
    return of(RUSAGE_SELF);
}

// Child processes that have ended and been waited for.
inline double children()
{
    return of(RUSAGE_CHILDREN);
}

} // namespace CpuTime
