#include "shell/StatusLine.h"

#include <gtest/gtest.h>

struct StatusCase
{
    int number;
    StatusLevel level;
    const char* arg;
    const char* line;
    int colour;
};

class StatusLineShow : public testing::TestWithParam<StatusCase>
{};

TEST_P(StatusLineShow, BuildsTheLine)
{
    const StatusCase& c = GetParam();
    StatusLine status;
    status.showStatus(c.number, c.level, QString::fromUtf8(c.arg));
    EXPECT_EQ(status.line(), QString::fromUtf8(c.line));
    EXPECT_EQ(status.text(), QString::fromUtf8(c.line).mid(2));
    EXPECT_EQ(status.colourLevel(), c.colour);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, StatusLineShow,
    testing::Values(StatusCase{5, StatusLevel::Error, "COM3", "2:Schnittstelle COM3 kann nicht geöffnet werden", 2},
                    StatusCase{0, StatusLevel::Normal, "", "0:", 0}, //
                    StatusCase{2, StatusLevel::Progress, "", "1:Grundkonfiguration wird gelesen", 1},
                    StatusCase{22, StatusLevel::Error, "COMx", "2:Portadresse 'COMx' ist ungültig", 2},
                    // Only "%s" is filled; the argument is taken literally.
                    StatusCase{34, StatusLevel::Normal, "7", "0:Anschluß %d", 0},
                    StatusCase{50, StatusLevel::Progress, "%s 301", "1:Kurzwahl %s 301 wird gelesen", 1},
                    StatusCase{23, StatusLevel::Error, "", "2:", 2}));

TEST(StatusLine, ClearingLeavesTheTextEmpty)
{
    StatusLine status;
    status.showStatus(4, StatusLevel::Error, QStringLiteral("COM1"));
    status.showStatus(0, StatusLevel::Normal);
    EXPECT_TRUE(status.text().isEmpty());
    EXPECT_EQ(status.colourLevel(), 0);
}

TEST(StatusLine, OtherWritersKeepTheColourUnlessTheyGiveALevel)
{
    StatusLine status;
    status.showStatus(1, StatusLevel::Progress);
    status.setLine(QStringLiteral("x Anruf von 0711"));
    EXPECT_EQ(status.colourLevel(), 1);
    EXPECT_EQ(status.text(), QStringLiteral("Anruf von 0711"));
    status.setLine(QStringLiteral("2 Anruf"));
    EXPECT_EQ(status.colourLevel(), 2);
    status.setLine(QString());
    EXPECT_EQ(status.colourLevel(), 2);
    EXPECT_EQ(status.text(), QString());
}

TEST(StatusLine, EveryChangeSignalsAndPumps)
{
    StatusLine status;
    int pumped = 0;
    int signalled = 0;
    QString seenByPump;
    status.setPump([&] {
        ++pumped;
        seenByPump = status.line();
    });
    QObject::connect(&status, &StatusLine::changed, [&] { ++signalled; });
    status.showStatus(3, StatusLevel::Progress);
    status.setLine(QStringLiteral("1 Anruf"));
    EXPECT_EQ(pumped, 2);
    EXPECT_EQ(signalled, 2);
    EXPECT_EQ(seenByPump, QStringLiteral("1 Anruf"));
}
