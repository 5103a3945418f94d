#include "SimEnvironment.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

unsigned code(const char* name)
{
    const std::string value = variable(name);
    return value.empty() ? 0 : static_cast<unsigned>(std::strtoul(value.c_str(), nullptr, 0) & 0xFFFF);
}

constexpr unsigned NotInstalled = 0x1009;

} // namespace

std::string SimEnvironment::socketPath(std::string* problem)
{
    const std::string named = variable("KAVEX_CAPI_SIM_SOCKET");
    if (!named.empty())
        return named;
    // A shared folder such as /tmp would let another user take the name first and answer in the
    // controller's place: only the user's own runtime directory will do.
    const std::string runtimeDir = variable("XDG_RUNTIME_DIR");
    struct stat info = {};
    std::string why;
    if (runtimeDir.empty())
        why = "XDG_RUNTIME_DIR ist nicht gesetzt";
    else if (stat(runtimeDir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        why = "XDG_RUNTIME_DIR (" + runtimeDir + ") ist kein Verzeichnis";
    else if (info.st_uid != geteuid() || (info.st_mode & 077) != 0)
        why = "XDG_RUNTIME_DIR (" + runtimeDir + ") gehört nicht allein dem Benutzer";
    if (why.empty())
        return runtimeDir + "/kavex-capi-sim";
    if (problem != nullptr)
        *problem = why + "; KAVEX_CAPI_SIM_SOCKET nennt einen anderen Ort";
    return std::string();
}

std::string SimEnvironment::logPath()
{
    return variable("KAVEX_CAPI_SIM_LOG");
}

int SimEnvironment::demoSeconds()
{
    const int seconds = std::atoi(variable("KAVEX_CAPI_SIM_DEMO").c_str());
    return seconds > 0 ? seconds : 0;
}

SimController::Faults SimEnvironment::faults()
{
    SimController::Faults f;
    f.notInstalled = code("KAVEX_CAPI_SIM_NOT_INSTALLED");
    if (f.notInstalled == 1)
        f.notInstalled = NotInstalled;
    f.registerError = code("KAVEX_CAPI_SIM_REGISTER_ERROR");
    f.releaseError = code("KAVEX_CAPI_SIM_RELEASE_ERROR");
    f.hangOnRelease = variable("KAVEX_CAPI_SIM_HANG_ON_RELEASE") == "1";
    f.silentRelease = variable("KAVEX_CAPI_SIM_SILENT_RELEASE") == "1";
    return f;
}

bool SimEnvironment::controllerInfoFails()
{
    return variable("KAVEX_CAPI_SIM_NO_CONTROLLER_INFO") == "1";
}
