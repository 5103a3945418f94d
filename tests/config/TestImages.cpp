#include "TestImages.h"

#include <array>
#include <cstdint>

namespace {
void put(ConfigImage& image, int offset, std::initializer_list<int> bytes)
{
    for (const int b : bytes)
        image[offset++] = static_cast<std::uint8_t>(b);
}

// A pattern for uninterpreted bytes that no rule produces by itself.
std::uint8_t pattern(int offset)
{
    return static_cast<std::uint8_t>(0xA5 ^ (offset * 7));
}

struct Record
{
    int service;
    int permission;
    std::array<int, 2> pin; // bytes 5, 6
    int msnMask, extensionMask;
};

// Services: 0 Telefon, 4 Anrufbeantworter, 5 Kombidienst, 1 Fax G3, 2 Daten, 3 T-Online.
// MSN masks only name MSNs with a number that ring at the extension; extension masks only
// extensions whose service knocks, and never the extension itself.
constexpr std::array<Record, 8> kRecords{{
    {0, 0, {0x21, 0x43}, 0x0005, 0x06}, // 21: MSN 1 and 3; from 22, 23
    {4, 1, {0x00, 0x00}, 0x0001, 0x01}, // 22: MSN 1; from 21
    {5, 2, {0x89, 0x67}, 0x0002, 0x03}, // 23: MSN 2; from 21, 22
    {1, 3, {0x34, 0x12}, 0x0000, 0x00}, // 24: fax
    {2, 4, {0x11, 0x11}, 0x0000, 0x00}, // 25: data
    {0, 0, {0x52, 0x08}, 0x0004, 0x80}, // 26: MSN 3; from 28
    {3, 1, {0x00, 0x70}, 0x0000, 0x00}, // 27: T-Online
    {0, 2, {0x55, 0x55}, 0x0008, 0x21}, // 28: MSN 4; from 21, 26
}};
} // namespace

namespace TestImages {

int record(const ConfigImage& image, int g)
{
    const int version = image[4] * 100 + image[5];
    return 301 + g * (version >= 200 ? 27 : 24);
}

ConfigImage make(int major, int minor, int extensionCount)
{
    ConfigImage image;
    for (int i = 0; i < ConfigImage::Size; ++i)
        image[i] = pattern(i);
    for (int i = 225; i < 300; ++i) // compaction leaves the ends of the regions zero
        image[i] = 0;
    for (int i = 675; i < 800; ++i)
        image[i] = 0;
    for (int i = 968; i < 1024; ++i)
        image[i] = 0;

    const bool modes = major * 100 + minor >= 200;
    const int allExtensions = (1 << extensionCount) - 1;
    put(image, 0, {23, 1, extensionCount, 1, major, minor});
    put(image, 7, {0x07, 0xF1, 0xFF, 0xFF, 0xFF});  // MSN 1 "701"
    put(image, 12, {0x07, 0xF2, 0xFF, 0xFF, 0xFF}); // MSN 2 "702"
    put(image, 17, {0x21, 0x43, 0xF5, 0xFF, 0xFF}); // MSN 3 "12345"
    put(image, 22, {0x30, 0x10, 0x32, 0x54, 0x76}); // MSN 4 "0301234567"
    for (int m = 4; m < 10; ++m)
        put(image, 7 + 5 * m, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    put(image, 57, {0, 1, 1});
    put(image, 84,
        {0x03 & allExtensions, 0x04 & allExtensions, 0x21 & allExtensions, 0x80 & allExtensions, 0, 0, 0, 0, 0, 0});
    put(image, 94, {2}); // message on hold from extension 22
    put(image, 102, {0, 1, 2, 3, 4, 0, 0, 0, 0, 0});

    put(image, 300, {22});
    for (int g = 0; g < 8; ++g) {
        const Record& rec = kRecords.at(static_cast<std::size_t>(g));
        const int r = record(image, g);
        const int msnMask = g < extensionCount ? rec.msnMask : 0;
        const int extensionMask = rec.extensionMask & allExtensions;
        put(image, r + 1, {rec.permission, rec.service, 0, g % 2, rec.pin[0], rec.pin[1]});
        for (int k = 7; k < 17; ++k)
            image[r + k] = 0xFF;
        put(image, r + 17, {(g + 1) % 2, extensionMask, msnMask >> 8, msnMask & 0xFF});
        if (modes)
            put(image, r + 23, {0, 0, 0});
    }
    auto external = [&](int g) {
        const int r = record(image, g);
        put(image, r + 3, {1});
        put(image, r + 7, {0x30, 0x10, 0x32, 0xF4, 0xFF}); // "0301234"
    };
    if (modes) {
        put(image, record(image, 1) + 23, {3});    // 22: to 23 when busy
        put(image, record(image, 2) + 24, {1, 5}); // 23: to 21 after five rings
    } else {
        put(image, record(image, 1) + 3, {23}); // 22: to 23 at once
        external(2);                            // 23: to 0301234
    }
    if (extensionCount == 8) {
        put(image, record(image, 5) + 3, {22}); // 26: to 22 at once
        external(6);                            // 27: to 0301234
    }

    put(image, 800, {21, 0x34, 0x12, 0x10, 0x00, 0x00, 0x01, 7, 0, 0, 0, 0xFF, 0xFF, 3, 0, 42, 0});
    return image;
}

QByteArray hex(const ConfigImage& image, int offset, int length)
{
    return QByteArray(reinterpret_cast<const char*>(image.data()) + offset, length).toHex(' ').toUpper();
}

} // namespace TestImages
