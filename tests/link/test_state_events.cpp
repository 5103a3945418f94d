#include "link/StateEvents.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using Kind = StateEvents::Effect::Kind;

EventRecord rec(int sub, int p1, int p2, int p3)
{
    return EventRecord{sub, p1, p2, p3, 0};
}

void dial(StateEvents& events, int extension, const QList<int>& codes)
{
    for (int code : codes)
        events.apply(rec(5, extension, 0, code));
}

} // namespace

TEST(StateEvents, LineEventsSwitchTheLampOneColumnRight)
{
    StateEvents events;
    auto effect = events.apply(rec(2, 0, 1, 1));
    EXPECT_EQ(effect.kind, Kind::Lamp);
    EXPECT_EQ(effect.extension, 1);
    EXPECT_EQ(effect.column, 1);
    EXPECT_TRUE(effect.on);
    EXPECT_TRUE(events.lamp(1, 1));
    events.apply(rec(2, 7, 1, 1)); // "TFE"
    EXPECT_TRUE(events.lamp(1, 8));
    events.apply(rec(2, 0, 1, 0));
    EXPECT_FALSE(events.lamp(1, 1));
    EXPECT_TRUE(events.lamp(1, 8));
    // Ring lamp (sub 3) sits in column 9.
    effect = events.apply(rec(3, 4, 0, 1));
    EXPECT_EQ(effect.column, 9);
    EXPECT_TRUE(events.lamp(4, 9));
    // Outside the matrix: no effect, no crash.
    EXPECT_EQ(events.apply(rec(2, 9, 1, 1)).kind, Kind::None);
    EXPECT_EQ(events.apply(rec(2, 0, 8, 1)).kind, Kind::None);
    EXPECT_EQ(events.apply(rec(3, 200, 0, 1)).kind, Kind::None);
    EXPECT_EQ(events.apply(rec(7, 0, 0, 1)).kind, Kind::None);
}

TEST(StateEvents, HandsetEventLightsColumnZeroOrClearsTheRow)
{
    StateEvents events;
    QSignalSpy stopped(&events, &StateEvents::callDurationStopped);
    events.apply(rec(4, 2, 0, 1));
    EXPECT_TRUE(events.lamp(2, 0));
    events.apply(rec(2, 0, 2, 1));
    events.apply(rec(3, 2, 0, 1));
    dial(events, 2, {1, 2});
    EXPECT_EQ(events.display(2), QStringLiteral("12"));
    const auto effect = events.apply(rec(4, 2, 0, 0));
    EXPECT_EQ(effect.kind, Kind::AllLampsOff);
    for (int column = 0; column < StateEvents::Columns; ++column)
        EXPECT_FALSE(events.lamp(2, column)) << column;
    EXPECT_TRUE(events.display(2).isEmpty());
    ASSERT_EQ(stopped.count(), 2); // on both values of p3
    EXPECT_EQ(stopped.at(1).at(0).toInt(), 2);
}

TEST(StateEvents, DigitCodes)
{
    struct Case
    {
        QList<int> codes;
        bool spontaneous;
        const char* display;
    };
    const Case cases[] = {
        {{1, 2, 9}, true, "129"}, {{10}, true, "0"},      {{10}, false, "0-"},      {{10, 3}, false, "0-3"},
        {{10, 10}, false, "0-0"}, {{5, 10}, false, "50"}, {{0, 11, 255}, true, ""}, {{0, 4, 11}, false, "4"},
    };
    for (const Case& c : cases) {
        StateEvents events;
        events.setSpontaneousTrunkAccess([&](int) { return c.spontaneous; });
        dial(events, 1, c.codes);
        EXPECT_EQ(events.display(1), QString::fromLatin1(c.display));
        EXPECT_EQ(events.digitsDialled(), !QByteArray(c.display).isEmpty());
    }
}

TEST(StateEvents, TrunkDigitsGoToTheChannelOwner)
{
    StateEvents events;
    events.apply(rec(6, 0, 0, 3)); // no owner yet
    for (int e = 0; e < 8; ++e)
        EXPECT_TRUE(events.display(e).isEmpty());
    events.apply(rec(2, 2, 4, 1)); // v = 2: extension index 4 owns Amt1
    events.apply(rec(2, 3, 6, 1)); // v = 3: extension index 6 owns Amt2
    EXPECT_EQ(events.trunkOwner(0), 5);
    EXPECT_EQ(events.trunkOwner(1), 7);
    events.apply(rec(6, 0, 0, 3));
    events.apply(rec(6, 1, 0, 10));
    events.apply(rec(6, 2, 0, 1)); // no such channel
    EXPECT_EQ(events.display(4), QStringLiteral("3"));
    EXPECT_EQ(events.display(6), QStringLiteral("0"));
    events.apply(rec(2, 2, 4, 0));
    EXPECT_EQ(events.trunkOwner(0), 0);
}

TEST(StateEvents, ACorruptLineEventNamesNoTrunkOwner)
{
    StateEvents events;
    events.apply(rec(2, 2, 4, 1));
    events.apply(rec(2, 2, 99, 1)); // no extension 120
    EXPECT_EQ(events.trunkOwner(0), 0);
    events.apply(rec(2, 3, 4, 1));
    events.apply(rec(2, 3, 4, 7)); // neither on nor off
    EXPECT_EQ(events.trunkOwner(1), 0);
    events.apply(rec(6, 1, 0, 3));
    EXPECT_TRUE(events.display(4).isEmpty());
}

TEST(StateEvents, OutgoingCallBeginsWhenDiallingEnds)
{
    StateEvents events;
    QSignalSpy begins(&events, &StateEvents::outgoingCallBegins);
    dial(events, 3, {10, 8, 9});
    events.apply(rec(2, 2, 3, 1));
    EXPECT_EQ(begins.count(), 0);
    events.apply(rec(2, 2, 3, 0));
    ASSERT_EQ(begins.count(), 1);
    EXPECT_EQ(begins.at(0).at(0).toInt(), 3);
    EXPECT_EQ(begins.at(0).at(1).toString(), QStringLiteral("089"));
    EXPECT_FALSE(events.digitsDialled());
    // The flag was cleared: a second line-off does not begin another record.
    events.apply(rec(2, 3, 3, 0));
    EXPECT_EQ(begins.count(), 1);

    // One character is not enough; monitoring off begins nothing and keeps the flag.
    StateEvents single;
    QSignalSpy none(&single, &StateEvents::outgoingCallBegins);
    dial(single, 0, {1});
    single.apply(rec(2, 2, 0, 0));
    single.setOutgoingMonitoring(false);
    dial(single, 0, {2});
    single.apply(rec(2, 3, 0, 0));
    EXPECT_EQ(none.count(), 0);
    EXPECT_TRUE(single.digitsDialled());
}

TEST(StateEvents, OnlyATrunkLampGoingOffReleasesTheTrunk)
{
    StateEvents events;
    QSignalSpy released(&events, &StateEvents::trunkReleased);
    events.apply(rec(2, 0, 1, 1));
    events.apply(rec(2, 2, 1, 0)); // an internal link
    events.apply(rec(4, 1, 0, 0)); // a handset
    EXPECT_EQ(released.count(), 0);
    events.apply(rec(2, 0, 1, 0));
    events.apply(rec(2, 1, 5, 0)); // any extension's trunk lamp
    EXPECT_EQ(released.count(), 2);
}
