#include "E2eHarness.h"
#include "common/Clock.h"
#include "link/Cells.h"
#include "link/PbxLink.h"
#include "link/TComm32.h"
#include "shell/StatusLine.h"

#include <algorithm>
#include <gtest/gtest.h>

// The configuration write through the real serial driver into kavex-sim, checked against the
// simulator's cell log byte for byte, with the pacing visible in its time stamps.
namespace {

QByteArray bytesOf(const ConfigImage& image, int from, int length)
{
    return image.toByteArray().mid(from, length);
}

struct Payload
{
    QByteArray cells;
};

// The cells the write must produce, payload by payload.
QList<Payload> expectedPayloads(const ConfigImage& image, int count, bool fast, bool units)
{
    QList<Payload> payloads;
    payloads.append({Cells::encodeCells(QByteArray(1, 9) + bytesOf(image, 1, 111), bytesOf(image, 112, 2))});
    const int stride = fast ? 27 : 24, sent = fast ? 26 : 21;
    for (int i = 0; i < count; ++i) {
        const int at = 301 + stride * i;
        payloads.append(
            {Cells::encodeCells(QByteArray(1, 7) + bytesOf(image, at, sent), bytesOf(image, at + sent, 2))});
    }
    payloads.append({QByteArray::fromHex("810C0000")});
    if (units) {
        const int length = fast ? 17 : 129;
        payloads.append(
            {Cells::encodeCells(QByteArray(1, 5) + bytesOf(image, 801, length - 1), bytesOf(image, 800 + length, 2))});
    }
    return payloads;
}

int gapMs(const QTime& from, const QTime& to)
{
    const int ms = from.msecsTo(to);
    return ms < 0 ? ms + 86400000 : ms;
}

void writeAndCheck(int major, int minor, int count, bool units)
{
    const bool fast = major * 100 + minor >= 200;
    SimulatedExchange sim;
    ASSERT_TRUE(
        sim.start({QStringLiteral("--firmware"), QStringLiteral("%1.%2").arg(major).arg(minor, 2, 10, QLatin1Char('0')),
                   QStringLiteral("--extensions"), QString::number(count)}));
    ConfigImage image = sampleImage(major, minor, count);
    const ConfigImage original = image;
    TComm32 port;
    StatusLine status;
    PbxLink link(port, SystemClock::instance(), image);
    QObject::connect(&link, &PbxLink::status, &status, &StatusLine::showStatus);
    ASSERT_TRUE(link.openPort(sim.device(), sim.device()));
    ASSERT_TRUE(link.write(units));
    SystemClock::instance().waitPumping(800);
    link.closePort();
    sim.stop();

    const QList<Payload> payloads = expectedPayloads(original, count, fast, units);
    QList<QByteArray> expected;
    QList<int> firstCells;
    for (const Payload& p : payloads) {
        firstCells.append(static_cast<int>(expected.size()));
        for (int at = 0; at < p.cells.size(); at += 4)
            expected.append(p.cells.mid(at, 4));
    }
    const auto cells = sim.cells();
    QList<QByteArray> received;
    for (const auto& cell : cells)
        received.append(cell.bytes);
    ASSERT_EQ(received, expected);

    // Pacing: the gap between the first bytes of two cells of one payload is one header wait
    // (40 ms) on fast firmware, a header wait and three byte waits (200 ms) on older firmware;
    // between payloads the pause (100 ms or 1000 ms) comes on top. Sleeps only ever run long,
    // so lower bounds are exact; the median shows the fast pacing is not the slow one.
    // The first cell is left out: the simulator may notice the newly opened device only a
    // moment after its first byte has arrived, which stamps that cell late.
    QList<int> inPayload;
    for (qsizetype i = 2; i < cells.size(); ++i) {
        const int gap = gapMs(cells[i - 1].time, cells[i].time);
        if (firstCells.contains(static_cast<int>(i))) {
            EXPECT_GE(gap, fast ? 130 : 1100) << "before payload cell " << i;
        } else {
            EXPECT_GE(gap, fast ? 30 : 180) << "cell " << i;
            inPayload.append(gap);
        }
    }
    std::sort(inPayload.begin(), inPayload.end());
    const int median = inPayload[inPayload.size() / 2];
    if (fast)
        EXPECT_LT(median, 120);
    else
        EXPECT_GE(median, 190);
}

} // namespace

TEST(EndToEndWrite, Firmware200WithUnits)
{
    writeAndCheck(2, 0, 8, true);
}

TEST(EndToEndWrite, Firmware198ShortRecordsSlowPacing)
{
    writeAndCheck(1, 98, 3, false);
}
