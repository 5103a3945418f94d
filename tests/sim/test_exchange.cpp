#include "SimHarness.h"
#include "image/Firmware.h"
#include "image/ImageLayout.h"

#include <QList>
#include <gtest/gtest.h>

namespace {

using Region = ConfigImage::Region;

struct RegionCase
{
    const char* request;
    Region region;
    int lineLength;
    quint8 kind;
};

const RegionCase RegionCases[] = {
    {"830A0000", Region::Base, 300, 23},
    {"83080000", Region::Extensions, 500, 22},
    {"83060000", Region::Charges, 224, 21},
};

// Every cell but the last has header 3; the last is 0x80 + n.
void expectCellHeaders(const QByteArray& line, int lastCount)
{
    ASSERT_EQ(line.size() % 4, 0);
    for (int c = 0; c + 4 < line.size(); c += 4)
        ASSERT_EQ(quint8(line[c]), 3) << "cell at " << c;
    EXPECT_EQ(quint8(line[line.size() - 4]), 0x80 + lastCount);
}

ConfigImage compactedReplies(SimHarness& sim)
{
    ConfigImage image;
    for (const RegionCase& c : RegionCases) {
        image.copyIntoRegion(c.region, sim.sendHex(c.request));
        Cells::compactRegion(image, c.region);
    }
    return image;
}

} // namespace

TEST(Exchange, RepliesHaveTheRegionLineSizesAndCompactToTheImage)
{
    for (int firmware : {200, 198}) {
        SimHarness sim(firmware);
        for (const RegionCase& c : RegionCases) {
            SCOPED_TRACE(c.request);
            const QByteArray reply = sim.sendHex(c.request);
            ASSERT_EQ(reply.size(), c.lineLength);
            expectCellHeaders(reply, 3);
            EXPECT_EQ(Cells::classify(reply), c.region == Region::Base         ? Cells::ChunkClass::Base
                                              : c.region == Region::Extensions ? Cells::ChunkClass::Extensions
                                                                               : Cells::ChunkClass::Charges);
            QByteArray want = sim.exchange.image().region(c.region);
            want[0] = char(c.kind);
            const QByteArray got = Cells::compacted(reply, c.lineLength);
            const int payload = c.lineLength / 4 * 3;
            EXPECT_EQ(got.left(payload), want.left(payload));
            EXPECT_EQ(got.mid(payload), QByteArray(c.lineLength - payload, '\0'));
        }
    }
}

TEST(Exchange, ReassemblesRequestsSplitAnyway)
{
    SimHarness sim;
    QByteArray reply;
    for (char b : QByteArray::fromHex("830A0000")) {
        sim.exchange.receive(QByteArray(1, b), sim.nowUs);
        reply += sim.run(30);
    }
    reply += sim.run(1000);
    EXPECT_EQ(reply.size(), 300);

    // Garbage that is no cell header loses nothing but itself.
    EXPECT_TRUE(sim.sendHex("00112233").isEmpty());
    EXPECT_EQ(sim.sendHex("83060000").size(), 224);

    // A torn cell is given up after half a second of silence, and alignment starts again.
    EXPECT_TRUE(sim.sendHex("8308", 600).isEmpty());
    EXPECT_EQ(sim.sendHex("83080000").size(), 500);

    // A payload abandoned in the middle does not swallow the next request.
    EXPECT_TRUE(sim.sendHex("03090102", 1500).isEmpty());
    EXPECT_EQ(sim.sendHex("830A0000").size(), 300);
}

TEST(Exchange, UnknownOrMalformedRequestsGetNoAnswer)
{
    SimHarness sim;
    for (const char* hex : {"830A0100", "83070000", "82CC0600", "03CC0603823DFF00", "03CC06038200FF00"}) {
        SCOPED_TRACE(hex);
        EXPECT_TRUE(sim.sendHex(hex).isEmpty());
    }
}

TEST(Exchange, MuteExchangeAnswersNothingButStillTakesWrites)
{
    SimHarness sim;
    sim.exchange.setMute(true);
    EXPECT_TRUE(sim.sendHex("830A0000").isEmpty());
    sim.switchEventsOn();
    EXPECT_TRUE(sim.sendHex("03DD030083000100").isEmpty());
    EXPECT_TRUE(sim.exchange.isRinging(0));
}

