#include "DemoCalls.h"
#include "SimHarness.h"
#include "link/EventRecord.h"
#include "link/ImageLayout.h"
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
    QObject::connect(&model, &StateEvents::outgoingCallBegins, [&](int extension, const QString& display) {
        begun.append(display);
        model.setOpenCall(extension + 1);
    });
    QObject::connect(&model, &StateEvents::callEnded, [&] {
        ++ended;
        model.setOpenCall(0);
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
