#pragma once

#include "config/ConfigImage.h"
#include "link/ImageLayout.h"

// The firmware version number (major x 100 + minor) and the features it gates.
namespace Firmware {
inline constexpr int Minimum = ImageLayout::MinimumFirmware;  // below: the program refuses to work
inline constexpr int CallWaiting = 195;                       // from here call waiting can be edited
inline constexpr int NewFeatures = ImageLayout::FastFirmware; // speed dials, ring rhythms, forwarding modes

inline int version(const ConfigImage& image)
{
    return ImageLayout::firmwareVersion(image);
}
inline int recordLength(int version)
{
    return ImageLayout::recordLength(version);
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
