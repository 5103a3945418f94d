#include "capi/CapiCommands.h"
#include "capi/CapiMessageFactory.h"
#include "capi/ReceivedMessages.h"
#include "capi/SentMessages.h"

#include <QByteArray>
#include <QStringList>
#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<quint8> bytesOf(const QByteArray& b)
{
    return std::vector<quint8>(b.begin(), b.end());
}

std::vector<quint8> hex(const char* text)
{
    return bytesOf(QByteArray::fromHex(text));
}

QByteArray hexOf(const std::vector<quint8>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())).toHex();
}

// CONNECT_IND, PLCI 0x0101, CIP 1, called 0x81 "123", calling 0x21/0x80 "2219876", then six
// structs; the BC is 300 bytes long, so the structs after it follow a three-byte prefix.
std::vector<quint8> connectInd()
{
    QByteArray m = QByteArray::fromHex("0000"
                                       "0100"
                                       "0282"
                                       "0700"
                                       "01010000"
                                       "0100"
                                       "0481313233"
                                       "09218032323139383736"
                                       "00"
                                       "00");
    m += QByteArray::fromHex("FF2C01") + QByteArray(300, '\x5A');
    m += QByteArray::fromHex("00"
                             "0201AB"
                             "00");
    m[0] = static_cast<char>(m.size() & 0xFF);
    m[1] = static_cast<char>(m.size() >> 8);
    return bytesOf(m);
}

} // namespace

TEST(TStruct, PrefixIsOneByteBelow255AndThreeBytesFrom255)
{
    struct Case
    {
        int n;
        int length;
        const char* prefix;
    } cases[] = {{0, 1, "00"},         {1, 2, "01"},         {254, 255, "fe"},
                 {255, 258, "ffff00"}, {256, 259, "ff0001"}, {65535, 65538, "ffffff"}};
    for (const Case& c : cases) {
        const TStruct s(c.n);
        EXPECT_EQ(s.GetDataLength(), c.n) << c.n;
        EXPECT_EQ(s.GetLength(), c.length) << c.n;
        const std::vector<quint8> encoded(s.encoded().begin(), s.encoded().end());
        EXPECT_TRUE(hexOf(encoded).startsWith(c.prefix)) << c.n;
        const auto parsed = TStruct::fromBytes(s.encoded());
        ASSERT_TRUE(parsed) << c.n;
        EXPECT_EQ(parsed->GetDataLength(), c.n);
    }
    const TStruct empty;
    EXPECT_EQ(empty.GetLength(), 1);
    EXPECT_EQ(empty.GetDataLength(), 0);
    EXPECT_EQ(empty.encoded()[0], 0);
}

TEST(TStruct, ReadsPastTheContentGiveZerosAndConsumeNothing)
{
    TStruct s = *TStruct::fromBytes(hex("03AABBCC"
                                        "DDEE"));
    quint8 two[2] = {1, 1};
    s.Read(two, 2);
    EXPECT_EQ(two[0], 0xAA);
    EXPECT_EQ(two[1], 0xBB);
    s.Read(two, 2);
    EXPECT_EQ(two[0], 0);
    EXPECT_EQ(two[1], 0);
    EXPECT_EQ(s.readByte(), 0xCC);
    EXPECT_EQ(s.readByte(), 0);
}

TEST(TStruct, AStructRunningPastItsBlockIsRefused)
{
    for (const char* block : {"", "03AABB", "FF", "FF2C", "FF2C01AA"})
        EXPECT_FALSE(TStruct::fromBytes(hex(block))) << block;
    EXPECT_TRUE(TStruct::fromBytes(hex("02AABB")));
}

