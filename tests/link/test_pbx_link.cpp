#include "ExchangeReply.h"
#include "FakeTransport.h"
#include "Golden.h"
#include "MockClock.h"
#include "link/Cells.h"
#include "link/PbxLink.h"
#include "shell/StatusLine.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

using ExchangeReply::region;

QByteArray baseReply(int major, int minor, int count = 8)
{
    return ExchangeReply::base(major, minor, count, '\x11');
}

struct Rig
{
    MockClock clock;
    FakeTransport transport{clock};
    ConfigImage image;
    StatusLine status;
    PbxLink link{transport, clock, image};

    Rig()
    {
        QObject::connect(&link, &PbxLink::status, &status, &StatusLine::showStatus);
        link.openPort(QStringLiteral("/dev/null"), QStringLiteral("COM2"));
    }

    // Delivers a chunk `afterMs` from now, as the receive thread would during a wait.
    void replyLater(const QByteArray& chunk, int afterMs = 200)
    {
        clock.schedule(clock.elapsedMs() + afterMs, [this, chunk] { transport.inject(chunk); });
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            clock.advance(1000);
            link.onSecond();
        }
    }
    // Runs virtual time until the job's pauses are over.
    void settle(int ms = 60000) { clock.advance(ms); }
    QByteArray lastBlock() const { return transport.sent().isEmpty() ? QByteArray() : transport.sent().last().block; }
};

QString ext(int n)
{
    return QString::number(n);
}

} // namespace

TEST(PbxLink, FullReadRunsBaseExtensionsCharges)
{
    Rig rig;
    QSignalSpy lock(&rig.link, &PbxLink::transferLockChanged);
    QSignalSpy finished(&rig.link, &PbxLink::readFinished);
    QList<QByteArray> sentAtDecode;
    auto remember = [&] { sentAtDecode.append(rig.lastBlock()); };
    QObject::connect(&rig.link, &PbxLink::baseReceived, remember);
    QObject::connect(&rig.link, &PbxLink::extensionsReceived, remember);
    QObject::connect(&rig.link, &PbxLink::chargesReceived, remember);

    rig.link.startRead();
    EXPECT_EQ(rig.lastBlock(), hex("830A0000"));
    EXPECT_EQ(rig.status.line(), QStringLiteral("1:Grundkonfiguration wird gelesen"));
    ASSERT_EQ(lock.count(), 1);
    EXPECT_TRUE(lock.at(0).at(0).toBool());
    EXPECT_EQ(rig.link.replyTimeout(), 10);

    rig.transport.inject(baseReply(2, 0));
    EXPECT_EQ(rig.link.progressValue(), 30);
    EXPECT_EQ(rig.lastBlock(), hex("83080000"));
    EXPECT_EQ(rig.status.text(), QStringLiteral("Endgerätekonfiguration wird gelesen"));
    EXPECT_EQ(rig.link.firmwareVersion(), 200);

    QByteArray extensions(375, '\x22');
    rig.transport.inject(region(22, 500, extensions));
    EXPECT_EQ(rig.link.progressValue(), 70);
    EXPECT_EQ(rig.lastBlock(), hex("83060000"));
    EXPECT_EQ(rig.status.text(), QStringLiteral("Gebühreninformationen werden gelesen"));

    QByteArray charges(168, '\0');
    charges[1] = 0x34;
    charges[2] = 0x12;
    rig.transport.inject(region(21, 224, charges));
    EXPECT_EQ(rig.link.progressValue(), 100);
    rig.clock.advance(90); // the charge decode waits 100 ms
    EXPECT_EQ(finished.count(), 0);
    EXPECT_EQ(rig.image[801], 0);
    rig.clock.advance(10);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(rig.link.progressValue(), 0);
    ASSERT_EQ(lock.count(), 2);
    EXPECT_FALSE(lock.at(1).at(0).toBool());
    EXPECT_EQ(rig.link.replyTimeout(), -1);
    EXPECT_EQ(rig.link.phase(), PbxLink::Phase::Idle);

    // Each decode ran before the next request went out.
    EXPECT_EQ(sentAtDecode, (QList<QByteArray>{hex("830A0000"), hex("83080000"), hex("83060000")}));
    EXPECT_EQ(rig.image[300], 22);
    EXPECT_EQ(rig.image[301], 0x22);
    EXPECT_EQ(rig.image[675], 0);
    EXPECT_EQ(rig.image[801], 0x34);
    EXPECT_EQ(rig.image[802], 0x12);
    EXPECT_EQ(rig.transport.sent().size(), 3);
}

