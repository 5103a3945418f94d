#include "DefaultImage.h"
#include "Golden.h"
#include "image/Firmware.h"
#include "image/ImageLayout.h"

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
        EXPECT_EQ(Firmware::version(image), c.firmware);
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

TEST(DefaultImage, NumbersArePackedAsTheProgramUnpacksThem)
{
    const ConfigImage image = DefaultImage::build(200, 8);
    EXPECT_EQ(msn(image, 0), QStringLiteral("8143210"));
    EXPECT_EQ(msn(image, 9), QString());
    // 22 forwards to 01701234567: first digit low, 0xF filler after the last.
    const int r22 = ImageLayout::recordOffset(1, 200);
    EXPECT_EQ(image.toByteArray().mid(r22 + 7, 10), QByteArray::fromHex("1007214365F7FFFFFFFF"));
    // PIN 1234 of 21: digit 1 in the low nibble of byte 5.
    EXPECT_EQ(image.toByteArray().mid(ImageLayout::recordOffset(0, 200) + 5, 2), QByteArray::fromHex("2143"));
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

// The images the simulated exchange starts with, byte for byte: every end-to-end test and the
// demo read them.
TEST(DefaultImage, StartImagesMatchTheirFiles)
{
    struct Case
    {
        int firmware, extensions;
        const char* file;
    };
    for (const Case& c : {Case{200, 8, "sim-image-200-8.kvx"}, Case{198, 3, "sim-image-198-3.kvx"}})
        EXPECT_TRUE(
            Golden::matches(QString::fromLatin1(c.file), DefaultImage::build(c.firmware, c.extensions).toByteArray()));
}
