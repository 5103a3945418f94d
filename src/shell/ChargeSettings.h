#pragma once

#include "charges/ChargeUpdate.h"

class Settings;

// The price per unit and the carried-over units and costs, as the settings file holds them
// (read once at start, never written).
namespace ChargeSettings {
ChargePrices read(const Settings& settings);
} // namespace ChargeSettings