TEST(PbxLink, FirmwareBelow193StopsLocked)
{
    struct Case
    {
        int major, minor;
        bool accepted;
    };
    for (const Case& c : {Case{1, 92, false}, Case{0, 0, false}, Case{1, 93, true}, Case{2, 0, true}}) {
        Rig rig;
        QSignalSpy tooOld(&rig.link, &PbxLink::firmwareTooOld);
        QSignalSpy lock(&rig.link, &PbxLink::transferLockChanged);
        rig.link.startRead();
        rig.transport.inject(baseReply(c.major, c.minor));
        SCOPED_TRACE(c.major * 100 + c.minor);
        EXPECT_EQ(tooOld.count(), c.accepted ? 0 : 1);
        EXPECT_EQ(rig.transport.sent().size(), c.accepted ? 2 : 1);
        EXPECT_EQ(lock.count(), 1); // still locked either way
        if (!c.accepted) {
            EXPECT_EQ(rig.status.line(), QStringLiteral("2:WinKavex ist nur für Firmware-Versionen ab 1.93 geeignet"));
            EXPECT_EQ(rig.link.phase(), PbxLink::Phase::FirmwareLocked);
            rig.ticks(30);
            EXPECT_EQ(rig.transport.sent().size(), 1);
        }
    }
}

TEST(PbxLink, FirstTimeOutRepeatsOnceThenReportsMessage4)
{
    Rig rig;
    rig.link.setStartWaitMs(1000);
    QSignalSpy failed(&rig.link, &PbxLink::failed);
    QSignalSpy lock(&rig.link, &PbxLink::transferLockChanged);
    rig.link.startUp();
    const auto& sent = rig.transport.sent();
    EXPECT_EQ(sent.size(), 1);
    rig.clock.advance(140);
    ASSERT_EQ(sent.size(), 3);
    EXPECT_EQ(sent[0].block, hex("03DD004E"));
    EXPECT_EQ(sent[1].block, hex("832BC719"));
    EXPECT_EQ(sent[1].atMs - sent[0].atMs, 40);
    EXPECT_EQ(sent[2].block, hex("830A0000"));
    EXPECT_EQ(sent[2].atMs - sent[1].atMs, 100);

    rig.ticks(9);
    EXPECT_EQ(sent.size(), 3);
    const qint64 expiry = rig.clock.elapsedMs() + 1000;
    rig.ticks(1);
    rig.clock.advance(990);
    EXPECT_EQ(sent.size(), 3);
    rig.clock.advance(10);
    ASSERT_EQ(sent.size(), 4); // the one automatic repeat, after the start wait time
    EXPECT_EQ(sent[3].block, hex("830A0000"));
    EXPECT_EQ(sent[3].atMs - expiry, 1000);
    EXPECT_FALSE(rig.link.firstRead());
    EXPECT_EQ(failed.count(), 0);

    rig.ticks(9);
    EXPECT_EQ(failed.count(), 0);
    rig.ticks(1);
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(0).toInt(), 4);
    EXPECT_EQ(rig.status.line(), QStringLiteral("2:Kommunikationsfehler auf Schnittstelle COM2"));
    EXPECT_FALSE(lock.last().at(0).toBool());
    rig.ticks(30);
    EXPECT_EQ(sent.size(), 4);
    EXPECT_EQ(failed.count(), 1);
}

// The repeat is consumed by the first time-out of the run, whenever it comes: a successful
// start-up read leaves it pending for a later read.
TEST(PbxLink, TheFirstTimeOutOfTheRunIsRepeatedEvenAfterASuccessfulRead)
{
    Rig rig;
    QSignalSpy failed(&rig.link, &PbxLink::failed);
    rig.link.startUp();
    rig.clock.advance(140);
    rig.transport.inject(baseReply(2, 0));
    rig.transport.inject(region(22, 500));
    rig.transport.inject(region(21, 224));
    rig.clock.advance(100);
    ASSERT_TRUE(rig.link.firstRead());
    const auto sentBefore = rig.transport.sent().size();

    rig.link.startRead();
    rig.ticks(10);
    rig.clock.advance(1000);
    EXPECT_EQ(failed.count(), 0);
    ASSERT_EQ(rig.transport.sent().size(), sentBefore + 2);
    EXPECT_EQ(rig.lastBlock(), hex("830A0000"));
    rig.ticks(10);
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(0).toInt(), 4);
}

