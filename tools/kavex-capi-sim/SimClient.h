#pragma once

#include <optional>
#include <string>

// Sends one command line to the simulated controller's socket and returns its answer; nothing
// when no controller answers there.
std::optional<std::string> sendToController(const std::string& socketPath, const std::string& line);
