#pragma once

#include "SimController.h"

#include <string>

// The environment variables that set up the simulated controller.
namespace SimEnvironment {
// $KAVEX_CAPI_SIM_SOCKET, else $XDG_RUNTIME_DIR/kavex-capi-sim when that folder is the user's
// alone (mode 0700); else empty, and `problem` says why.
std::string socketPath(std::string* problem = nullptr);
// $KAVEX_CAPI_SIM_LOG: the file that records every message the application puts; empty: none.
std::string logPath();
// $KAVEX_CAPI_SIM_DEMO: seconds between demo calls; 0: no demo.
int demoSeconds();
// $KAVEX_CAPI_SIM_NOT_INSTALLED, _REGISTER_ERROR, _RELEASE_ERROR (CAPI codes, "0x1009" or
// decimal; "1" for NOT_INSTALLED means 0x1009) and $KAVEX_CAPI_SIM_HANG_ON_RELEASE=1.
SimController::Faults faults();
// $KAVEX_CAPI_SIM_NO_CONTROLLER_INFO=1: capi20_get_manufacturer and capi20_get_version fail.
bool controllerInfoFails();
} // namespace SimEnvironment