TEST(PbxLink, OnlyTheAwaitedReplyDisarmsTheTimeOut)
{
    Rig rig;
    rig.link.setTimeoutSeconds(3); // raised to the minimum of 10
    EXPECT_EQ(rig.link.timeoutSeconds(), 10);
    QSignalSpy failed(&rig.link, &PbxLink::failed);
    rig.link.startRead();
    rig.ticks(4);
    // State events and a line-error report: neither is the base reply.
    rig.transport.inject(hex("03DD0201"
                             "83000101"));
    rig.transport.inject("Comm Event: CE_FRAME, EvtMask = 128");
    EXPECT_EQ(rig.link.replyTimeout(), 6);
    // The awaited base reply disarms; the extension request arms a fresh count.
    rig.transport.inject(baseReply(2, 0));
    EXPECT_EQ(rig.link.replyTimeout(), 10);
    rig.ticks(9);
    rig.transport.inject(hex("03DD0201"
                             "83000101"));
    EXPECT_EQ(failed.count(), 0);
    rig.ticks(1);
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(0).toInt(), 4);
}

TEST(PbxLink, StateEventsDuringAReadDoNotKeepItWaiting)
{
    Rig rig;
    QSignalSpy failed(&rig.link, &PbxLink::failed);
    rig.link.startRead();
    for (int i = 0; i < 10; ++i) {
        rig.transport.inject(hex("03DD0300"
                                 "83000100"));
        rig.ticks(1);
    }
    ASSERT_EQ(failed.count(), 1);
    EXPECT_TRUE(rig.link.stateEvents().lamp(0, 9));
}

TEST(PbxLink, ChunkDuringShutdownOnlyDisarms)
{
    Rig rig;
    QSignalSpy base(&rig.link, &PbxLink::baseReceived);
    QSignalSpy failed(&rig.link, &PbxLink::failed);
    QSignalSpy records(&rig.link, &PbxLink::stateEventRecord);
    rig.link.startRead();
    rig.link.setShutdown(true);
    rig.transport.inject(hex("03DD0201"
                             "83000101"));
    EXPECT_EQ(rig.link.replyTimeout(), -1);
    rig.transport.inject(baseReply(2, 0));
    EXPECT_EQ(base.count(), 0);
    EXPECT_EQ(records.count(), 0);
    EXPECT_EQ(rig.image[0], 0);
    rig.ticks(20);
    EXPECT_EQ(failed.count(), 0);
    EXPECT_EQ(rig.transport.sent().size(), 1);
}

TEST(PbxLink, RequestThatCannotBeSentShowsMessage36AndUnlocks)
{
    Rig rig;
    QSignalSpy failed(&rig.link, &PbxLink::failed);
    QSignalSpy lock(&rig.link, &PbxLink::transferLockChanged);
    rig.transport.failSendsAfter(1);
    rig.link.startRead();
    rig.transport.inject(baseReply(2, 0));
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(0).toInt(), 36);
    EXPECT_EQ(rig.status.line(), QStringLiteral("2:Schnittstelle COM2 kann nicht beschrieben werden"));
    EXPECT_FALSE(lock.last().at(0).toBool());
    EXPECT_EQ(rig.link.replyTimeout(), -1);
}

TEST(PbxLink, OpenFailureShowsMessage5)
{
    MockClock clock;
    FakeTransport transport(clock);
    transport.setOpenFails(true);
    ConfigImage image;
    StatusLine status;
    PbxLink link(transport, clock, image);
    QObject::connect(&link, &PbxLink::status, &status, &StatusLine::showStatus);
    QSignalSpy failed(&link, &PbxLink::failed);
    EXPECT_FALSE(link.openPort(QStringLiteral("/dev/ttyS9"), QStringLiteral("COM4")));
    EXPECT_EQ(status.line(), QStringLiteral("2:Schnittstelle COM4 kann nicht geöffnet werden"));
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(0).toInt(), 5);
}

