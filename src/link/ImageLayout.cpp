#include "link/ImageLayout.h"

#include <algorithm>

namespace ImageLayout {

int firmwareVersion(const ConfigImage& image)
{
    return image[4] * 100 + image[5];
}

int extensionCount(const ConfigImage& image)
{
    return std::min<int>(image[2], MaxExtensions);
}

int recordLength(int firmware)
{
    return firmware >= FastFirmware ? 27 : 24;
}

int recordOffset(int index, int firmware)
{
    return ConfigImage::ExtensionsOffset + 1 + index * recordLength(firmware);
}

int sentRecordBytes(int firmware)
{
    return firmware >= FastFirmware ? recordLength(firmware) - 1 : recordLength(firmware) - 3;
}

bool spontaneousTrunkAccess(const ConfigImage& image, int index)
{
    const int firmware = firmwareVersion(image);
    return image[recordOffset(index, firmware) + 17] != 0;
}

int units(const ConfigImage& image, int index)
{
    const int at = 1 + 2 * index;
    return image.at(ConfigImage::Region::Charges, at) | (image.at(ConfigImage::Region::Charges, at + 1) << 8);
}

int sentChargeBytes(int firmware)
{
    return firmware >= FastFirmware ? 17 : 129;
}

} // namespace ImageLayout
