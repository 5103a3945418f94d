#pragma once

#include <QtGlobal>

#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// A process killed in the middle of writing a file, at a byte of our choosing: the operation runs
// in a child whose file size limit is `limit`; its first write at or beyond that size kills it
// (SIGXFSZ), a write across it is cut short there. The child's wait status.
namespace KillPoints {

inline int runWithFileSizeLimit(qint64 limit, const std::function<void()>& operation)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        const rlimit l{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
        ::setrlimit(RLIMIT_FSIZE, &l);
        operation();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

inline bool killedByTheLimit(int status)
{
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ;
}

} // namespace KillPoints