TEST(PbxLink, HangupEndsAWaitingReadAtOnce)
{
    Rig rig;
    QSignalSpy failed(&rig.link, &PbxLink::failed);
    QSignalSpy hangup(&rig.link, &PbxLink::hangup);
    rig.link.startRead();
    rig.transport.injectHangup();
    EXPECT_EQ(hangup.count(), 1);
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(0).toInt(), 4);
    // Idle: a later hang-up reports nothing more.
    rig.transport.injectHangup();
    EXPECT_EQ(failed.count(), 1);
}

namespace {

// An image with distinct bytes everywhere, firmware and count set.
ConfigImage writeImage(int major, int minor, int count)
{
    ConfigImage image;
    for (int i = 0; i < ConfigImage::Size; ++i)
        image[i] = static_cast<quint8>(i * 7 + 3);
    image[2] = static_cast<quint8>(count);
    image[4] = static_cast<quint8>(major);
    image[5] = static_cast<quint8>(minor);
    return image;
}

QByteArray imageBytes(const ConfigImage& image, int from, int length)
{
    return image.toByteArray().mid(from, length);
}

} // namespace

TEST(PbxLink, WriteOnFirmware200SendsBaseRecordsAndEnd)
{
    Rig rig;
    rig.image = writeImage(2, 0, 8);
    const ConfigImage original = rig.image;
    QSignalSpy done(&rig.link, &PbxLink::writeFinished);
    QStringList statuses;
    QObject::connect(&rig.status, &StatusLine::changed, [&] { statuses.append(rig.status.line()); });
    int maximum = 0, peak = 0;
    QObject::connect(&rig.link, &PbxLink::progressChanged, [&](int value, int max) {
        maximum = std::max(maximum, max);
        peak = std::max(peak, value);
        EXPECT_LE(value, max);
    });

    qint64 finishedAt = -1;
    QObject::connect(&rig.link, &PbxLink::writeFinished, [&] { finishedAt = rig.clock.elapsedMs(); });
    rig.link.write(false);
    rig.settle();

    QByteArray expected =
        Cells::encodeCells(QByteArray(1, 9) + imageBytes(original, 1, 111), imageBytes(original, 112, 2));
    for (int i = 0; i < 8; ++i) {
        const int at = 301 + 27 * i;
        expected += Cells::encodeCells(QByteArray(1, 7) + imageBytes(original, at, 26));
    }
    expected += hex("810C0000");
    EXPECT_EQ(rig.transport.sentBytes(), expected);
    // Every block is a single byte; the base payload starts 03 09 and ends in a cell 0x81.
    const auto& sent = rig.transport.sent();
    ASSERT_EQ(sent.size(), (38 + 8 * 9 + 1) * 4);
    for (const auto& s : sent)
        ASSERT_EQ(s.block.size(), 1);
    EXPECT_EQ(rig.transport.sentBytes().left(2), hex("0309"));
    EXPECT_EQ(static_cast<quint8>(sent[37 * 4].block[0]), 0x81);

    // Pacing: 40 ms before each header, bytes at once, 100 ms after each payload, 250 ms at the end.
    EXPECT_EQ(sent[0].atMs, 40);
    EXPECT_EQ(sent[3].atMs, 40);
    EXPECT_EQ(sent[4].atMs, 80);
    const int baseEnd = 38 * 40;
    EXPECT_EQ(sent[38 * 4].atMs, baseEnd + 100 + 40);
    EXPECT_EQ(sent.last().atMs, (38 + 72 + 1) * 40 + 9 * 100);
    EXPECT_EQ(finishedAt, sent.last().atMs + 100 + 250);

    EXPECT_EQ(maximum, 25 * 8 + 107);
    EXPECT_EQ(peak, maximum);
    EXPECT_EQ(rig.link.progressValue(), 0);
    EXPECT_EQ(rig.link.progressMaximum(), 100);
    EXPECT_EQ(rig.image[0], 9);
    ASSERT_EQ(done.count(), 1);
    EXPECT_TRUE(done.at(0).at(0).toBool());
    ASSERT_GE(statuses.size(), 10);
    EXPECT_EQ(statuses[0], QStringLiteral("1:Grundkonfiguration wird übertragen"));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(statuses[1 + i], QStringLiteral("1:Anschluß %1 wird konfiguriert").arg(ext(21 + i)));
    EXPECT_TRUE(rig.status.text().isEmpty());
}

