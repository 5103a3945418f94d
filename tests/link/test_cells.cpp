#include "link/Cells.h"
#include "link/EventRecord.h"
#include "link/PbxRequests.h"

#include <gtest/gtest.h>

using Cells::ChunkClass;

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

QByteArray counting(int n, int first = 1)
{
    QByteArray bytes;
    for (int i = 0; i < n; ++i)
        bytes.append(static_cast<char>(first + i));
    return bytes;
}

} // namespace

TEST(Cells, ShortPayloadsTakeTheHeaderOfTheirLength)
{
    EXPECT_EQ(Cells::encodeCells(hex("0C")), hex("810C0000"));
    EXPECT_EQ(Cells::encodeCells(hex("0A0000")), hex("830A0000"));
    // Four bytes: a full cell with header 3, then a last cell with one byte.
    EXPECT_EQ(Cells::encodeCells(hex("01020304")), hex("03010203"
                                                       "81040000"));
    EXPECT_EQ(Cells::encodeCells(hex("DD004E2BC719")), hex("03DD004E"
                                                           "832BC719"));
    EXPECT_TRUE(Cells::encodeCells({}).isEmpty());
}

TEST(Cells, LongPayloadsEndWithTheRightLastCell)
{
    struct Case
    {
        int length;
        int cells;
        quint8 lastHeader;
    };
    const Case cases[] = {{112, 38, 0x81}, {27, 9, 0x83}, {22, 8, 0x81}, {17, 6, 0x82}, {129, 43, 0x83}, {2, 1, 0x82}};
    for (const Case& c : cases) {
        const QByteArray line = Cells::encodeCells(counting(c.length));
        SCOPED_TRACE(c.length);
        ASSERT_EQ(line.size(), c.cells * 4);
        EXPECT_EQ(Cells::cellCount(c.length), c.cells);
        for (int cell = 0; cell + 1 < c.cells; ++cell)
            EXPECT_EQ(static_cast<quint8>(line[cell * 4]), 0x03);
        EXPECT_EQ(static_cast<quint8>(line[(c.cells - 1) * 4]), c.lastHeader);
        EXPECT_EQ(Cells::decodeCells(line), counting(c.length));
    }
}

TEST(Cells, PaddingCarriesTheBytesThatFollowThePayload)
{
    EXPECT_EQ(Cells::encodeCells(hex("0910"), hex("AABBCC")), hex("820910AA"));
    EXPECT_EQ(Cells::encodeCells(hex("09"), hex("AA")), hex("8109AA00"));
}

TEST(Cells, DecodeNeedsALastCell)
{
    EXPECT_FALSE(Cells::decodeCells(hex("03010203")).has_value());
    EXPECT_FALSE(Cells::decodeCells(hex("84010203")).has_value());
    EXPECT_FALSE(Cells::decodeCells(hex("8301")).has_value());
    EXPECT_EQ(Cells::decodeCells(hex("82AB0000"
                                     "83FFFFFF")),
              hex("AB00"));
}

TEST(Cells, ClassifiesByTheFirstFourBytes)
{
    struct Case
    {
        const char* chunk;
        ChunkClass expected;
    };
    const Case cases[] = {
        {"03170102", ChunkClass::Base},     {"03160000", ChunkClass::Extensions},
        {"03150000", ChunkClass::Charges},  {"03CC0803", ChunkClass::SpeedDialEntry},
        {"03CC0802", ChunkClass::Ignored}, // speed-dial class needs b2 = 8 and b3 = 3
        {"03CC0903", ChunkClass::Ignored},  {"03DD0201", ChunkClass::StateEvents},
        {"8112", ChunkClass::SpeedDialAck}, {"81120000", ChunkClass::SpeedDialAck},
        {"8317", ChunkClass::Ignored},      {"03", ChunkClass::Ignored},
        {"03CC08", ChunkClass::Ignored},    {"", ChunkClass::Ignored},
        {"436F6D6D", ChunkClass::Ignored}, // "Comm Event: ..." from the driver
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chunk);
        EXPECT_EQ(Cells::classify(hex(c.chunk)), c.expected);
    }
}

