#include "ExchangeReply.h"
#include "FakeTransport.h"
#include "MockClock.h"
#include "charges/ChargeUpdate.h"
#include "charges/PendingCall.h"
#include "link/PbxLink.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

// Extension 23 dials "03" and the exchange connects it: the Int1 lamp goes off after the digits.
const QByteArray CallBegins = hex("03DD0502"
                                  "83000A00"
                                  "03DD0502"
                                  "83000300"
                                  "03DD0202"
                                  "83020100"
                                  "03DD0202"
                                  "83020000");
const QByteArray TrunkReleased = hex("03DD0200"
                                     "83020000");

struct Rig
{
    QTemporaryDir dir;
    MockClock clock;
    FakeTransport transport{clock};
    ConfigImage image;
    PbxLink link{transport, clock, image};
    PendingCall call{link.stateEvents(), link, clock};
    ChargeUpdate update{image, call, clock, dir.filePath(QStringLiteral("WinKavex.dat"))};

    Rig()
    {
        for (int i = 0; i < ConfigImage::Size; ++i)
            image[i] = static_cast<quint8>(i * 7 + 3);
        image[2] = 8;
        image[4] = 2;
        image[5] = 0;
        QObject::connect(&link, &PbxLink::chargesReceived, &update, &ChargeUpdate::run);
        link.openPort(QStringLiteral("/dev/null"), QStringLiteral("COM1"));
    }
    void injectAt(qint64 atMs, const QByteArray& chunk)
    {
        clock.schedule(atMs, [this, chunk] { transport.inject(chunk); });
    }
};

} // namespace

TEST(PendingCall, ATrunkReleaseReadsTheChargesTwoSecondsLaterAndTheirUpdateCompletesTheCall)
{
    Rig rig;
    QSignalSpy completed(&rig.call, &PendingCall::completed);
    QSignalSpy progress(&rig.link, &PbxLink::progressChanged);
    rig.transport.inject(CallBegins);
    ASSERT_TRUE(rig.call.isPending());
    EXPECT_EQ(rig.call.extension(), 2);
    EXPECT_EQ(rig.call.display(), QStringLiteral("03"));
    EXPECT_EQ(rig.call.start(), rig.clock.now());
    EXPECT_FALSE(rig.call.end().isValid());

    rig.clock.advance(125000);
    rig.transport.inject(TrunkReleased);
    const QDateTime end = rig.clock.now();
    EXPECT_EQ(rig.call.end(), end);
    rig.clock.advance(1990);
    EXPECT_TRUE(rig.transport.sent().isEmpty()); // nothing held up meanwhile
    rig.clock.advance(10);
    ASSERT_EQ(rig.transport.sent().size(), 1);
    EXPECT_EQ(rig.transport.sent()[0].block, hex("83060000"));

    rig.transport.inject(ExchangeReply::region(21, 224));
    rig.clock.advance(100);
    ASSERT_EQ(completed.count(), 1);
    EXPECT_EQ(completed.at(0).at(0).toInt(), 2);
    EXPECT_FALSE(rig.call.isPending());
    // The pending call kept the bar from jumping to 100.
    for (const auto& args : progress)
        EXPECT_NE(args.at(0).toInt(), 100);

    // Without a pending call a release reads nothing.
    rig.transport.inject(TrunkReleased);
    rig.clock.advance(3000);
    EXPECT_EQ(rig.transport.sent().size(), 1);
}

// A call that ends during a configuration write: no byte of the charge request comes between the
// write's cells; the request follows the write's last cell and its closing pause.
TEST(PendingCall, ACallEndDuringAWriteWaitsForTheWritesLastCell)
{
    Rig rig;
    QSignalSpy lock(&rig.link, &PbxLink::transferLockChanged);
    rig.injectAt(200, CallBegins);
    rig.injectAt(1000, TrunkReleased); // the charge read is asked for at 3000 ms
    rig.link.write(false);
    rig.clock.advance(3010);
    EXPECT_EQ(rig.link.queue().waitingCount(), 1);
    rig.clock.advance(3000);

    const auto& sent = rig.transport.sent();
    const qsizetype writeBlocks = (38 + 8 * 9 + 1) * 4;
    ASSERT_EQ(sent.size(), writeBlocks + 1);
    for (qsizetype i = 0; i < writeBlocks; ++i)
        ASSERT_EQ(sent[i].block.size(), 1) << i;
    EXPECT_EQ(sent.last().block, hex("83060000"));
    EXPECT_GE(sent.last().atMs, sent[writeBlocks - 1].atMs + 100 + 250);
    EXPECT_EQ(lock.count(), 1); // still locked: the charge read runs

    rig.transport.inject(ExchangeReply::region(21, 224));
    rig.clock.advance(100);
    EXPECT_FALSE(rig.call.isPending());
    ASSERT_EQ(lock.count(), 2);
    EXPECT_FALSE(lock.last().at(0).toBool());
}