TEST(PbxLink, WriteOnFirmware198IsSlowWithShortRecordsAndUnits)
{
    Rig rig;
    rig.image = writeImage(1, 98, 3);
    const ConfigImage original = rig.image;
    int maximum = 0;
    QObject::connect(&rig.link, &PbxLink::progressChanged, [&](int, int max) { maximum = std::max(maximum, max); });

    rig.link.write(true);
    rig.settle();

    QByteArray expected =
        Cells::encodeCells(QByteArray(1, 9) + imageBytes(original, 1, 111), imageBytes(original, 112, 2));
    for (int i = 0; i < 3; ++i) {
        const int at = 301 + 24 * i; // 24-byte stride, 22-byte payloads
        const QByteArray payload = QByteArray(1, 7) + imageBytes(original, at, 21);
        ASSERT_EQ(payload.size(), 22);
        expected += Cells::encodeCells(payload, imageBytes(original, at + 21, 2));
    }
    expected += hex("810C0000");
    expected += Cells::encodeCells(QByteArray(1, 5) + imageBytes(original, 801, 128));
    EXPECT_EQ(rig.transport.sentBytes(), expected);
    EXPECT_EQ(rig.image[800], 5);

    // 50 ms before each header and before each byte; 1000 ms pauses.
    const auto& sent = rig.transport.sent();
    EXPECT_EQ(sent[0].atMs, 50);
    EXPECT_EQ(sent[1].atMs, 100);
    EXPECT_EQ(sent[3].atMs, 200);
    EXPECT_EQ(sent[4].atMs, 250);
    EXPECT_EQ(sent[38 * 4].atMs, 38 * 200 + 1000 + 50);
    const int cells = 38 + 3 * 8 + 1 + 43;
    EXPECT_EQ(sent.last().atMs, cells * 200 + 5 * 1000);
    EXPECT_EQ(maximum, 22 * 3 + 107 + 129);
}

TEST(PbxLink, WriteWithoutUnitsStopsAfterTheEndPayloadAndFailedSendReports)
{
    Rig rig;
    rig.image = writeImage(2, 0, 3);
    rig.link.write(false);
    rig.settle();
    EXPECT_EQ(rig.transport.sentBytes().right(4), hex("810C0000"));
    EXPECT_EQ(rig.transport.sent().size(), (38 + 3 * 9 + 1) * 4);

    Rig broken;
    broken.image = writeImage(2, 0, 3);
    broken.transport.failSendsAfter(10);
    QSignalSpy done(&broken.link, &PbxLink::writeFinished);
    QSignalSpy lock(&broken.link, &PbxLink::transferLockChanged);
    broken.link.write(false);
    broken.settle();
    EXPECT_EQ(broken.transport.sent().size(), 10);
    EXPECT_EQ(broken.status.line(), QStringLiteral("2:Schnittstelle COM2 kann nicht beschrieben werden"));
    ASSERT_EQ(done.count(), 1);
    EXPECT_FALSE(done.at(0).at(0).toBool());
    EXPECT_FALSE(lock.last().at(0).toBool());
}

TEST(PbxLink, CorruptExtensionCountStaysInsideTheImage)
{
    Rig rig;
    rig.image = writeImage(2, 0, 200);
    EXPECT_EQ(rig.link.extensionCount(), 8);
    QSignalSpy done(&rig.link, &PbxLink::writeFinished);
    rig.link.write(true);
    rig.settle();
    ASSERT_EQ(done.count(), 1);
    EXPECT_TRUE(done.at(0).at(0).toBool());
}

