#include "FakeTransport.h"
#include "Golden.h"
#include "MockClock.h"
#include "common/Cp1252.h"
#include "link/PbxLink.h"
#include "shell/Settings.h"
#include "shell/StatusLine.h"
#include "shell/WakeUp.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QDate Tuesday(2026, 12, 8), Saturday(2026, 12, 12);

// The wake-up check on a fake port in virtual time; ticks come once a second from a start time.
class WakeUpTest : public testing::Test
{
protected:
    WakeUpTest()
        : m_transport(m_clock), m_link(m_transport, m_clock, m_image), m_settings(settingsPath()),
          m_wakeUp(m_clock, m_settings, m_link)
    {
        QObject::connect(&m_link, &PbxLink::status, &m_status, &StatusLine::showStatus);
        m_link.openPort(QStringLiteral("/dev/null"), QStringLiteral("COM1"));
    }

    QString settingsPath() const { return m_dir.filePath(QStringLiteral("WinKavex.INI")); }

    // Ticks from `from` for `seconds` seconds; the ring runs in the pauses between them.
    void tickFrom(const QDateTime& from, int seconds)
    {
        m_clock.setNow(from);
        for (int i = 0; i < seconds; ++i) {
            m_wakeUp.onSecond();
            m_clock.advance(1000);
        }
    }

    // Sent blocks as hex, each with its time relative to the first.
    QStringList sentWithTimes() const
    {
        QStringList lines;
        const qint64 first = m_transport.sent().isEmpty() ? 0 : m_transport.sent().first().atMs;
        for (const auto& s : m_transport.sent())
            lines << QStringLiteral("%1 %2").arg(s.atMs - first).arg(QString::fromLatin1(s.block.toHex(' ')));
        return lines;
    }

    QTemporaryDir m_dir;
    MockClock m_clock;
    FakeTransport m_transport;
    ConfigImage m_image;
    PbxLink m_link;
    StatusLine m_status;
    Settings m_settings;
    WakeUp m_wakeUp;
};

TEST_F(WakeUpTest, Extension23AtItsWeekdayTimeRingsForTheDurationWithThePauses)
{
    m_wakeUp.setWeekdayTime(2, QStringLiteral("0645"));
    m_wakeUp.setDurationSeconds(10);
    QList<QTime> sentAt;
    m_transport.setOnSend([&](const QByteArray&) { sentAt << m_clock.now().time(); });
    tickFrom(QDateTime(Tuesday, QTime(6, 44, 58)), 20);
    // select, 40 ms, start, 100 ms, the duration, select, 40 ms, stop; once, although the tick of
    // second 1 came while it rang.
    EXPECT_EQ(sentWithTimes(),
              QStringList({"0 03 dd 03 02", "40 83 00 01 00", "10140 03 dd 03 02", "10180 83 00 00 00"}));
    ASSERT_FALSE(sentAt.isEmpty());
    EXPECT_EQ(sentAt.first().toString(QStringLiteral("HH:mm:ss")), QStringLiteral("06:45:00"));
}

TEST_F(WakeUpTest, TwoExtensionsDueTogetherRingForOneDurationStartedBeforeAndStoppedAfterTheWait)
{
    m_wakeUp.setWeekdayTime(0, QStringLiteral("0645"));
    m_wakeUp.setWeekdayTime(3, QStringLiteral("0645"));
    m_wakeUp.setDurationSeconds(5);
    tickFrom(QDateTime(Tuesday, QTime(6, 45, 0)), 10);
    EXPECT_EQ(sentWithTimes(),
              QStringList({"0 03 dd 03 00", "40 83 00 01 00", "140 03 dd 03 03", "180 83 00 01 00", "5280 03 dd 03 00",
                           "5320 83 00 00 00", "5420 03 dd 03 03", "5460 83 00 00 00"}));
}

