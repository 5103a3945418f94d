#include "SimHarness.h"

#include <gtest/gtest.h>

namespace {

QByteArray readEntry(SimHarness& sim, int n)
{
    QByteArray request = QByteArray::fromHex("03CC060382FFFF00");
    request[5] = char(n);
    return sim.send(request);
}

} // namespace

TEST(SpeedDials, ReadIsAcknowledgedAndEveryEntryAnswersIn11Cells)
{
    SimHarness sim;
    EXPECT_EQ(sim.sendHex("83020200"), QByteArray::fromHex("81120000"));
    for (int n = 1; n <= 60; ++n) {
        const QByteArray reply = readEntry(sim, n);
        ASSERT_EQ(reply.size(), 44) << n;
        EXPECT_EQ(Cells::classify(reply), Cells::ChunkClass::SpeedDialEntry);
        EXPECT_EQ(quint8(reply[40]), 0x83);
        const QByteArray payload = Cells::compacted(reply, 44);
        EXPECT_EQ(quint8(payload[3]), n);
    }
}

TEST(SpeedDials, EntryLayoutPacksTheFirstDigitHigh)
{
    struct Case
    {
        QByteArray number;
        const char* expectedHex; // payload up to the four attribute bytes
    };
    const Case cases[] = {
        {"123", "CC080307"
                "03"
                "123F"
                "0102030F"},
        {"0301234", "CC080307"
                    "07"
                    "0301234F"
                    "0102030F"},
        {"12", "CC080307"
               "02"
               "12"
               "0102030F"},
        {"", "CC080307"
             "00"
             "0102030F"},
        {"98765432109876543210", "CC080307"
                                 "14"
                                 "98765432109876543210"
                                 "0102030F"},
    };
    for (const Case& c : cases) {
        SimHarness sim;
        SpeedDialTable table;
        table.setNumber(7, c.number, 1, 2, 3, 0x0F);
        const QByteArray want = QByteArray::fromHex(c.expectedHex);
        const QByteArray payload = table.replyPayload(7);
        ASSERT_EQ(payload.size(), SpeedDialTable::ReplyPayloadLength);
        EXPECT_EQ(payload.left(want.size()), want) << c.number.constData();
        EXPECT_EQ(payload.mid(want.size()), QByteArray(payload.size() - want.size(), '\0'));
    }
}

TEST(SpeedDials, SavedEntryIsReadBack)
{
    SimHarness sim;
    // 0301234 with baby call 21, permission 21..23, rhythm 4, no dial block.
    sim.sendHex("83020200");
    sim.sendPayload(QByteArray::fromHex("CC050909"
                                        "07"
                                        "0301234F"
                                        "01070400"
                                        "FF"),
                    100);
    const QByteArray payload = Cells::compacted(readEntry(sim, 9), 44);
    EXPECT_EQ(payload.left(13), QByteArray::fromHex("CC080309"
                                                    "07"
                                                    "0301234F"
                                                    "01070400"));

    // Emptying an entry.
    sim.sendPayload(QByteArray::fromHex("CC050909"
                                        "00"
                                        "00000000"
                                        "FF"),
                    100);
    EXPECT_EQ(Cells::compacted(readEntry(sim, 9), 44).left(9), QByteArray::fromHex("CC080309"
                                                                                   "00"
                                                                                   "00000000"));
}

TEST(SpeedDials, MalformedSavesChangeNothing)
{
    SimHarness sim;
    const SpeedDialTable before = sim.exchange.speedDials();
    const char* refused[] = {
        "CC050900"
        "02"
        "12"
        "00000000"
        "FF", // entry 0
        "CC05093D"
        "02"
        "12"
        "00000000"
        "FF", // entry 61
        "CC050901"
        "15"
        "12"
        "00000000"
        "FF", // 21 digits
        "CC050901"
        "03"
        "12"
        "00000000"
        "FF", // 3 digits need two bytes
        "CC050901"
        "02"
        "12"
        "00000000", // too short
        "CC050901"
        "02"
        "12"
        "00000000"
        "FF"
        "FF", // too long
    };
    for (const char* hex : refused) {
        sim.sendPayload(QByteArray::fromHex(hex), 100);
        for (int n = 1; n <= SpeedDialTable::Count; ++n)
            ASSERT_EQ(sim.exchange.speedDials().entry(n), before.entry(n)) << hex;
    }
}

TEST(SpeedDials, OlderFirmwareHasNone)
{
    SimHarness sim(198);
    EXPECT_TRUE(sim.sendHex("83020200").isEmpty());
    EXPECT_TRUE(readEntry(sim, 1).isEmpty());
    sim.sendPayload(QByteArray::fromHex("CC050901"
                                        "02"
                                        "12"
                                        "00000000"
                                        "FF"),
                    100);
    EXPECT_TRUE(sim.exchange.speedDials().entry(1).digits.isEmpty());
}
