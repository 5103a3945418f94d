#include "SimClient.h"

#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int AnswerTimeoutMs = 5000;

} // namespace

std::optional<std::string> sendToController(const std::string& socketPath, const std::string& line)
{
    sockaddr_un address{};
    if (socketPath.size() >= sizeof address.sun_path)
        return std::nullopt;
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return std::nullopt;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return std::nullopt;
    }
    const std::string request = line + '\n';
    std::string answer;
    if (write(fd, request.data(), request.size()) == static_cast<ssize_t>(request.size())) {
        char c = 0;
        pollfd p{fd, POLLIN, 0};
        while (poll(&p, 1, AnswerTimeoutMs) > 0 && read(fd, &c, 1) == 1 && c != '\n')
            answer += c;
    }
    close(fd);
    if (answer.empty())
        return std::nullopt;
    return answer;
}
