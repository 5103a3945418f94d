#include "shell/SecondTick.h"

#include <QStringList>
#include <gtest/gtest.h>

using Duty = SecondTick::Duty;

TEST(SecondTick, DutiesRunInTheirFixedOrderWhateverTheOrderTheyJoinedIn)
{
    SecondTick tick;
    QStringList ran;
    tick.set(Duty::CallDuration, [&] { ran << QStringLiteral("duration"); });
    tick.set(Duty::Clock, [&] { ran << QStringLiteral("clock"); });
    tick.set(Duty::WakeUp, [&] { ran << QStringLiteral("wake-up"); });
    tick.set(Duty::AutoClose, [&] { ran << QStringLiteral("auto-close"); });
    tick.set(Duty::TimeControl, [&] { ran << QStringLiteral("time control"); });
    tick.set(Duty::ReplyTimeout, [&] { ran << QStringLiteral("time-out"); });
    tick.run();
    EXPECT_EQ(ran, (QStringList{"auto-close", "time-out", "clock", "time control", "wake-up", "duration"}));

    // A duty set again replaces the old one in its place.
    ran.clear();
    tick.set(Duty::Clock, [&] { ran << QStringLiteral("clock 2"); });
    tick.set(Duty::WakeUp, {});
    tick.run();
    EXPECT_EQ(ran, (QStringList{"auto-close", "time-out", "clock 2", "time control", "duration"}));
    EXPECT_FALSE(tick.has(Duty::WakeUp));
}