TEST(TCallingPartyNumber, ShortContentGivesAnEmptyNumberAndZeroOctets)
{
    struct Case
    {
        const char* encoded;
        quint8 type;
        quint8 presentation;
        const char* number;
    } cases[] = {{"00", 0, 0, ""},
                 {"0121", 0x21, 0, ""},
                 {"022180", 0x21, 0x80, ""},
                 {"03118034", 0x11, 0x80, "4"},
                 {"0501A0303330", 0x01, 0xA0, "030"}};
    for (const Case& c : cases) {
        auto parsed = TStruct::fromBytes(hex(c.encoded));
        ASSERT_TRUE(parsed) << c.encoded;
        const TCallingPartyNumber n(std::move(*parsed));
        EXPECT_EQ(n.typeOfNumber(), c.type) << c.encoded;
        EXPECT_EQ(n.presentation(), c.presentation) << c.encoded;
        EXPECT_EQ(n.number(), QString::fromLatin1(c.number)) << c.encoded;
    }
    const TCallingPartySubAddress one(*TStruct::fromBytes(hex("0181")));
    EXPECT_EQ(one.firstOctet(), 0x81);
    EXPECT_TRUE(one.text().isEmpty());
}

TEST(SentMessages, ListenReqForEveryServiceIs29Bytes)
{
    TListenReq listen(1, 0x7F, 0x1FFF03FE, 0, TCallingPartyNumber(0x00, 0x80, {}), TCallingPartySubAddress(0x80, {}));
    EXPECT_EQ(hexOf(listen.bytes()), "1d0000000580000001000000"
                                     "7f000000"
                                     "fe03ff1f"
                                     "00000000"
                                     "020080"
                                     "0180");
    listen.header().applId = 0x0102;
    EXPECT_EQ(listen.GetMessagePtr()[2], 0x02);
    EXPECT_EQ(listen.GetMessagePtr()[3], 0x01);
}

TEST(SentMessages, AcceptingConnectRespCarriesTheBProtocolAndMessageNumberZero)
{
    const TConnectResp accept(0x00010201, 0, TBProtocol(1, 1, 0));
    EXPECT_EQ(hexOf(accept.bytes()), "1c00000002830000"
                                     "01020100"
                                     "0000"
                                     "09010001000000000000"
                                     "00000000");
    const TConnectResp ignore(0x0101, 1);
    EXPECT_EQ(hexOf(ignore.bytes()), "1300000002830000"
                                     "01010000"
                                     "0100"
                                     "0000000000");
}

TEST(CreateCapiMessage, ParsesAConnectIndStructAfterStruct)
{
    const std::vector<quint8> block = connectInd();
    const auto message = CreateCapiMessage(block);
    const auto* ind = dynamic_cast<const TConnectInd*>(message.get());
    ASSERT_TRUE(ind);
    EXPECT_EQ(ind->header().messageNumber, 7);
    EXPECT_EQ(ind->plci(), 0x0101u);
    EXPECT_EQ(ind->cipValue(), 1);
    EXPECT_EQ(ind->calledPartyNumber().firstOctet(), 0x81);
    EXPECT_EQ(ind->calledPartyNumber().text(), QStringLiteral("123"));
    EXPECT_EQ(ind->callingPartyNumber().typeOfNumber(), 0x21);
    EXPECT_EQ(ind->callingPartyNumber().number(), QStringLiteral("2219876"));
    EXPECT_EQ(ind->bc().GetDataLength(), 300);
    EXPECT_EQ(ind->llc().GetDataLength(), 0);
    EXPECT_EQ(ind->hlc().GetDataLength(), 2);
    EXPECT_EQ(ind->hlc().content()[1], 0xAB);
    EXPECT_EQ(ind->additionalInfo().GetDataLength(), 0);
}

// The block is copied to a buffer of its exact size, so AddressSanitizer sees any read beyond it.
TEST(CreateCapiMessage, EveryTruncationOfAConnectIndIsRefusedWithoutReadingBeyondIt)
{
    const std::vector<quint8> full = connectInd();
    for (size_t size = 0; size < full.size(); ++size) {
        const std::vector<quint8> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
        const auto shortBlock = CreateCapiMessage(cut);
        EXPECT_FALSE(dynamic_cast<const TConnectInd*>(shortBlock.get())) << size;
        // The same bytes, but a header that claims fewer than the whole message.
        std::vector<quint8> shortLength = full;
        shortLength[0] = static_cast<quint8>(size & 0xFF);
        shortLength[1] = static_cast<quint8>(size >> 8);
        const auto message = CreateCapiMessage(shortLength);
        EXPECT_FALSE(dynamic_cast<const TConnectInd*>(message.get())) << size;
        EXPECT_EQ(message->GetWordCommand(), CapiCommand::ConnectInd);
    }
}

