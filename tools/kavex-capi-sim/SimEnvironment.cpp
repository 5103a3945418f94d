#include "SimEnvironment.h"

#include <cstdlib>
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

std::string SimEnvironment::socketPath()
{
    const std::string named = variable("KAVEX_CAPI_SIM_SOCKET");
    if (!named.empty())
        return named;
    const std::string runtimeDir = variable("XDG_RUNTIME_DIR");
    if (!runtimeDir.empty())
        return runtimeDir + "/kavex-capi-sim";
    return "/tmp/kavex-capi-sim-" + std::to_string(getuid());
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
