#include "common/PrintableText.h"

#include <gtest/gtest.h>

TEST(PrintableText, ControlCharactersAreShownEscapedAndTheRestAsItIs)
{
    const struct
    {
        QString text;
        QString shown;
    } cases[] = {
        {QStringLiteral("Müller, 0301 234"), QStringLiteral("Müller, 0301 234")},
        {QStringLiteral("\x1b]0;pwned\x07"), QStringLiteral("\\x1b]0;pwned\\x07")},
        {QString(QChar(0)) + QStringLiteral("a\tb\r\n"), QStringLiteral("\\x00a\\x09b\\x0d\\x0a")},
        {QStringLiteral("\x7f") + QChar(0x9b) + QStringLiteral("2J"), QStringLiteral("\\x7f\\x9b2J")},
        {QStringLiteral("€ \\x41"), QStringLiteral("€ \\x41")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PrintableText::escaped(c.text), c.shown) << c.text.toStdString();
}

TEST(PrintableText, AReportKeepsItsLinesAndColumns)
{
    EXPECT_EQ(PrintableText::escapedLines(QStringLiteral("21\tK\x1b[2Jüche\r\n22\tBad\n")),
              QStringLiteral("21\tK\\x1b[2Jüche\\x0d\n22\tBad\n"));
}
