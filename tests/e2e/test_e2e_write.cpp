#include "E2eHarness.h"
#include "RunEvents.h"
#include "common/Clock.h"
#include "link/Cells.h"
#include "link/PbxLink.h"
#include "link/TComm32.h"
#include "shell/StatusLine.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>

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
    std::optional<bool> written;
    QEventLoop loop;
    QObject::connect(&link, &PbxLink::writeFinished, [&](bool ok) {
        written = ok;
        loop.quit();
    });
    link.write(units);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_TRUE(written.value_or(false));
    runEventsFor(800);
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

    // Pacing, in the simulator's time stamps: each cell comes no sooner than the waits before it
    // allow, a header wait per cell (40 ms on fast firmware; on older firmware a header wait and
    // three byte waits, 200 ms) and the pause between payloads (100 ms or 1000 ms) on top. Sleeps
    // only ever run long, but the simulator may stamp a cell late when it was slow to read it, so
    // the bound is cumulative: from the schedule's start, taken as the earliest of the first few
    // cells' stamps less the waits before them. A late stamp therefore never counts as a short gap,
    // while missing waits add up and show. The first cell is left out: the simulator may notice
    // the newly opened device only a moment after its first byte has arrived. The median shows the
    // fast pacing is not the slow one.
    const int cellMs = fast ? 40 : 200, pauseMs = fast ? 100 : 1000, slackMs = fast ? 30 : 100;
    QList<int> due(cells.size(), 0);
    for (qsizetype i = 2; i < cells.size(); ++i)
        due[i] = due[i - 1] + cellMs + (firstCells.contains(static_cast<int>(i)) ? pauseMs : 0);
    int start = 0;
    for (qsizetype i = 1; i < std::min<qsizetype>(6, cells.size()); ++i)
        start = std::min(start, gapMs(cells[1].time, cells[i].time) - due[i]);
    QList<int> inPayload;
    for (qsizetype i = 2; i < cells.size(); ++i) {
        EXPECT_GE(gapMs(cells[1].time, cells[i].time) - start, due[i] - slackMs) << "cell " << i;
        if (!firstCells.contains(static_cast<int>(i)))
            inPayload.append(gapMs(cells[i - 1].time, cells[i].time));
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
