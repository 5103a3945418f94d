#pragma once

#include "SpeedDialTable.h"
#include "image/ConfigImage.h"

// The built-in exchange: a plausible small office with several MSNs, forwarding, PINs, call waiting,
// unit counters and speed dials.
namespace DefaultImage {

// The configuration image as the exchange holds it (region kinds 23, 22, 21), for a firmware version
// number (193 = 1.93) and an extension count of 1..8. Extension records use the stride of that firmware.
ConfigImage build(int firmware, int extensions);
// The speed-dial entries; empty below firmware 2.00, which has none.
SpeedDialTable speedDials(int firmware, int extensions);

// Writes the facts of the hardware into an image: extension count (base byte 2), firmware (bytes 4, 5).
void setHardware(ConfigImage& image, int firmware, int extensions);

} // namespace DefaultImage
