#include "common/FormatPicture.h"

#include <gtest/gtest.h>

struct FixedCase
{
    double value;
    int width;
    int decimals;
    char point;
    const char* expected;
};

class FormatPictureFixed : public testing::TestWithParam<FixedCase>
{};

TEST_P(FormatPictureFixed, MatchesPrintfPicture)
{
    const FixedCase& c = GetParam();
    EXPECT_EQ(FormatPicture::fixed(c.value, c.width, c.decimals, QLatin1Char(c.point)), QLatin1String(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Pictures, FormatPictureFixed,
                         testing::Values(FixedCase{0.48, 4, 2, ',', "0,48"},            // "%4.2f"
                                         FixedCase{0.0, 4, 2, '.', "0.00"},             //
                                         FixedCase{12.345, 4, 2, ',', "12,35"},         // wider than 4
                                         FixedCase{1234.5, 4, 2, '.', "1234.50"},       //
                                         FixedCase{0.48, 10, 2, ',', "      0,48"},     // "%10.2f"
                                         FixedCase{4 * 0.12, 10, 2, '.', "      0.48"}, // binary fraction
                                         FixedCase{-1.5, 10, 2, ',', "     -1,50"},     //
                                         FixedCase{2.675, 0, 1, '.', "2.7"},            //
                                         FixedCase{7.0, 3, 0, ',', "  7"}));

TEST(FormatPicture, SystemDecimalPointIsTheLocalesSeparator)
{
    EXPECT_EQ(FormatPicture::systemDecimalPoint(), QLocale::system().decimalPoint().front());
    EXPECT_EQ(FormatPicture::fixed(1.25, 4), QStringLiteral("1") + FormatPicture::systemDecimalPoint() + "25");
}

TEST(FormatPicture, ADateReadBackOnlyInItsOwnPicture)
{
    const struct
    {
        const char* text;
        QDate date;
    } cases[] = {
        {"02.01.2001", QDate(2001, 1, 2)},
        {"29.02.2024", QDate(2024, 2, 29)},
        {"31.12.9999", QDate(9999, 12, 31)},
        {"29.02.2026", QDate()},
        {"00.01.2026", QDate()},
        {"01.13.2026", QDate()},
        {"xx.02.2026", QDate()},
        {"2.1.2001", QDate()},
        {"02/01/2001", QDate()},
        {"02.01.2001 ", QDate()},
        {" 2.01.2001", QDate()},
        {"", QDate()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatPicture::parseDate(QString::fromLatin1(c.text)), c.date) << c.text;
        // The general parser of the same picture agrees.
        EXPECT_EQ(QDate::fromString(QString::fromLatin1(c.text), QStringLiteral("dd.MM.yyyy")), c.date) << c.text;
    }
}

TEST(FormatPicture, DateAndTimePictures)
{
    const QDateTime afternoon(QDate(1999, 3, 7), QTime(13, 5, 9));
    EXPECT_EQ(FormatPicture::timestamp(afternoon), QStringLiteral("07.03.1999 13:05:09"));
    EXPECT_EQ(FormatPicture::timestamp(QDateTime(QDate(2024, 12, 31), QTime(0, 0, 0))),
              QStringLiteral("31.12.2024 00:00:00"));
    EXPECT_EQ(FormatPicture::date(QDate(2001, 1, 2)), QStringLiteral("02.01.2001"));
    EXPECT_EQ(FormatPicture::hhmm(QTime(7, 30)), QStringLiteral("0730"));
    EXPECT_EQ(FormatPicture::hhmm(QTime(23, 59, 59)), QStringLiteral("2359"));
}
