#include "E2eHarness.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

namespace {

int gapMs(const QTime& from, const QTime& to)
{
    const int ms = from.msecsTo(to);
    return ms < 0 ? ms + 86400000 : ms;
}

} // namespace

// `kavexctl ring` through the real serial driver: the exchange's log shows the four commands and
// the pauses between them (lower bounds tight, upper bounds wide: the line runs in real time).
TEST(EndToEnd, RingSelectsStartsWaitsAndStopsTheExtension)
{
    SimulatedExchange sim;
    ASSERT_TRUE(sim.start());
    const CtlRun run = runKavexctl({QStringLiteral("--port"), sim.device(), QStringLiteral("ring"),
                                    QStringLiteral("23"), QStringLiteral("--seconds"), QStringLiteral("5")},
                                   sim.dir(), 30000);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_GE(run.elapsedMs, 5000);
    sim.stop();

    const QList<SimulatedExchange::Cell> cells = sim.cells();
    QList<QByteArray> blocks;
    for (const auto& cell : cells)
        blocks.append(cell.bytes.toHex(' '));
    ASSERT_EQ(blocks, (QList<QByteArray>{"03 dd 03 02", "83 00 01 00", "03 dd 03 02", "83 00 00 00"}));
    EXPECT_GE(gapMs(cells[0].time, cells[1].time), 35);
    EXPECT_LT(gapMs(cells[0].time, cells[1].time), 1000);
    EXPECT_GE(gapMs(cells[1].time, cells[2].time), 5090);
    EXPECT_LT(gapMs(cells[1].time, cells[2].time), 8000);
    EXPECT_GE(gapMs(cells[2].time, cells[3].time), 35);
    EXPECT_LT(gapMs(cells[2].time, cells[3].time), 1000);
}

// SIGTERM in the middle of the duration: the stops still reach the exchange, at once, and the
// command ends with the signal's status instead of ringing on.
TEST(EndToEnd, RingEndedBySigtermStopsTheExtensionBeforeItExits)
{
    SimulatedExchange sim;
    ASSERT_TRUE(sim.start());
    QProcess ctl;
    ctl.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ctl.start(binary(QStringLiteral("kavexctl")),
              {QStringLiteral("--port"), sim.device(), QStringLiteral("--dir"), sim.dir(), QStringLiteral("ring"),
               QStringLiteral("23"), QStringLiteral("--seconds"), QStringLiteral("20")});
    ASSERT_TRUE(ctl.waitForStarted(10000));
    ASSERT_FALSE(ctl.waitForFinished(3000)); // ringing
    QElapsedTimer ending;
    ending.start();
    ::kill(static_cast<pid_t>(ctl.processId()), SIGTERM);
    ASSERT_TRUE(ctl.waitForFinished(10000));
    EXPECT_LT(ending.elapsed(), 1500);
    EXPECT_EQ(ctl.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(ctl.exitCode(), 128 + SIGTERM);
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the simulator logs what it has read
    sim.stop();

    QList<QByteArray> blocks;
    for (const auto& cell : sim.cells())
        blocks.append(cell.bytes.toHex(' '));
    EXPECT_EQ(blocks, (QList<QByteArray>{"03 dd 03 02", "83 00 01 00", "03 dd 03 02", "83 00 00 00"}));
}

TEST(EndToEnd, RingRefusesAnExtensionOutside21To28)
{
    QTemporaryDir dir;
    for (const char* extension : {"20", "29", "x"}) {
        const CtlRun run = runKavexctl({QStringLiteral("--port"), QStringLiteral("/dev/null"), QStringLiteral("ring"),
                                        QString::fromLatin1(extension)},
                                       dir.path(), 10000);
        EXPECT_EQ(run.exitCode, 1) << extension;
        EXPECT_TRUE(run.err.startsWith("Aufruf: kavexctl ring")) << extension;
    }
}
