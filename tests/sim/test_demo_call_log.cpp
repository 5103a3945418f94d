#include "DemoCalls.h"
#include "FakeTransport.h"
#include "MockClock.h"
#include "SimHarness.h"
#include "charges/ChargeUpdate.h"
#include "charges/OutgoingCallLog.h"
#include "charges/PendingCall.h"
#include "config/SpeedDialStore.h"
#include "image/ImageLayout.h"
#include "link/EventRecord.h"
#include "link/PbxLink.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class NoSpeedDials : public SpeedDialStore
{
public:
    QString name(int) const override { return {}; }
    QString storedNumber(int) const override { return {}; }
    QString sound(int) const override { return {}; }
    bool save(int, const QString&, const QString&, const QString&) override { return false; }
};

// What the exchange's events say about one outgoing call.
struct Call
{
    int extension = -1;
    QString digits;
    qint64 connectedMs = -1;
    qint64 releasedMs = -1;
};

} // namespace

// The simulated exchange's demo calls, line bytes and all, through the link into the outgoing log,
// in virtual time: one completed record per outgoing call with its extension, digits, units and length.
TEST(DemoCallLog, EveryOutgoingDemoCallIsLoggedAndCompletedWithItsUnits)
{
    QTemporaryDir dir;
    MockClock clock;
    FakeTransport transport{clock};
    ConfigImage image;
    image[2] = 8;
    image[4] = 2;
    PbxLink link{transport, clock, image};
    PendingCall call{link.stateEvents(), link, clock};
    ChargeUpdate update{image, call, clock, dir.filePath(QStringLiteral("WinKavex.dat"))};
    NoSpeedDials speedDials;
    OutgoingCallLog log{call, update, clock, speedDials, dir.filePath(QStringLiteral("WinKavex.out"))};
    ChargePrices prices;
    prices.pricePerUnit = 0.12;
    update.setPrices(prices);
    QObject::connect(&link, &PbxLink::chargesReceived, &update, &ChargeUpdate::run);

    SimHarness sim;
    sim.switchEventsOn();
    transport.setOnSend([&](const QByteArray& block) { sim.exchange.receive(block, sim.nowUs); });
    link.openPort(QStringLiteral("/dev/null"), QStringLiteral("COM1"));
    link.stateEvents().setOutgoingMonitoring(true); // "Abgehende Rufe"
    link.requestCharges();                          // the reading at start

    DemoCalls demo(7);
    demo.start(sim.nowUs);
    std::vector<Call> calls;
    Call current;
    int unitsBefore = 0;
    QByteArray line;
    int silentMs = 0;
    const auto stepMs = [&](qint64 ms) {
        for (qint64 i = 0; i < ms; i += 10) {
            sim.nowUs += 10'000;
            demo.tick(sim.nowUs, sim.exchange);
            sim.exchange.expire(sim.nowUs);
            // The line's bytes arrive paced; like the serial driver, a chunk ends at 100 ms of silence.
            const QByteArray out = sim.exchange.takeOutput(sim.nowUs);
            line += out;
            silentMs = out.isEmpty() ? silentMs + 10 : 0;
            if (line.isEmpty() || silentMs < 100) {
                clock.advance(10);
                continue;
            }
            const QByteArray chunk = std::exchange(line, {});
            for (const EventRecord& e : EventRecord::fromChunk(chunk)) {
                if (e.sub == 5)
                    current.digits += QString::number(e.p3 % 10);
                if (e.sub == 2 && (e.p1 == 2 || e.p1 == 3) && e.p3 == 0) {
                    current.extension = e.p2;
                    current.connectedMs = clock.elapsedMs();
                }
                if (e.sub == 2 && e.p1 < 2 && e.p3 == 0 && current.connectedMs >= 0)
                    current.releasedMs = clock.elapsedMs();
                if (e.sub == 4 && e.p3 == 0) {
                    if (current.connectedMs >= 0)
                        calls.push_back(current);
                    current = {};
                }
            }
            transport.inject(chunk);
            clock.advance(10);
        }
    };
    stepMs(2000);
    for (int k = 0; k < 8; ++k)
        unitsBefore += ImageLayout::units(sim.exchange.image(), k);
    stepMs(900'000);
    while (call.isPending() || current.extension >= 0) // let the last call end and be read
        stepMs(1000);
    stepMs(5000);

    QFile file(log.path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList records = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n")).mid(4);
    ASSERT_GE(calls.size(), 3u);
    ASSERT_EQ(records.size(), static_cast<qsizetype>(calls.size()));
    int unitsLogged = 0;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const QString& record = records[static_cast<qsizetype>(i)];
        SCOPED_TRACE(record.toStdString());
        ASSERT_EQ(record.size(), 109);
        EXPECT_EQ(record.mid(27, 2), QString::number(21 + calls[i].extension));
        // The line-access digit is set off by "-"; a speed-dial code the program knows no number
        // for stays as dialled.
        EXPECT_EQ(record.mid(36, 22).trimmed().remove(QLatin1Char('-')).toStdString(), calls[i].digits.toStdString());
        const int units = record.mid(85, 6).trimmed().toInt();
        EXPECT_GE(units, 1);
        unitsLogged += units;
        const QStringList duration = record.mid(101, 8).trimmed().split(QLatin1Char(':'));
        ASSERT_EQ(duration.size(), 2);
        const qint64 seconds = duration[0].toInt() * 60 + duration[1].toInt();
        EXPECT_NEAR(seconds, (calls[i].releasedMs - calls[i].connectedMs) / 1000.0, 1.0);
    }
    int unitsAfter = 0;
    for (int k = 0; k < 8; ++k)
        unitsAfter += ImageLayout::units(sim.exchange.image(), k);
    EXPECT_EQ(unitsLogged, unitsAfter - unitsBefore);
    EXPECT_EQ(log.list().rowCount(), static_cast<int>(calls.size()));
}
