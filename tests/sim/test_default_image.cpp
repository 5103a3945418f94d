#include "DefaultImage.h"
#include "link/ImageLayout.h"

#include <QString>
#include <gtest/gtest.h>

namespace {

// MSN digits: first digit in the low nibble, 0xF fillers dropped.
QString msn(const ConfigImage& image, int m)
{
    QString text;
    for (int j = 0; j < 5; ++j) {
        for (int nibble : {image[7 + 5 * m + j] & 0x0F, image[7 + 5 * m + j] >> 4}) {
            if (nibble != 0x0F)
                text += QChar('0' + nibble);
        }
    }
    return text;
}

} // namespace

TEST(DefaultImage, HardwareFactsFollowTheOptions)
{
    struct Case
    {
        int firmware, extensions;
    };
    for (const Case c : {Case{200, 8}, Case{198, 8}, Case{195, 3}, Case{193, 3}}) {
        const ConfigImage image = DefaultImage::build(c.firmware, c.extensions);
        EXPECT_EQ(ImageLayout::firmwareVersion(image), c.firmware);
        EXPECT_EQ(ImageLayout::extensionCount(image), c.extensions);
        EXPECT_EQ(image[0], 23);
        EXPECT_EQ(image[300], 22);
        EXPECT_EQ(image[800], 21);
        // Nothing beyond the extensions that exist: no ringing bits, no records, no units.
        const int mask = (1 << c.extensions) - 1;
        for (int m = 0; m < 10; ++m)
            EXPECT_EQ(image[84 + m] & ~mask, 0);
        const int end = ImageLayout::recordOffset(c.extensions, c.firmware);
        for (int i = end; i < 800; ++i)
            ASSERT_EQ(image[i], 0) << i;
        for (int k = c.extensions; k < 8; ++k)
            EXPECT_EQ(ImageLayout::units(image, k), 0);
    }
}

TEST(DefaultImage, IsAPlausibleExchange)
{
    const ConfigImage image = DefaultImage::build(200, 8);
    EXPECT_EQ(msn(image, 0), QStringLiteral("8143210"));
    EXPECT_EQ(msn(image, 4), QStringLiteral("8143219"));
    EXPECT_EQ(msn(image, 9), QString());
    EXPECT_EQ(image[84], 0x03);
    EXPECT_EQ(image[88], 0xFF);

    // 22 is forwarded to an external number, 28 to 21, 21 to 23 after five rings.
    const int r21 = ImageLayout::recordOffset(0, 200), r22 = ImageLayout::recordOffset(1, 200);
    const int r28 = ImageLayout::recordOffset(7, 200);
    EXPECT_EQ(image[r22 + 3], 1);
    EXPECT_EQ(image[r22 + 7], 0x10);
    EXPECT_EQ(image[r22 + 12], 0xF7);
    EXPECT_EQ(image[r28 + 3], 21);
    EXPECT_EQ(image[r21 + 24], 3);
    EXPECT_EQ(image[r21 + 25], 5);
    // PIN 1234: digit 1 low in byte 5.
    EXPECT_EQ(image[r21 + 5], 0x21);
    EXPECT_EQ(image[r21 + 6], 0x43);
    EXPECT_EQ(ImageLayout::units(image, 0), 1234);

    const SpeedDialTable dials = DefaultImage::speedDials(200, 8);
    EXPECT_EQ(dials.entry(1).digits.size(), 10);
    EXPECT_EQ(dials.entry(6).dialBlock, 0xFF);
    EXPECT_TRUE(dials.entry(60).digits.isEmpty());
}

TEST(DefaultImage, OlderFirmwareHasNoNewerFields)
{
    const ConfigImage image = DefaultImage::build(193, 8);
    for (int m = 0; m < 10; ++m)
        EXPECT_EQ(image[102 + m], 0);
    for (int g = 0; g < 8; ++g) {
        const int r = ImageLayout::recordOffset(g, 193);
        EXPECT_EQ(image[r + 18] | image[r + 19] | image[r + 20], 0) << "call waiting needs 1.95";
        EXPECT_EQ(image[r + 23], 0);
    }
    EXPECT_TRUE(DefaultImage::speedDials(198, 8).entry(1).digits.isEmpty());
}