TEST(PbxLink, StateEventChunksAreDecodedRecordByRecord)
{
    Rig rig;
    QSignalSpy chunks(&rig.link, &PbxLink::stateEventChunk);
    QSignalSpy records(&rig.link, &PbxLink::stateEventRecord);
    rig.transport.inject(hex("03DD0200"
                             "83010100"
                             "03DD0501"
                             "83000A00"
                             "03DD"));
    EXPECT_EQ(chunks.count(), 1);
    ASSERT_EQ(records.count(), 2);
    EXPECT_TRUE(rig.link.stateEvents().lamp(1, 1));
    // Extension region still zero: no spontaneous trunk access, so "0" shows as "0-".
    EXPECT_EQ(rig.link.stateEvents().display(1), QStringLiteral("0-"));
    rig.image[301 + 27 + 17] = 1;
    rig.image[4] = 2;
    rig.transport.inject(hex("03DD0401"
                             "83000000"
                             "03DD0501"
                             "83000A00"));
    EXPECT_EQ(rig.link.stateEvents().display(1), QStringLiteral("0"));
}

namespace {

// Answers the three read requests of a full read like the exchange, 200 ms after each.
void answerReads(Rig& rig, QByteArray base = baseReply(2, 0))
{
    rig.transport.setOnSend([&rig, base](const QByteArray& block) {
        if (block == hex("830A0000"))
            rig.replyLater(base);
        else if (block == hex("83080000"))
            rig.replyLater(region(22, 500));
        else if (block == hex("83060000"))
            rig.replyLater(region(21, 224));
    });
}

qsizetype indexOfBlock(const FakeTransport& transport, const QByteArray& block, qsizetype from = 0)
{
    const auto& sent = transport.sent();
    for (qsizetype i = from; i < sent.size(); ++i) {
        if (sent[i].block == block)
            return i;
    }
    return -1;
}

} // namespace

// A write asked for while a read runs (time control at its minute) starts after the read's charge
// reply, keeps the lock on in between, and writes what it was asked to write, not the read's reply.
TEST(PbxLink, AWriteAskedForDuringAReadStartsAfterTheChargeReplyWithItsOwnImage)
{
    Rig rig;
    rig.image = writeImage(2, 0, 8);
    const ConfigImage asked = rig.image;
    QSignalSpy lock(&rig.link, &PbxLink::transferLockChanged);
    QSignalSpy restored(&rig.link, &PbxLink::imageRestored);
    QSignalSpy written(&rig.link, &PbxLink::writeFinished);
    answerReads(rig, ExchangeReply::base(2, 0, 8, '\x44'));
    rig.link.startRead();
    rig.link.write(false); // waits its turn
    EXPECT_EQ(rig.transport.sent().size(), 1);

    rig.clock.advance(10000);
    ASSERT_EQ(written.count(), 1);
    const auto& sent = rig.transport.sent();
    ASSERT_GT(sent.size(), 3);
    EXPECT_EQ(sent[0].block, hex("830A0000"));
    EXPECT_EQ(sent[1].block, hex("83080000"));
    EXPECT_EQ(sent[2].block, hex("83060000"));
    // The charge reply came 200 ms after its request and was decoded 100 ms later.
    EXPECT_GE(sent[3].atMs, sent[2].atMs + 300);
    QByteArray writeBytes;
    for (qsizetype i = 3; i < sent.size(); ++i)
        writeBytes += sent[i].block;
    EXPECT_EQ(writeBytes.mid(2, 1), imageBytes(asked, 1, 1));
    EXPECT_EQ(restored.count(), 1);
    EXPECT_EQ(imageBytes(rig.image, 1, 799), imageBytes(asked, 1, 799));
    ASSERT_EQ(lock.count(), 2); // locked through both jobs
    EXPECT_FALSE(lock.at(1).at(0).toBool());
}

TEST(PbxLink, ASpeedDialReadAskedForDuringAReadStartsAfterIt)
{
    Rig rig;
    answerReads(rig);
    rig.link.startRead();
    rig.link.readSpeedDials();
    EXPECT_EQ(indexOfBlock(rig.transport, hex("83020200")), -1);
    rig.clock.advance(2000);
    const qsizetype begin = indexOfBlock(rig.transport, hex("83020200"));
    ASSERT_EQ(begin, 3);
    EXPECT_EQ(rig.link.phase(), PbxLink::Phase::SpeedDials);
    EXPECT_EQ(rig.link.progressMaximum(), 60);
}

