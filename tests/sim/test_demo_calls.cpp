#include "DemoCalls.h"
#include "SimHarness.h"
#include "image/ImageLayout.h"
#include "link/EventRecord.h"
#include "link/StateEvents.h"

#include <gtest/gtest.h>

namespace {

// Runs the demo for the given virtual time and returns the state events that went out.
QList<EventRecord> runDemo(SimHarness& sim, DemoCalls& demo, int seconds)
{
    QByteArray out;
    for (int i = 0; i < seconds * 100; ++i) {
        sim.nowUs += 10'000;
        demo.tick(sim.nowUs, sim.exchange);
        out += sim.exchange.takeOutput(sim.nowUs);
    }
    return EventRecord::fromChunk(out);
}

int unitsTotal(const ConfigImage& image)
{
    int total = 0;
    for (int k = 0; k < 8; ++k)
        total += ImageLayout::units(image, k);
    return total;
}

} // namespace

TEST(DemoCalls, CallsFollowTheEventGrammarAndCountUnits)
{
    for (quint32 seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        SimHarness sim;
        sim.switchEventsOn();
        DemoCalls demo(seed);
        demo.start(sim.nowUs);
        const int unitsBefore = unitsTotal(sim.exchange.image());
        const QList<EventRecord> events = runDemo(sim, demo, 900);
        ASSERT_GE(events.size(), 20);

        // Each call is bracketed by handset up and down of one extension; digits are valid codes.
        int active = -1, calls = 0, outgoing = 0;
        for (const EventRecord& e : events) {
            const int index = e.sub == 2 ? e.p2 : e.p1;
            ASSERT_GE(index, 0);
            ASSERT_LT(index, 8);
            if (e.sub == 4 && e.p3 == 1) {
                ASSERT_LT(active, 0) << "overlapping calls";
                ++calls;
                active = index;
            }
            if (e.sub == 5) {
                ASSERT_EQ(index, active) << "digit outside a call";
                ASSERT_GE(e.p3, 1);
                ASSERT_LE(e.p3, 10);
            }
            if (e.sub == 2 && (e.p1 == 2 || e.p1 == 3) && e.p3 == 0)
                ++outgoing; // connected: the program begins its record here
            if (e.sub == 4 && e.p3 == 0) {
                ASSERT_EQ(index, active);
                active = -1;
            }
        }
        EXPECT_GE(calls, 10);
        EXPECT_GE(outgoing, 1);
        EXPECT_GE(unitsTotal(sim.exchange.image()), unitsBefore + outgoing);
    }
}

TEST(DemoCalls, WithoutSwitchOnNothingIsSentButUnitsStillCount)
{
    SimHarness sim;
    DemoCalls demo(5);
    demo.start(sim.nowUs);
    const int unitsBefore = unitsTotal(sim.exchange.image());
    EXPECT_TRUE(runDemo(sim, demo, 900).isEmpty());
    EXPECT_GT(unitsTotal(sim.exchange.image()), unitsBefore);
}

TEST(DemoCalls, SameSeedSameCalls)
{
    SimHarness a, b;
    a.switchEventsOn();
    b.switchEventsOn();
    DemoCalls demoA(42), demoB(42);
    demoA.start(a.nowUs);
    demoB.start(b.nowUs);
    EXPECT_EQ(runDemo(a, demoA, 300), runDemo(b, demoB, 300));
}