TEST(CreateCapiMessage, FixedFieldsAreBoundedByTheHeaderLength)
{
    struct Case
    {
        const char* block;
        bool parsed;
    } cases[] = {
        {"0e00010005810000"
         "01000000"
         "0000",
         true}, // LISTEN_CONF
        {"0d00010005810000"
         "01000000"
         "0000",
         false}, // length cuts the Info word
        {"0e00010005810000"
         "01000000"
         "00",
         false}, // block cuts it
        {"1000010086810000"
         "01000100"
         "0500"
         "0000",
         true}, // DATA_B3_CONF with its data handle
        {"0e00010086810000"
         "01000100"
         "0500",
         false},
        {"0c00010004820000"
         "01010000",
         false}, // DISCONNECT_IND without its reason
    };
    for (const Case& c : cases) {
        const auto message = CreateCapiMessage(hex(c.block));
        EXPECT_EQ(dynamic_cast<const TCapiReceivedMessage*>(message.get()) != nullptr, c.parsed) << c.block;
    }
    const auto data = CreateCapiMessage(hex("1000010086810000"
                                            "01000100"
                                            "0500"
                                            "0b10"));
    EXPECT_EQ(dynamic_cast<const TDataB3Conf&>(*data).dataHandle(), 5);
    EXPECT_EQ(dynamic_cast<const TDataB3Conf&>(*data).info(), 0x100B);
}

TEST(FreeCapiMessage, OnlyAnUnknownCommandRaisesTheNotice)
{
    QStringList notices;
    const CapiNoticeSink sink = [&notices](const QString& text) { notices << text; };
    for (const char* block : {"0c00010002800000"
                              "01000000", // CONNECT_REQ: known, never parsed
                              "0e00010005810000"
                              "01000000"
                              "0000"}) {
        auto message = CreateCapiMessage(hex(block));
        FreeCapiMessage(message, sink);
        EXPECT_FALSE(message);
    }
    EXPECT_TRUE(notices.isEmpty());
    auto facility = CreateCapiMessage(hex("0c00010080820000"
                                          "01010000"));
    FreeCapiMessage(facility, sink);
    EXPECT_FALSE(facility);
    EXPECT_EQ(notices, QStringList{QStringLiteral("Unbekannte Message. 32898")});
}

// An indication cut short still gets the answer its PLCI or NCCI allows, with its message number;
// one too short for even that, or no indication, gets none.
TEST(SentMessages, AMalformedIndicationIsAnsweredFromWhatCanBeRead)
{
    struct Case
    {
        const char* indication; // hex, header included
        const char* answer;     // hex; empty: none
    };
    const Case cases[] = {
        {"0e000100048207000102010034", "0c00000004830700"
                                       "01020100"}, // DISCONNECT_IND without its reason
        {"0c000100028209000101000000", "1300000002830900"
                                       "01010000"
                                       "0100"
                                       "0000000000"}, // CONNECT_IND: ignored
        {"0c000100828203000101010000", "0f00000082830300"
                                       "01010100"
                                       "0200"
                                       "00"}, // CONNECT_B3_IND: refused
        {"1400010086820500010101000000000004000a00", "0e00000086830500"
                                                     "01010100"
                                                     "0a00"}, // DATA_B3_IND without flags
        {"10000100868205000101010000000000", ""},             // DATA_B3_IND without its data handle
        {"0a0001000482070001020100", ""},                     // the PLCI cut off by the message's own length
        {"0e000100048107000102010034", ""},                   // a confirmation
    };
    for (const Case& c : cases) {
        const QByteArray bytes = QByteArray::fromHex(c.indication);
        const std::span<const quint8> block(reinterpret_cast<const quint8*>(bytes.constData()),
                                            static_cast<size_t>(bytes.size()));
        const TCapiMessage message(block);
        const std::unique_ptr<TCapiMessage> answer = answerToMalformed(message);
        EXPECT_EQ(answer ? hexOf(answer->bytes()) : QByteArray(), QByteArray(c.answer)) << c.indication;
    }
}
