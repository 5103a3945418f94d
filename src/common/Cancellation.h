#pragma once

// A request to end the program, set from a signal handler: long loops over files look at it and
// stop early, so that SIGTERM and SIGINT end a program promptly even in the middle of a large read.
namespace Cancellation {
// Safe to call from a signal handler.
void request() noexcept;
bool requested() noexcept;
// For tests: takes a request back.
void reset() noexcept;
} // namespace Cancellation
