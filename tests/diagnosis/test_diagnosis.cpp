#include "MockClock.h"
#include "diagnosis/LampMatrix.h"
#include "diagnosis/Signalling.h"
#include "diagnosis/TPCSpeaker.h"
#include "diagnosis/ToneOutput.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records when each tone starts and stops, in virtual milliseconds.
class RecordedTones : public ToneOutput
{
public:
    explicit RecordedTones(MockClock& clock) : m_clock(clock) {}
    bool start(int frequency, quint16 divisor) override
    {
        events.push_back({m_clock.elapsedMs(), frequency, divisor});
        return true;
    }
    void stop() override { events.push_back({m_clock.elapsedMs(), 0, 0}); }

    struct Event
    {
        qint64 atMs;
        int frequency; // 0: stop
        quint16 divisor;
        bool operator==(const Event&) const = default;
    };
    std::vector<Event> events;

private:
    MockClock& m_clock;
};

} // namespace

TEST(Signalling, WhatAChunkOfEventsDoesWhileTheWindowIsHidden)
{
    using Signalling::Decision;
    using Signalling::Page;
    using Signalling::Sound;
    struct Case
    {
        int action;
        bool hidden, alarmShown, standardVolume, nt;
        Decision expected;
    };
    const Case cases[] = {
        {1, false, false, false, false, {}},                                     // visible: nothing
        {1, true, false, false, false, {Page::None, true, Sound::SpeakerTones}}, // the alarm icon and tones
        {1, true, true, false, false, {}},                                       // once per hidden period
        {1, true, false, true, false, {Page::None, true, Sound::Beep}},
        {0, true, false, false, false, {}},
        {2, true, false, false, false, {Page::Diagnosis, false, Sound::None}},
        {3, true, false, false, true, {Page::Diagnosis, false, Sound::Beep}}, // never the speaker there
        {4, true, false, false, false, {Page::OutgoingCalls, false, Sound::None}},
        {5, true, false, false, false, {Page::OutgoingCalls, false, Sound::SpeakerTones}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Signalling::decide(c.action, c.hidden, c.alarmShown, c.standardVolume, c.nt), c.expected)
            << c.action << c.hidden << c.alarmShown << c.standardVolume << c.nt;
    for (int action = 0; action <= 5; ++action) {
        EXPECT_EQ(Signalling::standardVolumeEnabled(action), action % 2 == 1) << action;
        EXPECT_FALSE(Signalling::standardVolumeEnabled(action, true)) << action;
    }
}

TEST(TPCSpeaker, TheTimerDivisorAndTheAlarmsThreeTones)
{
    EXPECT_EQ(TPCSpeaker::divisor(18), std::nullopt);
    EXPECT_EQ(TPCSpeaker::divisor(19), std::optional<quint16>(62799));
    EXPECT_EQ(TPCSpeaker::divisor(800), std::optional<quint16>(1491));

    MockClock clock;
    RecordedTones output(clock);
    TPCSpeaker speaker(clock);
    speaker.setOutput(&output);
    speaker.SoundOn(18); // below the timer's range: silence, and nothing to stop
    speaker.SoundOff();
    EXPECT_TRUE(output.events.empty());

    speaker.playAlarm();
    speaker.playAlarm(); // a second alarm while one plays is not queued
    clock.advance(1000);
    using E = RecordedTones::Event;
    const std::vector<E> expected = {{0, 800, 1491}, {150, 0, 0},      {180, 500, 2386},
                                     {330, 0, 0},    {360, 800, 1491}, {510, 0, 0}};
    EXPECT_EQ(output.events, expected);
    EXPECT_FALSE(speaker.isPlaying());
}

TEST(LampMatrix, TheLampTestLightsEveryLampForASecondThenAllAreOff)
{
    MockClock clock;
    LampMatrix lamps;
    lamps.lampOn(2, 3);
    int litDuringTest = -1;
    clock.schedule(500, [&] {
        litDuringTest = 0;
        for (int row = 0; row < LampMatrix::Rows; ++row)
            for (int column = 0; column < LampMatrix::Columns; ++column)
                litDuringTest += lamps.lamp(row, column) ? 1 : 0;
        EXPECT_TRUE(lamps.isTesting());
    });
    lamps.runLampTest(clock);
    clock.advance(LampMatrix::LampTestMs - 10);
    EXPECT_EQ(litDuringTest, 80);
    EXPECT_TRUE(lamps.isTesting());
    clock.advance(10);
    EXPECT_FALSE(lamps.isTesting());
    for (int row = 0; row < LampMatrix::Rows; ++row)
        for (int column = 0; column < LampMatrix::Columns; ++column)
            EXPECT_FALSE(lamps.lamp(row, column)) << row << column;
    lamps.lampOn(8, 0); // outside the matrix
    lamps.lampOn(0, 10);
    EXPECT_FALSE(lamps.lamp(8, 0));
}
