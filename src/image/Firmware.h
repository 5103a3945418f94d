#pragma once

#include "image/ConfigImage.h"

// The firmware version number (major x 100 + minor, base bytes 4 and 5) and the features it gates.
namespace Firmware {

inline constexpr int Minimum = 193;     // below: the program refuses to work
inline constexpr int CallWaiting = 195; // from here call waiting can be edited
// From here: speed dials, ring rhythms, forwarding modes, 27-byte records, fast pacing.
inline constexpr int NewFeatures = 200;

inline int version(const ConfigImage& image)
{
    return image[4] * 100 + image[5];
}
inline bool supported(int version)
{
    return version >= Minimum;
}
inline bool callWaitingEditable(int version)
{
    return version >= CallWaiting;
}
inline bool newFeatures(int version)
{
    return version >= NewFeatures;
}

} // namespace Firmware
