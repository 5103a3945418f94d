#include "ExchangeReply.h"
#include "FakeTransport.h"
#include "MockClock.h"

#include "config/SpeedDialList.h"
#include "config/SpeedDialTransfer.h"
#include "link/PbxLink.h"
#include "shell/StatusLine.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class StartUpStore : public SpeedDialStore
{
public:
    QString name(int) const override { return {}; }
    QString storedNumber(int entry) const override
    {
        return entry == 1 ? QStringLiteral("01") : entry == 2 ? QStringLiteral("999") : QString();
    }
    QString sound(int) const override { return {}; }
    bool save(int, const QString&, const QString&, const QString&) override { return true; }
};

struct Rig
{
    explicit Rig(int major = 2, int minor = 0)
    {
        image[4] = static_cast<std::uint8_t>(major);
        image[5] = static_cast<std::uint8_t>(minor);
        image[2] = 8;
        QObject::connect(&link, &PbxLink::status, &status, &StatusLine::showStatus);
        QObject::connect(&reader, &SpeedDialTransfer::status, &status, &StatusLine::showStatus);
        link.openPort(QStringLiteral("/dev/null"), QStringLiteral("COM1"));
    }
    QByteArray block(int fromEnd) const
    {
        const auto& sent = transport.sent();
        return sent.size() > fromEnd ? sent.at(sent.size() - 1 - fromEnd).block : QByteArray();
    }

    MockClock clock;
    FakeTransport transport{clock};
    ConfigImage image;
    StatusLine status;
    PbxLink link{transport, clock, image};
    StartUpStore store;
    SpeedDialList list{store};
    SpeedDialTransfer reader{link, list};
};

TEST(SpeedDialTransfer, ReadsAllSixtyEntriesOnce)
{
    Rig rig;
    QSignalSpy finished(&rig.reader, &SpeedDialTransfer::finished);
    QSignalSpy lock(&rig.link, &PbxLink::transferLockChanged);
    ASSERT_EQ(rig.reader.start(), SpeedDialTransfer::Start::Begun);
    EXPECT_EQ(rig.block(0).toHex(' '), "83 02 02 00");
    EXPECT_TRUE(rig.list.isRead());
    ASSERT_EQ(lock.count(), 1);
    EXPECT_TRUE(lock.at(0).at(0).toBool());

    rig.transport.inject(QByteArray::fromHex("81120000"));
    for (int n = 1; n <= 60; ++n) {
        rig.clock.advance(40); // the request's second block
        ASSERT_EQ(rig.block(1).toHex(' '), "03 cc 06 03") << n;
        QByteArray tail = QByteArray::fromHex("8200FF00");
        tail[1] = static_cast<char>(n);
        ASSERT_EQ(rig.block(0), tail) << n;
        const auto& sent = rig.transport.sent();
        EXPECT_EQ(sent.at(sent.size() - 1).atMs - sent.at(sent.size() - 2).atMs, 40) << n;
        EXPECT_EQ(rig.status.line(), QStringLiteral("1:Kurzwahl %1 wird gelesen").arg(300 + n));
        EXPECT_EQ(rig.link.progressValue(), n);
        EXPECT_EQ(rig.link.progressMaximum(), 60);
        EXPECT_EQ(finished.count(), 0);
        rig.transport.inject(ExchangeReply::speedDialEntry(n));
    }
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(rig.transport.sent().size(), 1 + 2 * 60);
    EXPECT_EQ(rig.status.text(), QString());
    EXPECT_FALSE(lock.last().at(0).toBool());
    EXPECT_EQ(rig.link.progressMaximum(), 100);
    EXPECT_EQ(rig.list.rowOfEntry(1).number, QStringLiteral("01"));
    EXPECT_EQ(rig.list.rowOfEntry(2).number, QStringLiteral("<02>"));
    EXPECT_EQ(rig.list.rowOfEntry(60).number, QStringLiteral("<60>"));
    EXPECT_EQ(rig.list.rowOfEntry(60).attributesText, QStringLiteral("Kurzwahl"));

    EXPECT_EQ(rig.reader.start(), SpeedDialTransfer::Start::AlreadyRead);
    EXPECT_EQ(rig.transport.sent().size(), 1 + 2 * 60);
}

TEST(SpeedDialTransfer, UnavailableBelowTwoHundred)
{
    Rig rig(1, 98);
    EXPECT_EQ(rig.reader.start(), SpeedDialTransfer::Start::NotAvailable);
    EXPECT_EQ(rig.status.line(), QStringLiteral("2:Kurzwahlen bei dieser Firmware-Version nicht verfügbar"));
    EXPECT_TRUE(rig.transport.sent().isEmpty());
    EXPECT_FALSE(rig.list.isRead());
}

TEST(SpeedDialTransfer, TimeOutEndsTheReadForTheRestOfTheRun)
{
    Rig rig;
    rig.link.setTimeoutSeconds(10);
    ASSERT_EQ(rig.reader.start(), SpeedDialTransfer::Start::Begun);
    rig.transport.inject(QByteArray::fromHex("81120000"));
    rig.clock.advance(40);
    rig.transport.inject(ExchangeReply::speedDialEntry(1));
    for (int i = 0; i < 11; ++i) {
        rig.clock.advance(1000);
        rig.link.onSecond();
    }
    EXPECT_FALSE(rig.reader.isReading());
    EXPECT_EQ(rig.status.line(), QStringLiteral("2:Kommunikationsfehler auf Schnittstelle COM1"));
    const auto sentBefore = rig.transport.sent().size();
    rig.transport.inject(ExchangeReply::speedDialEntry(2)); // a late reply starts nothing
    EXPECT_EQ(rig.transport.sent().size(), sentBefore);
    EXPECT_EQ(rig.reader.start(), SpeedDialTransfer::Start::AlreadyRead);
}

TEST(SpeedDialTransfer, AcknowledgementWithoutAReadIsIgnored)
{
    Rig rig;
    rig.transport.inject(QByteArray::fromHex("81120000"));
    EXPECT_TRUE(rig.transport.sent().isEmpty());
}

} // namespace
