#pragma once

#include <QString>

// The simulated CAPI controller for --simulate: its library is bound instead of the system's
// CAPI, and it offers a demo call now and then. Calls can be injected with `kavex-capi-sim call`.
namespace SimulatedController {

// libkavex-capi-sim.so beside the executable (a build tree) or in the installed library
// directory; empty when neither exists.
QString libraryPath();
// Points the CAPI binding at the simulated controller, unless $WINKAVEX_CAPI_LIBRARY already
// names a library. Must run before the binding loads. False when the library is not found.
bool use(int demoSeconds);

} // namespace SimulatedController
