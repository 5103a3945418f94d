#pragma once

#include "config/ConfigImage.h"

// Firmware version number (major x 100 + minor, base bytes 4 and 5) and the features it gates.
namespace Firmware {
inline constexpr int Minimum = 193;          // below: the program refuses to work
inline constexpr int CallWaiting = 195;      // from here call waiting can be edited
inline constexpr int SpeedDials = 200;       // from here speed dials, ring rhythms, forwarding modes
inline constexpr int ShortRecordLength = 24; // extension record below 2.00
inline constexpr int LongRecordLength = 27;  // extension record from 2.00

inline int version(const ConfigImage& image)
{
    return image.at(ConfigImage::Region::Base, 4) * 100 + image.at(ConfigImage::Region::Base, 5);
}
inline int recordLength(int version)
{
    return version >= SpeedDials ? LongRecordLength : ShortRecordLength;
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
    return version >= SpeedDials;
}
} // namespace Firmware