TEST(DemoCalls, TheProgramsEventModelSeesEveryOutgoingCallBeginAndEnd)
{
    SimHarness sim;
    sim.switchEventsOn();
    DemoCalls demo(11);
    demo.start(sim.nowUs);
    StateEvents model;
    model.setSpontaneousTrunkAccess(
        [&](int extension) { return ImageLayout::spontaneousTrunkAccess(sim.exchange.image(), extension); });
    QStringList begun;
    int ended = 0;
    bool pending = false;
    QObject::connect(&model, &StateEvents::outgoingCallBegins, [&](int, const QString& display) {
        begun.append(display);
        pending = true;
    });
    QObject::connect(&model, &StateEvents::trunkReleased, [&] {
        ended += pending ? 1 : 0;
        pending = false;
    });

    int hangUps = 0;
    for (const EventRecord& e : runDemo(sim, demo, 1800)) {
        model.apply(e);
        if (e.sub == 4 && e.p3 == 0) {
            ++hangUps;
            for (int column = 0; column < StateEvents::Columns; ++column)
                ASSERT_FALSE(model.lamp(e.p1, column));
        }
    }
    ASSERT_GE(begun.size(), 3);
    EXPECT_EQ(ended, begun.size());
    EXPECT_GT(hangUps, begun.size()) << "incoming calls as well";
    // The demo's callers have no spontaneous trunk access: "0-" and a number, or a speed-dial code.
    for (const QString& display : begun) {
        const bool external = display.startsWith(QLatin1String("0-")) && display.size() >= 8;
        EXPECT_TRUE(external || display == QLatin1String("305")) << qPrintable(display);
    }
    EXPECT_TRUE(begun.contains(QLatin1String("305")));
}

namespace {

struct TimedEvent
{
    qint64 atMs;
    EventRecord record;
};

// Like runDemo, with the virtual time at which each event left the exchange.
QList<TimedEvent> runTimedDemo(SimHarness& sim, DemoCalls& demo, int seconds)
{
    QList<TimedEvent> events;
    QByteArray pending; // the line is paced, so a record may span two ticks
    for (int i = 0; i < seconds * 100; ++i) {
        sim.nowUs += 10'000;
        demo.tick(sim.nowUs, sim.exchange);
        pending += sim.exchange.takeOutput(sim.nowUs);
        const qsizetype whole = pending.size() / EventRecord::LineSize * EventRecord::LineSize;
        for (const EventRecord& r : EventRecord::fromChunk(pending.left(whole)))
            events.append({sim.nowUs / 1000, r});
        pending.remove(0, whole);
    }
    return events;
}

QList<EventRecord> records(const QList<TimedEvent>& events)
{
    QList<EventRecord> out;
    for (const TimedEvent& e : events)
        out.append(e.record);
    return out;
}

} // namespace

TEST(DemoCalls, AFixedPauseComesBeforeTheFirstCallAndBetweenCalls)
{
    for (int pause : {0, 3}) {
        SCOPED_TRACE(pause);
        SimHarness sim;
        sim.switchEventsOn();
        DemoCalls demo(7, pause);
        demo.start(sim.nowUs);
        EXPECT_EQ(demo.nextDeadlineUs(), sim.nowUs + pause * 1'000'000LL);
        const qint64 startMs = sim.nowUs / 1000;
        const QList<TimedEvent> events = runTimedDemo(sim, demo, 400);
        ASSERT_FALSE(events.isEmpty());
        EXPECT_GE(events.first().atMs - startMs, pause * 1000);
        EXPECT_LE(events.first().atMs - startMs, pause * 1000 + 200);
        // Every call ends with the handset put down; the next call's first event follows after the pause.
        int gaps = 0;
        for (qsizetype i = 0; i + 1 < events.size(); ++i) {
            const EventRecord& r = events[i].record;
            if (r.sub != 4 || r.p3 != 0)
                continue;
            const qint64 gapMs = events[i + 1].atMs - events[i].atMs;
            EXPECT_GE(gapMs, pause * 1000 - 200) << "after event " << i;
            EXPECT_LE(gapMs, pause * 1000 + 500) << "after event " << i;
            ++gaps;
        }
        EXPECT_GE(gaps, 5);
    }
}

TEST(DemoCalls, ASeedGivesTheSameCallsForEveryFixedPause)
{
    SimHarness a, b;
    a.switchEventsOn();
    b.switchEventsOn();
    DemoCalls shortPause(42, 1), longPause(42, 30);
    shortPause.start(a.nowUs);
    longPause.start(b.nowUs);
    const QList<EventRecord> fast = records(runTimedDemo(a, shortPause, 300));
    const QList<EventRecord> slow = records(runTimedDemo(b, longPause, 600));
    const qsizetype common = std::min(fast.size(), slow.size());
    ASSERT_GE(common, 30);
    EXPECT_EQ(fast.first(common), slow.first(common));
}
