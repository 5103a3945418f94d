#include "SimServer.h"

#include "DemoCallers.h"
#include "SimController.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int IdlePollMs = 1000;
constexpr int ReadTimeoutMs = 1000;
constexpr size_t MaxLine = 512;

sockaddr_un addressOf(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    return address;
}

bool someoneListens(const sockaddr_un& address)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool live = fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        close(fd);
    return live;
}

// A stale socket file of an ended controller is replaced; a live one is left alone.
int listenOn(const std::string& path)
{
    if (path.empty() || path.size() >= sizeof(sockaddr_un::sun_path))
        return -1;
    const sockaddr_un address = addressOf(path);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const auto* a = reinterpret_cast<const sockaddr*>(&address);
    if (bind(fd, a, sizeof address) != 0) {
        const bool stale = errno == EADDRINUSE && !someoneListens(address);
        if (!stale || unlink(path.c_str()) != 0 || bind(fd, a, sizeof address) != 0) {
            close(fd);
            return -1;
        }
    }
    if (listen(fd, 4) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

std::string readLine(int fd)
{
    std::string line;
    char c = 0;
    pollfd p{fd, POLLIN, 0};
    while (line.size() < MaxLine && poll(&p, 1, ReadTimeoutMs) > 0 && read(fd, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

void serveOne(SimController& controller, int listenFd)
{
    const int fd = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    const std::string reply = SimServer::answer(controller, readLine(fd)) + '\n';
    const ssize_t written = write(fd, reply.data(), reply.size());
    (void)written;
    close(fd);
}

int msUntil(Clock::time_point when)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(ms, 0, IdlePollMs));
}

void run(SimController& controller, int listenFd, int demoSeconds)
{
    const auto demoPause = std::chrono::seconds(demoSeconds);
    // The caller of a demo call gives up after a while, unless the call is taken.
    const int ringSeconds = std::clamp(demoSeconds / 2, 2, 8);
    auto nextDemo = Clock::now() + demoPause;
    int demoIndex = 0;
    for (;;) {
        auto wake = Clock::now() + std::chrono::milliseconds(IdlePollMs);
        if (const auto hangUp = controller.hangUpExpired(Clock::now()))
            wake = std::min(wake, *hangUp);
        if (demoSeconds > 0) {
            if (Clock::now() >= nextDemo) {
                if (controller.activeCalls() == 0)
                    controller.offerCall(DemoCallers::call(demoIndex++, ringSeconds));
                nextDemo = Clock::now() + demoPause;
            }
            wake = std::min(wake, nextDemo);
        }
        pollfd p{listenFd, POLLIN, 0};
        if (poll(listenFd >= 0 ? &p : nullptr, listenFd >= 0 ? 1 : 0, msUntil(wake)) > 0)
            serveOne(controller, listenFd);
    }
}

} // namespace

std::string SimServer::answer(SimController& controller, const std::string& line)
{
    if (line == "hangup")
        return "ok " + std::to_string(controller.hangUp());
    if (line.rfind("hangup ", 0) == 0) {
        const std::string number = line.substr(7);
        return "ok " + std::to_string(controller.hangUp(number == "-" ? std::string() : number));
    }
    const auto call = callFromLine(line);
    if (!call)
        return "Fehler: unbekannter Befehl";
    const int offered = controller.offerCall(*call);
    if (offered == 0)
        return "Fehler: keine Anwendung hört auf Controller 1 für diesen Dienst";
    return "ok " + std::to_string(offered);
}

void SimServer::startOnce(SimController& controller, const std::string& socketPath, int demoSeconds,
                          const std::string& problem)
{
    static std::once_flag started;
    std::call_once(started, [&controller, socketPath, demoSeconds, problem] {
        const int fd = listenOn(socketPath);
        if (fd < 0 && !problem.empty())
            std::fprintf(stderr, "kavex-capi-sim: kein Steuer-Socket: %s\n", problem.c_str());
        else if (fd < 0)
            std::fprintf(stderr, "kavex-capi-sim: Steuer-Socket %s nicht verfügbar\n", socketPath.c_str());
        std::thread(run, std::ref(controller), fd, demoSeconds).detach();
    });
}