// Whatever ends a job, message 4 or 36, the next one runs.
TEST(PbxLink, AFailedJobLetsTheNextOneRun)
{
    struct Case
    {
        const char* name;
        int message;
    };
    for (const Case& c : {Case{"time-out", 4}, Case{"refused send", 36}}) {
        SCOPED_TRACE(c.name);
        Rig rig;
        QSignalSpy failed(&rig.link, &PbxLink::failed);
        if (c.message == 36)
            rig.transport.failSendsAfter(1);
        rig.link.startRead();
        rig.link.requestCharges();
        if (c.message == 36)
            rig.transport.inject(baseReply(2, 0)); // the extension request cannot be sent
        else
            rig.ticks(10);
        ASSERT_EQ(failed.count(), 1);
        EXPECT_EQ(failed.at(0).at(0).toInt(), c.message);
        rig.transport.failSendsAfter(-1);
        rig.clock.advance(10);
        EXPECT_EQ(rig.lastBlock(), hex("83060000"));
        EXPECT_EQ(rig.link.phase(), PbxLink::Phase::ReadingCharges);
        EXPECT_EQ(rig.link.replyTimeout(), 10);
    }
}

// The ring job: select and start per extension, the duration, select and stop; every command is
// tried even when one cannot be written, each refusal reported with message 36.
TEST(PbxLink, RingStartsAllThenStopsAllAndKeepsGoingPastARefusedCommand)
{
    Rig rig;
    QStringList errors;
    QObject::connect(&rig.status, &StatusLine::changed, [&] {
        if (rig.status.colourLevel() == 2)
            errors.append(rig.status.text());
    });
    rig.transport.failSendsAfter(1);
    QSignalSpy done(&rig.link, &PbxLink::ringFinished);
    rig.link.ring({2, 5}, 10);
    rig.settle(11000);
    ASSERT_EQ(done.count(), 1);
    EXPECT_EQ(rig.transport.sent().size(), 1);
    EXPECT_EQ(rig.transport.sent()[0].block, hex("03DD0302"));
    EXPECT_EQ(errors.size(), 7);
    EXPECT_FALSE(rig.link.isLocked());

    Rig ok;
    ok.link.ring({2, 5}, 10);
    ok.settle(11000);
    QStringList blocks;
    for (const auto& s : ok.transport.sent())
        blocks.append(QString::fromLatin1(s.block.toHex()));
    EXPECT_EQ(blocks, (QStringList{"03dd0302", "83000100", "03dd0305", "83000100", "03dd0302", "83000000", "03dd0305",
                                   "83000000"}));
    const auto& sent = ok.transport.sent();
    EXPECT_EQ(sent[1].atMs - sent[0].atMs, 40);
    EXPECT_EQ(sent[2].atMs - sent[1].atMs, 100);
    EXPECT_EQ(sent[4].atMs - sent[3].atMs, 100 + 10000);
}

// Every byte a write with charge units puts on the line, for both record layouts.
TEST(PbxLink, WriteWithUnitsPutsTheBytesOfItsFileOnTheLine)
{
    struct Case
    {
        int major, minor, count;
        const char* file;
    };
    for (const Case& c : {Case{2, 0, 8, "write-200-8-units.cells"}, Case{1, 98, 3, "write-198-3-units.cells"}}) {
        Rig rig;
        rig.image = writeImage(c.major, c.minor, c.count);
        rig.link.write(true);
        rig.settle();
        EXPECT_TRUE(Golden::matches(QString::fromLatin1(c.file), rig.transport.sentBytes()));
    }
}

