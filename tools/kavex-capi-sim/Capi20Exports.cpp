// The C interface of the Linux CAPI 2.0 library, served by the simulated controller.
#include "SimController.h"
#include "SimEnvironment.h"
#include "SimLog.h"
#include "SimServer.h"

#include <capi20.h>

#include <array>
#include <cstring>

#define KAVEX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr const char Manufacturer[] = "Kavex CAPI-Simulator";
constexpr const char SerialNumber[] = "0000001";
constexpr std::array<unsigned, 4> Version = {2, 0, 1, 0}; // CAPI 2.0, simulator 1.0
constexpr size_t ProfileLength = 64;
constexpr unsigned IllegalController = 0x2002;

// Never destroyed: a receive thread may still wait inside it when the process ends.
struct Simulator
{
    SimController controller;
    SimLog log;
};

Simulator& simulator()
{
    static Simulator* instance = new Simulator;
    return *instance;
}

} // namespace

KAVEX_EXPORT unsigned capi20_isinstalled(void)
{
    return simulator().controller.isInstalled(SimEnvironment::faults());
}

// As the library does for a controller it cannot reach: no buffer back.
KAVEX_EXPORT unsigned char* capi20_get_manufacturer(unsigned, unsigned char* buffer)
{
    if (SimEnvironment::controllerInfoFails())
        return nullptr;
    std::memcpy(buffer, Manufacturer, sizeof Manufacturer);
    return buffer;
}

KAVEX_EXPORT unsigned char* capi20_get_serial_number(unsigned, unsigned char* buffer)
{
    std::memcpy(buffer, SerialNumber, sizeof SerialNumber);
    return buffer;
}

KAVEX_EXPORT unsigned char* capi20_get_version(unsigned, unsigned char* buffer)
{
    if (SimEnvironment::controllerInfoFails())
        return nullptr;
    std::memcpy(buffer, Version.data(), sizeof(unsigned) * Version.size());
    return buffer;
}

// One controller with two B channels; every other profile field stays zero.
KAVEX_EXPORT unsigned capi20_get_profile(unsigned controller, unsigned char* buffer)
{
    std::memset(buffer, 0, ProfileLength);
    buffer[0] = 1;
    if (controller > SimController::ControllerNumber)
        return IllegalController;
    if (controller == SimController::ControllerNumber)
        buffer[2] = 2;
    return 0;
}

KAVEX_EXPORT unsigned capi20_register(unsigned, unsigned, unsigned, unsigned* applId)
{
    Simulator& s = simulator();
    const unsigned result = s.controller.registerApplication(SimEnvironment::faults(), applId);
    if (result != 0)
        return result;
    // The log named when the application registers; tests name one per application.
    s.controller.setPutLog([&s, path = SimEnvironment::logPath()](const std::vector<std::uint8_t>& message) {
        s.log.write(path, message);
    });
    std::string problem;
    const std::string socketPath = SimEnvironment::socketPath(&problem);
    SimServer::startOnce(s.controller, socketPath, SimEnvironment::demoSeconds(), problem);
    return 0;
}

KAVEX_EXPORT unsigned capi20_release(unsigned applId)
{
    return simulator().controller.release(SimEnvironment::faults(), applId);
}

KAVEX_EXPORT unsigned capi20_put_message(unsigned applId, unsigned char* message)
{
    return simulator().controller.putMessage(applId, message);
}

KAVEX_EXPORT unsigned capi20_get_message(unsigned applId, unsigned char** message)
{
    return simulator().controller.getMessage(applId, message);
}

KAVEX_EXPORT unsigned capi20_waitformessage(unsigned applId, struct timeval* timeOut)
{
    return simulator().controller.waitForMessage(applId, timeOut);
}
