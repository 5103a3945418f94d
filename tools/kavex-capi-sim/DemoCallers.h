#pragma once

#include "CallOffer.h"

// The calls of the demo mode, in turn: callers from German towns, a mobile, one from abroad and
// one who withholds the number, on the MSNs of the simulated exchange.
namespace DemoCallers {
CallOffer call(int index, int ringSeconds);
} // namespace DemoCallers
