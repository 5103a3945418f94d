#pragma once

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

// File permissions do not bind the superuser: a test that needs them to runs its part in a child
// that is "nobody" when the test runs as root, and as the test's own user otherwise. The child's
// exit status, or -1 when it did not exit normally. The child is a fork: call this only in a process
// that has no other thread yet, or the child may wait forever on a lock that thread held.
namespace AsOtherUser {

inline int run(const std::function<int()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(125);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace AsOtherUser