namespace {

// Sends the configuration as the program's write does: kind 9 with base bytes 0..111, one kind 7 per
// extension with the record's sent bytes, the end payload 12.
void writeConfiguration(SimHarness& sim, const ConfigImage& image, bool withEnd = true)
{
    const int firmware = Firmware::version(image);
    QByteArray base = image.toByteArray().left(112);
    base[0] = 9;
    sim.sendPayload(base, 100);
    for (int g = 0; g < ImageLayout::extensionCount(image); ++g) {
        const QByteArray record =
            image.toByteArray().mid(ImageLayout::recordOffset(g, firmware), ImageLayout::sentRecordBytes(firmware));
        sim.sendPayload(QByteArray(1, 7) + record, 100);
    }
    if (withEnd)
        sim.sendPayload(QByteArray(1, 12), 100);
}

ConfigImage edited(const ConfigImage& original)
{
    ConfigImage image = original;
    const int firmware = Firmware::version(image);
    image[7] = 0x21; // MSN 1 "12345"
    image[8] = 0x43;
    image[9] = 0xF5;
    image[57] = 0;
    image[94] = 3;
    image[111] = 0x5A; // last byte that is sent
    for (int g = 0; g < ImageLayout::extensionCount(image); ++g) {
        const int r = ImageLayout::recordOffset(g, firmware);
        image[r + 1] = static_cast<std::uint8_t>(g % 5);
        image[r + 5] = static_cast<std::uint8_t>(0x10 + g);
        image[r + ImageLayout::sentRecordBytes(firmware) - 1] = static_cast<std::uint8_t>(0xA0 + g);
    }
    return image;
}

} // namespace

TEST(Exchange, WriteThenReadGivesBackWhatWasWritten)
{
    for (int firmware : {200, 198}) {
        for (int extensions : {8, 3}) {
            SCOPED_TRACE(firmware * 10 + extensions);
            SimHarness sim(firmware, extensions);
            const ConfigImage before = compactedReplies(sim);
            const ConfigImage wanted = edited(before);
            writeConfiguration(sim, wanted);
            const ConfigImage after = compactedReplies(sim);
            EXPECT_EQ(after.region(Region::Base), wanted.region(Region::Base));
            EXPECT_EQ(after.region(Region::Extensions), wanted.region(Region::Extensions));
        }
    }
}

TEST(Exchange, WriteTakesEffectOnlyWithItsEndAndKeepsTheHardwareBytes)
{
    SimHarness sim;
    const ConfigImage before = compactedReplies(sim);
    ConfigImage wanted = edited(before);
    writeConfiguration(sim, wanted, false);
    EXPECT_EQ(compactedReplies(sim).region(Region::Base), before.region(Region::Base));

    wanted[2] = 3; // extension count
    wanted[4] = 1; // firmware 1.50
    wanted[5] = 50;
    writeConfiguration(sim, wanted);
    const ConfigImage after = compactedReplies(sim);
    EXPECT_EQ(after[2], 8);
    EXPECT_EQ(after[4], 2);
    EXPECT_EQ(after[5], 0);
    EXPECT_EQ(after[7], 0x21);
}

TEST(Exchange, RecordsOfTheWrongLengthAreDroppedWithoutShiftingTheOthers)
{
    SimHarness sim(200, 3);
    const ConfigImage before = compactedReplies(sim);
    const ConfigImage wanted = edited(before);
    QByteArray base = wanted.toByteArray().left(112);
    base[0] = 9;
    sim.sendPayload(base, 100);
    for (int g = 0; g < 3; ++g) {
        const int length = g == 1 ? 21 : 26; // the second one as an old exchange's record
        sim.sendPayload(QByteArray(1, 7) + wanted.toByteArray().mid(ImageLayout::recordOffset(g, 200), length), 100);
    }
    sim.sendPayload(QByteArray(1, 12), 100);
    const ConfigImage after = compactedReplies(sim);
    const auto record = [](const ConfigImage& image, int g) {
        return image.toByteArray().mid(ImageLayout::recordOffset(g, 200), 27);
    };
    EXPECT_EQ(record(after, 0), record(wanted, 0));
    EXPECT_EQ(record(after, 1), record(before, 1));
    EXPECT_EQ(record(after, 2), record(wanted, 2));
}