// What a broken exchange may send instead of the base reply. Nothing but the reply waited for
// moves the read on; whatever came, the link unlocks and the next read works.
TEST(PbxLink, ABadReplyEndsTheReadAndTheNextOneWorks)
{
    struct Case
    {
        const char* name;
        QByteArray chunk;
        bool movesOn; // the read goes on to the extensions step
    } cases[] = {
        {"garbage", QByteArray(300, '\x55'), false},
        {"line noise that looks like a cell", hex("03") + QByteArray(2047, '\xFF'), false},
        {"extensions instead of base", region(22, 500), false},
        {"charges instead of base", region(21, 224), false},
        {"speed-dial entry nobody asked for", ExchangeReply::speedDialEntry(7), false},
        {"base reply cut after ten cells", baseReply(2, 0).left(40), true},
    };
    for (const Case& c : cases) {
        Rig rig;
        QSignalSpy failed(&rig.link, &PbxLink::failed);
        QSignalSpy finished(&rig.link, &PbxLink::readFinished);
        rig.link.startRead();
        rig.transport.inject(c.chunk);
        EXPECT_EQ(rig.link.phase() == PbxLink::Phase::ReadingExtensions, c.movesOn) << c.name;
        rig.ticks(10);
        ASSERT_EQ(failed.count(), 1) << c.name;
        EXPECT_EQ(failed.at(0).at(0).toInt(), 4) << c.name;
        EXPECT_EQ(rig.status.line(), QStringLiteral("2:Kommunikationsfehler auf Schnittstelle COM2")) << c.name;
        EXPECT_FALSE(rig.link.isLocked()) << c.name;

        rig.link.startRead();
        rig.transport.inject(baseReply(2, 0));
        rig.transport.inject(region(22, 500));
        rig.transport.inject(region(21, 224));
        rig.clock.advance(100);
        EXPECT_EQ(finished.count(), 1) << c.name;
        EXPECT_EQ(rig.link.firmwareVersion(), 200) << c.name;
    }
}

// A USB adapter pulled in the middle of a read and plugged in again: the read ends at once, and
// the next one opens the device anew instead of writing into the dead descriptor.
TEST(PbxLink, AfterTheDeviceVanishedTheNextReadOpensItAgain)
{
    Rig rig;
    QSignalSpy failed(&rig.link, &PbxLink::failed);
    QSignalSpy finished(&rig.link, &PbxLink::readFinished);
    rig.link.startRead();
    rig.transport.injectHangup();
    ASSERT_EQ(failed.count(), 1);
    rig.transport.close(); // what the dead descriptor amounts to

    rig.link.startRead();
    EXPECT_TRUE(rig.transport.isOpen());
    EXPECT_EQ(rig.transport.openedPath(), QStringLiteral("/dev/null"));
    EXPECT_EQ(rig.lastBlock(), hex("830A0000"));
    rig.transport.inject(baseReply(2, 0));
    rig.transport.inject(region(22, 500));
    rig.transport.inject(region(21, 224));
    rig.clock.advance(100);
    EXPECT_EQ(finished.count(), 1);

    // Still gone at the next read: the read fails as any unwritable port does, and the one after
    // that tries again.
    rig.transport.injectHangup();
    rig.transport.setOpenFails(true);
    rig.link.startRead();
    ASSERT_EQ(failed.count(), 2);
    EXPECT_EQ(failed.at(1).at(0).toInt(), 36);
    rig.transport.setOpenFails(false);
    rig.link.startRead();
    EXPECT_TRUE(rig.transport.isOpen());
    EXPECT_EQ(rig.link.phase(), PbxLink::Phase::ReadingBase);
}

// The end of the program: a running ring sends its stops at once and then the port closes; a
// waiting job is dropped; any other running job stops where it is.
TEST(PbxLink, ShutDownLetsARingStopItsExtensionsBeforeThePortCloses)
{
    Rig rig;
    QSignalSpy written(&rig.link, &PbxLink::writeFinished);
    rig.link.ring({2, 5}, 20);
    rig.link.write(false);
    rig.settle(3000);
    ASSERT_EQ(rig.transport.sent().size(), 4);
    const qint64 askedAt = rig.clock.elapsedMs();
    bool done = false;
    rig.link.shutDown([&] { done = true; });
    EXPECT_FALSE(done);
    rig.settle(1000);
    EXPECT_TRUE(done);
    EXPECT_FALSE(rig.transport.isOpen());
    const auto& sent = rig.transport.sent();
    ASSERT_EQ(sent.size(), 8);
    EXPECT_EQ(sent[4].block, hex("03DD0302"));
    EXPECT_EQ(sent[4].atMs, askedAt);
    EXPECT_EQ(sent[7].block, hex("83000000"));
    EXPECT_EQ(sent[7].atMs, askedAt + 180);
    EXPECT_EQ(written.count(), 0);

    Rig reading;
    reading.link.startRead();
    bool readDone = false;
    reading.link.shutDown([&] { readDone = true; });
    EXPECT_TRUE(readDone);
    EXPECT_FALSE(reading.transport.isOpen());
    EXPECT_EQ(reading.link.replyTimeout(), -1);
}