TEST_F(WakeUpTest, WeekdayAndWeekendFieldsApplyOnlyToTheirDays)
{
    struct Case
    {
        QDate day;
        const char* weekday;
        const char* weekend;
        bool rings;
    };
    for (const Case& c : {Case{Saturday, "0645", "9999", false}, Case{Saturday, "9999", "0645", true},
                          Case{Saturday.addDays(1), "9999", "0645", true}, Case{Tuesday, "9999", "0645", false},
                          Case{Tuesday, "0645", "0645", true}}) {
        m_transport.clearSent();
        m_wakeUp.setWeekdayTime(7, QString::fromLatin1(c.weekday));
        m_wakeUp.setWeekendTime(7, QString::fromLatin1(c.weekend));
        tickFrom(QDateTime(c.day, QTime(6, 45, 0)), 15);
        EXPECT_EQ(!m_transport.sent().isEmpty(), c.rings) << c.day.toString().toStdString() << c.weekday << c.weekend;
    }
}

// A read the user started skips the minute; a charge reading after a call only delays the ring.
TEST_F(WakeUpTest, AWakeUpMinuteDuringAReadIsSkippedButAChargeReadingOnlyDelaysIt)
{
    struct Case
    {
        const char* name;
        bool chargesOnly;
        bool rings;
    };
    for (const Case& c : {Case{"full read", false, false}, Case{"charge reading", true, true}}) {
        SCOPED_TRACE(c.name);
        m_wakeUp.setWeekdayTime(0, QStringLiteral("0645"));
        m_wakeUp.setDurationSeconds(5);
        m_clock.setNow(QDateTime(Tuesday, QTime(6, 44, 59)));
        c.chargesOnly ? m_link.requestCharges() : m_link.startRead(); // the exchange stays silent
        m_transport.clearSent();
        tickFrom(QDateTime(Tuesday, QTime(6, 45, 0)), 2);
        ASSERT_TRUE(m_link.isLocked());
        EXPECT_TRUE(m_transport.sent().isEmpty());
        for (int i = 0; i < 20; ++i) {
            m_link.onSecond(); // the time-out ends the read
            m_wakeUp.onSecond();
            m_clock.advance(1000);
        }
        EXPECT_FALSE(m_link.isLocked());
        const QStringList sent = sentWithTimes();
        EXPECT_EQ(sent.size(), c.rings ? 4 : 0);
        if (c.rings) {
            EXPECT_EQ(sent.first(), QStringLiteral("0 03 dd 03 00"));
        }
    }
}

TEST_F(WakeUpTest, RefusedCommandsShowMessage36EachAndTheRestIsStillSent)
{
    m_wakeUp.setWeekdayTime(1, QStringLiteral("0645"));
    m_transport.failSendsAfter(1);
    int refused = 0;
    QObject::connect(&m_link, &PbxLink::status, [&refused](int number) { refused += number == Msg::CannotWritePort; });
    tickFrom(QDateTime(Tuesday, QTime(6, 45, 0)), 15);
    EXPECT_EQ(refused, 3);
    EXPECT_EQ(m_status.line(), QStringLiteral("2:Schnittstelle COM1 kann nicht beschrieben werden"));
    EXPECT_FALSE(m_link.isLocked());
}

TEST_F(WakeUpTest, ChangesRewriteTheWholeSectionOnlyInTheReadyState)
{
    QFile file(settingsPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Cp1252::fromUnicode(QStringLiteral("[Allgemein]\r\nAnschluß=COM2\r\n[Wecken]\r\nDauer=10\r\n"
                                                  "Nebenstelle 24, SaSo-Zeit=0815\r\nAlt=1\r\n")));
    file.close();
    m_wakeUp.loadSettings();
    m_wakeUp.setWeekdayTime(0, QStringLiteral("0630")); // start-up filling the fields: nothing written
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("0630"));
    file.close();

    m_wakeUp.setReady(true);
    m_wakeUp.setDurationSeconds(30);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(Golden::matches(QStringLiteral("wakeup-duration-30.ini"), file.readAll()));
}

} // namespace