TEST(Exchange, ChargeUnitsAreWrittenOnlyWithTheFirmwaresLength)
{
    SimHarness sim;
    QByteArray units(17, '\0');
    units[0] = 5;
    units[1] = char(0x34);
    units[2] = char(0x12);
    sim.sendPayload(units + QByteArray(112, '\x77'), 100); // 129 bytes: an old exchange's length
    EXPECT_EQ(ImageLayout::units(sim.exchange.image(), 0), 1234);
    sim.sendPayload(units, 100);
    EXPECT_EQ(ImageLayout::units(sim.exchange.image(), 0), 0x1234);
    EXPECT_EQ(ImageLayout::units(sim.exchange.image(), 1), 0);

    const QByteArray reply = sim.sendHex("83060000");
    EXPECT_EQ(Cells::compacted(reply, 224).left(5), QByteArray::fromHex("1534120000"));
}

TEST(Exchange, StateEventsNeedTheExactSwitchOnCode)
{
    SimHarness sim;
    const char* ringOn = "03DD030283000100";
    EXPECT_TRUE(sim.sendHex(ringOn).isEmpty());
    EXPECT_TRUE(sim.exchange.isRinging(2));
    EXPECT_TRUE(sim.sendHex("03DD030283000000").isEmpty());

    for (const char* wrongCode : {"03DD004E832BC718", "03DD004E832BC7", "03DD014E832BC719"}) {
        sim.sendHex(wrongCode, 600); // silence ends a torn cell
        EXPECT_FALSE(sim.exchange.eventsOn()) << wrongCode;
    }
    sim.switchEventsOn();
    EXPECT_TRUE(sim.exchange.eventsOn());
    EXPECT_EQ(sim.sendHex(ringOn), QByteArray::fromHex("03DD030283000100"));
    EXPECT_TRUE(sim.sendHex(ringOn).isEmpty()) << "already ringing";
    EXPECT_EQ(sim.sendHex("03DD030283000000"), QByteArray::fromHex("03DD030283000000"));
    EXPECT_TRUE(sim.sendHex("03DD030883000100").isEmpty()) << "no extension index 8";

    sim.sendHex("03DD010083000000", 10);
    EXPECT_FALSE(sim.exchange.eventsOn());
    EXPECT_TRUE(sim.sendHex(ringOn).isEmpty());
}

TEST(Exchange, HangUpSwitchesEventsOffAndDropsWhatWasGoingOn)
{
    SimHarness sim;
    sim.switchEventsOn();
    sim.exchange.receive(QByteArray::fromHex("830A0000"), sim.nowUs);
    sim.run(50);
    sim.exchange.hangUp();
    EXPECT_FALSE(sim.exchange.eventsOn());
    EXPECT_TRUE(sim.run(1000).isEmpty());
    sim.exchange.sendEvent(4, 0, 0, 1, sim.nowUs);
    EXPECT_TRUE(sim.run(100).isEmpty());
}

TEST(Exchange, EventsAndRepliesGoOutAsSeparateChunks)
{
    SimHarness sim;
    sim.switchEventsOn();
    sim.exchange.sendEvent(4, 1, 0, 1, sim.nowUs);
    sim.exchange.receive(QByteArray::fromHex("83060000"), sim.nowUs);
    // Record the moment of every byte; the program cuts chunks at 100 ms of silence.
    QList<qint64> times;
    QByteArray out;
    for (int i = 0; i < 1500; ++i) {
        sim.nowUs += 1000;
        const QByteArray due = sim.exchange.takeOutput(sim.nowUs);
        for (int k = 0; k < due.size(); ++k)
            times.append(sim.nowUs);
        out += due;
    }
    ASSERT_EQ(out.size(), 8 + 224);
    EXPECT_EQ(out.left(8), QByteArray::fromHex("03DD040183000100"));
    EXPECT_GE(times[8] - times[7], 100'000);
    EXPECT_EQ(Cells::classify(out.mid(8)), Cells::ChunkClass::Charges);
    // 224 bytes of 10 bit times at 9600 baud.
    EXPECT_NEAR(double(times.last() - times[8]), 223 * 1042.0, 2000.0);
}
