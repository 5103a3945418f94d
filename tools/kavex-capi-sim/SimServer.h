#pragma once

#include <string>

class SimController;

// The control socket of the simulated controller and its demo calls, on a thread of their own.
// One line per connection ("call ...", "hangup"), answered with one line ("ok N" or "Fehler: ...").
namespace SimServer {
// Starts the thread once per process; a socket path that another live controller holds is left
// alone (the demo still runs). Without a path, `problem` says why there is none.
void startOnce(SimController& controller, const std::string& socketPath, int demoSeconds,
               const std::string& problem = {});
// The answer to one command line.
std::string answer(SimController& controller, const std::string& line);
} // namespace SimServer
