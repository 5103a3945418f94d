#include "capi/CapiTexts.h"

#include <gtest/gtest.h>

TEST(CapiErrorText, TextThenTheValueInFourUpperCaseHexDigits)
{
    struct Case
    {
        quint16 info;
        const char* text;
    } cases[] = {
        {0x0000, "OK"},
        {0x1002, "logical block size too small, must be at least 128 bytes ($1002) ($1002)"},
        {0x1104, "queue is empty ($1104)"},
        {0x3490, "Normal call clearing ($3490)"},
        {0x9999, "unbekannter Fehler ($9999)"},
        {0x0001, "unbekannter Fehler ($0001)"},
        {0x100A, "Controller does not support external equipment ($100A)"},
        {0x110A, "Controller does not support external equipment ($110A)"},
        {0x34FF, "Interworking, unspecified ($34FF)"},
        {0x3410, "unbekannter Fehler ($3410)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CapiErrorText(c.info), QString::fromUtf8(c.text)) << c.info;
}

TEST(CapiErrorText, Exactly107NonZeroValuesHaveAText)
{
    int withText = 0;
    for (int v = 1; v <= 0xFFFF; ++v)
        withText += CapiErrorText(static_cast<quint16>(v)).startsWith(QStringLiteral("unbekannter Fehler")) ? 0 : 1;
    EXPECT_EQ(withText, 107);
}

TEST(CipValueText, ValuesWithoutTextGiveAnEmptyString)
{
    EXPECT_EQ(CipValueText(17), QStringLiteral("fax group 2/3"));
    EXPECT_EQ(CipValueText(1), QStringLiteral("speech"));
    EXPECT_EQ(CipValueText(28), QStringLiteral("Video Telephony F.721, second connection"));
    for (int cip : {-1, 10, 12, 15, 29, 65535})
        EXPECT_TRUE(CipValueText(cip).isEmpty()) << cip;
}

TEST(CapiStateText, FourStatesAndNothingElse)
{
    EXPECT_EQ(CapiStateText(2), QStringLiteral("Datei \"libcapi20.so.3\" nicht gefunden."));
    EXPECT_EQ(CapiStateText(3), QStringLiteral("CAPI 2.0 (32 Bit) nicht installiert."));
    EXPECT_TRUE(CapiStateText(4).isEmpty());
    EXPECT_TRUE(CapiStateText(-1).isEmpty());
}
