#include "common/Columns.h"

#include <gtest/gtest.h>

struct PadCase
{
    const char* text;
    int width;
    const char* padded;
    const char* rightAligned;
};

class ColumnsPad : public testing::TestWithParam<PadCase>
{};

TEST_P(ColumnsPad, FillsToWidth)
{
    const PadCase& c = GetParam();
    EXPECT_EQ(Columns::padded(QString::fromUtf8(c.text), c.width), QString::fromUtf8(c.padded));
    EXPECT_EQ(Columns::rightAligned(QString::fromUtf8(c.text), c.width), QString::fromUtf8(c.rightAligned));
}

INSTANTIATE_TEST_SUITE_P(Widths, ColumnsPad,
                         testing::Values(PadCase{"0711", 6, "0711  ", "  0711"},    // short text
                                         PadCase{"0711", 5, "0711 ", " 0711"},      // one short
                                         PadCase{"0711", 4, "0711 ", "0711"},       // exact: still one blank
                                         PadCase{"071112", 4, "071112 ", "071112"}, // wider: kept whole
                                         PadCase{"", 0, " ", ""},                   // zero width
                                         PadCase{"ab", -3, "ab ", "ab"},            // negative width
                                         PadCase{"Müller", 8, "Müller  ", "  Müller"}));

TEST(Columns, CutKeepsAtMostTheLength)
{
    EXPECT_EQ(Columns::cut(QStringLiteral("Gesprächspartner"), 7), QStringLiteral("Gespräc"));
    EXPECT_EQ(Columns::cut(QStringLiteral("kurz"), 20), QStringLiteral("kurz"));
    EXPECT_EQ(Columns::cut(QStringLiteral("abc"), 0), QString());
    EXPECT_EQ(Columns::cut(QStringLiteral("abc"), -1), QString());
}