TEST(Cells, CompactingTheBaseRegionDropsEveryCellHeader)
{
    // 300 line bytes with headers 3 at multiples of 4 and distinct payload bytes between them.
    QByteArray payload = counting(225, 0);
    payload[0] = 23;
    const QByteArray line = Cells::regionLineBytes(payload, 300);
    ASSERT_EQ(line.size(), 300);
    EXPECT_EQ(static_cast<quint8>(line[296]), 0x83);

    ConfigImage image;
    image.copyIntoRegion(ConfigImage::Region::Base, line);
    Cells::compactRegion(image, ConfigImage::Region::Base);
    EXPECT_EQ(image[0], line[1]);
    EXPECT_EQ(image[3], static_cast<quint8>(line[5])); // payload byte 3 is raw byte 5
    EXPECT_EQ(image.region(ConfigImage::Region::Base).left(225), payload);
    for (int i = 225; i < 300; ++i)
        ASSERT_EQ(image[i], 0) << i;
}

TEST(Cells, CompactingKeepsEachRegionWithinItsBounds)
{
    ConfigImage image;
    for (int i = 0; i < ConfigImage::Size; ++i)
        image[i] = 0xEE;
    // A short extension reply over old bytes: headers go wherever they stand, the tail past the
    // 375 payload bytes is zeroed, the neighbouring regions are untouched.
    image.copyIntoRegion(ConfigImage::Region::Extensions, hex("03160102"
                                                              "82030400"));
    Cells::compactRegion(image, ConfigImage::Region::Extensions);
    const QByteArray region = image.region(ConfigImage::Region::Extensions);
    EXPECT_EQ(region.left(8), hex("160102030400EEEE"));
    EXPECT_EQ(region.at(374), '\xEE');
    EXPECT_EQ(region.mid(375), QByteArray(125, '\0'));
    EXPECT_EQ(image[299], 0xEE);
    EXPECT_EQ(image[800], 0xEE);
    EXPECT_EQ(Cells::compacted(QByteArray(224, '\x01'), 224).count('\x01'), 168);
    EXPECT_EQ(Cells::compacted(QByteArray(500, '\x01'), 500).count('\x01'), 375);
}

TEST(EventRecords, WholeRecordsOnly)
{
    const QByteArray one = hex("03DD0201"
                               "83000101");
    EXPECT_TRUE(EventRecord::fromChunk(one.left(7)).isEmpty());
    // A 12-byte chunk carries one record; its last 4 bytes are ignored.
    const auto twelve = EventRecord::fromChunk(one + hex("03DD0502"));
    ASSERT_EQ(twelve.size(), 1);
    EXPECT_EQ(twelve[0], (EventRecord{2, 1, 0, 1, 1}));
    // Longer than the old 100-byte work copy: all 13 records count.
    QByteArray thirteen;
    for (int i = 0; i < 13; ++i)
        thirteen += hex("03DD05") + QByteArray(1, static_cast<char>(i)) + hex("83000700");
    const auto records = EventRecord::fromChunk(thirteen);
    ASSERT_EQ(records.size(), 13);
    EXPECT_EQ(records[12].p1, 12);
    EXPECT_EQ(records[12].p3, 7);
}

TEST(PbxRequests, BlocksOnTheLine)
{
    EXPECT_EQ(PbxRequests::readBase(), QList<QByteArray>{hex("830A0000")});
    EXPECT_EQ(PbxRequests::readExtensions(), QList<QByteArray>{hex("83080000")});
    EXPECT_EQ(PbxRequests::readCharges(), QList<QByteArray>{hex("83060000")});
    EXPECT_EQ(PbxRequests::beginSpeedDialRead(), QList<QByteArray>{hex("83020200")});
    EXPECT_EQ(PbxRequests::readSpeedDial(60), (QList<QByteArray>{hex("03CC0603"), hex("823CFF00")}));
    EXPECT_EQ(PbxRequests::switchEventsOn(), (QList<QByteArray>{hex("03DD004E"), hex("832BC719")}));
    EXPECT_EQ(PbxRequests::ringExtension(7, true), (QList<QByteArray>{hex("03DD0307"), hex("83000100")}));
    EXPECT_EQ(PbxRequests::ringExtension(0, false), (QList<QByteArray>{hex("03DD0300"), hex("83000000")}));
    // Each request is the cell form of its payload.
    EXPECT_EQ(Cells::encodeCells(PbxRequests::switchEventsOnPayload()), PbxRequests::switchEventsOn().join());
}
