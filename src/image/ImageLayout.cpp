#include "image/ImageLayout.h"

#include "image/Extensions.h"
#include "image/Firmware.h"

#include <algorithm>

namespace ImageLayout {

int extensionCount(const ConfigImage& image)
{
    return std::min<int>(image[2], Extensions::Max);
}

int recordLength(int firmware)
{
    return Firmware::newFeatures(firmware) ? 27 : 24;
}

int recordOffset(int index, int firmware)
{
    return ConfigImage::ExtensionsOffset + 1 + index * recordLength(firmware);
}

int sentRecordBytes(int firmware)
{
    return Firmware::newFeatures(firmware) ? recordLength(firmware) - 1 : recordLength(firmware) - 3;
}

bool spontaneousTrunkAccess(const ConfigImage& image, int index)
{
    return image[recordOffset(index, Firmware::version(image)) + 17] != 0;
}

int units(const ConfigImage& image, int index)
{
    const int at = 1 + 2 * index;
    return image.at(ConfigImage::Region::Charges, at) | (image.at(ConfigImage::Region::Charges, at + 1) << 8);
}

int sentChargeBytes(int firmware)
{
    return Firmware::newFeatures(firmware) ? 17 : 129;
}

} // namespace ImageLayout
