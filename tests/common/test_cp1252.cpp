#include "common/Cp1252.h"

#include <gtest/gtest.h>

namespace {

QByteArray highHalf()
{
    QByteArray bytes;
    for (int b = 0x80; b <= 0x9F; ++b)
        bytes.append(char(b));
    return bytes;
}

// The code page's 0x80..0x9F, written out by hand; undefined bytes stand for the C1 control of the same value.
const char16_t kHighHalfText[] = u"€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ";

} // namespace

TEST(Cp1252, HighHalfDecodesToItsCharacters)
{
    EXPECT_EQ(Cp1252::toUnicode(highHalf()), QString::fromUtf16(kHighHalfText));
    EXPECT_EQ(Cp1252::toUnicode("\x80"), QStringLiteral("€"));
    EXPECT_EQ(Cp1252::toUnicode("\x8A"), QStringLiteral("Š"));
    EXPECT_EQ(Cp1252::toUnicode("\x9F"), QStringLiteral("Ÿ"));
}

TEST(Cp1252, HighHalfEncodesBackByteForByte)
{
    EXPECT_EQ(Cp1252::fromUnicode(QString::fromUtf16(kHighHalfText)), highHalf());
    for (const char undefined : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'}) {
        const QByteArray byte(1, undefined);
        EXPECT_EQ(Cp1252::fromUnicode(Cp1252::toUnicode(byte)), byte) << int(uchar(undefined));
    }
}

TEST(Cp1252, EveryByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(Cp1252::fromUnicode(Cp1252::toUnicode(all)), all);
}

TEST(Cp1252, GermanTextUsesLatinBytes)
{
    EXPECT_EQ(Cp1252::fromUnicode(u"Anschluß"), QByteArray("Anschlu\xDF"));
    EXPECT_EQ(Cp1252::fromUnicode(u"Überwachung"), QByteArray("\xDC"
                                                              "berwachung"));
    EXPECT_EQ(Cp1252::toUnicode("Geb\xFChren"), QStringLiteral("Gebühren"));
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach)
{
    EXPECT_EQ(Cp1252::fromUnicode(u"a\u0100b"), QByteArray("a?b"));
    EXPECT_EQ(Cp1252::fromUnicode(u"x\U0001F600y"), QByteArray("x?y"));
    EXPECT_EQ(Cp1252::fromUnicode(u"\u20AC\u2603"), QByteArray("\x80?"));
}
