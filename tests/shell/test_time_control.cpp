#include "ExchangeReply.h"
#include "FakeTransport.h"
#include "MockClock.h"
#include "TestImages.h"
#include "config/ConfigFile.h"
#include "link/Cells.h"
#include "link/PbxLink.h"
#include "shell/AppCore.h"
#include "shell/Settings.h"
#include "shell/StatusLine.h"
#include "shell/TimeControl.h"
#include "shell/WakeUp.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QDate Monday(2026, 12, 7), Saturday(2026, 12, 12);

// The first payload of a write of `image`: it tells which file went to the exchange.
QByteArray basePayloadCells(const ConfigImage& image)
{
    const QByteArray bytes = image.toByteArray();
    return Cells::encodeCells(QByteArray(1, 9) + bytes.mid(1, 111), bytes.mid(112, 2));
}

// A core in its ready state on a fake exchange that answers reads after a delay, in virtual time;
// the password prompt is the test's.
class TimeControlTest : public testing::Test
{
protected:
    TimeControlTest()
    {
        auto transport = std::make_unique<FakeTransport>(m_clock);
        m_transport = transport.get();
        m_transport->setOnSend([this](const QByteArray& block) { answer(block); });
        AppCore::Options options;
        options.programDir = m_dir.path();
        options.configHome = m_dir.path();
        options.clock = &m_clock;
        options.transport = std::move(transport);
        options.passwordIterations = 1000;
        m_core = std::make_unique<AppCore>(std::move(options), CommandLine{});
        m_core->setPasswordPrompt([this](const WriteGate::Answer& answer) {
            m_sentAtPrompt = m_transport->sent().size();
            if (m_holdAnswer)
                m_heldAnswer = answer;
            else
                answer(m_answer);
        });
        m_core->openPort(QStringLiteral("COM1"));
        m_core->startRead();
        m_clock.advance(3000);
        m_transport->clearSent();
        QObject::connect(&m_core->link(), &PbxLink::writeFinished, [this](bool ok) { m_writes += ok; });
    }

    void answer(const QByteArray& block)
    {
        QByteArray chunk;
        if (block == QByteArray::fromHex("830A0000"))
            chunk = ExchangeReply::base(2, 0);
        else if (block == QByteArray::fromHex("83080000"))
            chunk = ExchangeReply::region(22, 500);
        else if (block == QByteArray::fromHex("83060000"))
            chunk = ExchangeReply::region(21, 224);
        if (!chunk.isEmpty())
            m_clock.schedule(m_clock.elapsedMs() + m_replyDelayMs, [this, chunk] { m_transport->inject(chunk); });
    }

    // A configuration file that differs from the others in one byte of the base region.
    QString file(const QString& name, char mark, int size = ConfigImage::Size)
    {
        ConfigImage image = TestImages::firmware200();
        image[20] = static_cast<std::uint8_t>(mark);
        const QString path = m_dir.filePath(name);
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(image.toByteArray().left(size));
        m_files.insert(mark, image);
        return path;
    }

    void point(int row, const QString& time, const QString& path, bool weekdays = true, bool weekend = true)
    {
        TimeControl& control = m_core->timeControl();
        control.setTime(row, time);
        control.setFile(row, path);
        control.setWeekdays(row, weekdays);
        control.setWeekend(row, weekend);
    }

    // One tick a second from `from`; what a tick starts runs in the pause after it.
    void tickFrom(const QDateTime& from, int seconds)
    {
        m_clock.setNow(from);
        for (int i = 0; i < seconds; ++i) {
            m_core->onSecond();
            m_clock.advance(1000);
        }
    }

    bool wrote(char mark) const { return m_transport->sentBytes().contains(basePayloadCells(m_files.value(mark))); }

    QTemporaryDir m_dir;
    MockClock m_clock;
    FakeTransport* m_transport = nullptr;
    std::unique_ptr<AppCore> m_core;
    QHash<char, ConfigImage> m_files;
    std::optional<QString> m_answer;
    qsizetype m_sentAtPrompt = -1;
    int m_replyDelayMs = 200;
    bool m_holdAnswer = false; // the dialog stays open until the test answers
    WriteGate::Answer m_heldAnswer;
    int m_writes = 0;
};

TEST_F(TimeControlTest, AWeekdayPointFiresOnceAtTheFirstTickOfItsMinuteAndNeverOnTheWeekend)
{
    ASSERT_TRUE(m_core->isReady());
    point(0, QStringLiteral("0730"), file(QStringLiteral("tag.kvx"), 'T'), true, false);
    for (const QDate& day : {Monday, Saturday}) {
        m_writes = 0;
        QList<QTime> firstSent;
        m_transport->setOnSend([&](const QByteArray&) {
            if (firstSent.isEmpty())
                firstSent << m_clock.now().time();
        });
        tickFrom(QDateTime(day, QTime(7, 29, 50)), 140);
        EXPECT_EQ(m_writes, day == Monday ? 1 : 0) << day.toString().toStdString();
        if (day == Monday) {
            ASSERT_EQ(firstSent.size(), 1);
            EXPECT_EQ(firstSent.first().toString(QStringLiteral("HH:mm:ss")), QStringLiteral("07:30:00"));
            EXPECT_TRUE(wrote('T'));
        }
    }
    // The edit took effect without "S&peichern": nothing of it is in the settings file.
    EXPECT_FALSE(QFile::exists(m_core->settings().filePath()));
}

TEST_F(TimeControlTest, OfTwoMatchingPointsOnlyTheHigherOnesFileIsWritten)
{
    point(1, QStringLiteral("2200"), file(QStringLiteral("a.kvx"), 'A'));
    point(4, QStringLiteral("2200"), file(QStringLiteral("b.kvx"), 'B'));
    tickFrom(QDateTime(Monday, QTime(22, 0, 0)), 10);
    EXPECT_EQ(m_writes, 1);
    EXPECT_TRUE(wrote('B'));
    EXPECT_FALSE(wrote('A'));
    EXPECT_EQ(m_core->image()[20], 'B');
}

TEST_F(TimeControlTest, AMatchingPointWithAnEmptyFileAfterOneWithAFileFiresNothingAndSetsNoGuard)
{
    point(0, QStringLiteral("2200"), file(QStringLiteral("a.kvx"), 'A'));
    point(1, QStringLiteral("2200"), QString());
    tickFrom(QDateTime(Monday, QTime(22, 0, 0)), 3);
    EXPECT_EQ(m_core->timeControl().guard(), 0);
    EXPECT_TRUE(m_transport->sent().isEmpty());
    // Checked again at every tick: a file given within the minute fires at once.
    m_core->timeControl().setFile(1, file(QStringLiteral("b.kvx"), 'B'));
    tickFrom(QDateTime(Monday, QTime(22, 0, 3)), 2);
    EXPECT_EQ(m_core->timeControl().guard(), TimeControl::GuardTicks - 1);
    EXPECT_TRUE(wrote('B'));
}

TEST_F(TimeControlTest, AMissingOrShortFileShowsMessage32AndSendsNothing)
{
    const ConfigImage before = m_core->image();
    for (const QString& path :
         {m_dir.filePath(QStringLiteral("fehlt.kvx")), file(QStringLiteral("kurz.kvx"), 'K', 1000)}) {
        m_core->statusLine().showStatus(Msg::Clear);
        point(0, QStringLiteral("2200"), path);
        tickFrom(QDateTime(Monday, QTime(22, 0, 0)), 2);
        EXPECT_EQ(m_core->statusLine().line(), QStringLiteral("2:Datei %1 konnte nicht geöffnet werden").arg(path));
        EXPECT_EQ(m_core->timeControl().guard(), TimeControl::GuardTicks - 1) << path.toStdString();
        EXPECT_TRUE(m_transport->sent().isEmpty());
        EXPECT_TRUE(m_core->image() == before);
        tickFrom(QDateTime(Monday, QTime(22, 1, 0)), 61); // the guard runs out
    }
}

TEST_F(TimeControlTest, WithAPasswordTheWriteWaitsForTheDialogAndAWrongOneWritesNothing)
{
    ASSERT_TRUE(m_core->savePassword(QStringLiteral("Kavex"), QStringLiteral("Kavex")));
    point(0, QStringLiteral("2200"), file(QStringLiteral("a.kvx"), 'A'));
    m_answer = QStringLiteral("kavex");
    tickFrom(QDateTime(Monday, QTime(22, 0, 0)), 2);
    EXPECT_EQ(m_sentAtPrompt, 0);
    EXPECT_EQ(m_core->statusLine().line(), QStringLiteral("2:Falsches Paßwort"));
    EXPECT_TRUE(m_transport->sent().isEmpty());

    tickFrom(QDateTime(Monday, QTime(22, 1, 0)), 61); // the guard runs out
    m_sentAtPrompt = -1;
    m_answer = QStringLiteral("Kavex");
    tickFrom(QDateTime(Monday.addDays(1), QTime(22, 0, 0)), 10);
    EXPECT_EQ(m_sentAtPrompt, 0); // nothing went out before the answer
    EXPECT_EQ(m_writes, 1);
    EXPECT_TRUE(wrote('A'));
}

// The password dialog of a firing stays open while a wake-up call rings: the ring's stops go out
// at their times, and the write starts only once the right password has been given.
TEST_F(TimeControlTest, APasswordQuestionDuringARingHoldsUpNeitherTheRingNorTheStopsAndTheWriteFollows)
{
    ASSERT_TRUE(m_core->savePassword(QStringLiteral("Kavex"), QStringLiteral("Kavex")));
    point(0, QStringLiteral("2200"), file(QStringLiteral("a.kvx"), 'A'));
    m_core->wakeUp().setWeekdayTime(2, QStringLiteral("2200"));
    m_core->wakeUp().setDurationSeconds(20);
    m_holdAnswer = true;
    tickFrom(QDateTime(Monday, QTime(22, 0, 0)), 30);
    ASSERT_TRUE(m_heldAnswer);
    QStringList ring;
    for (const auto& s : m_transport->sent())
        ring << QStringLiteral("%1 %2")
                    .arg(s.atMs - m_transport->sent().first().atMs)
                    .arg(QString::fromLatin1(s.block.toHex()));
    EXPECT_EQ(ring, QStringList({"0 03dd0302", "40 83000100", "20140 03dd0302", "20180 83000000"}));
    EXPECT_EQ(m_writes, 0);
    EXPECT_FALSE(m_core->isTransferLocked());

    const qint64 answeredAt = m_clock.elapsedMs();
    m_heldAnswer(QStringLiteral("Kavex"));
    m_clock.advance(10000);
    EXPECT_EQ(m_writes, 1);
    EXPECT_TRUE(wrote('A'));
    ASSERT_GT(m_transport->sent().size(), 4);
    EXPECT_EQ(m_transport->sent().at(4).atMs, answeredAt + 40); // the write's first cell
}

TEST_F(TimeControlTest, AMinuteThatBeginsDuringAReadFiresAtItsFirstTickAndWritesTheFileAfterTheRead)
{
    point(0, QStringLiteral("2200"), file(QStringLiteral("a.kvx"), 'A'));
    m_replyDelayMs = 3000;
    m_clock.setNow(QDateTime(Monday, QTime(21, 59, 59, 500)));
    m_core->startRead();
    ASSERT_TRUE(m_core->isTransferLocked());
    tickFrom(QDateTime(Monday, QTime(22, 0, 0)), 15);
    EXPECT_EQ(m_writes, 1);
    const QByteArray sent = m_transport->sentBytes();
    const qsizetype lastRequest = sent.lastIndexOf(QByteArray::fromHex("83060000"));
    const qsizetype written = sent.indexOf(basePayloadCells(m_files.value('A')));
    ASSERT_GE(lastRequest, 0);
    EXPECT_GT(written, lastRequest);
    EXPECT_EQ(m_core->image()[20], 'A'); // the read's reply did not stay in its place
}

TEST_F(TimeControlTest, SaveWritesAllRowsInOrderAndABrowsedFileIsCutTo128AndStoredAlone)
{
    TimeControl& control = m_core->timeControl();
    point(0, QStringLiteral("0730"), QStringLiteral("/tmp/tag.kvx"), true, false);
    control.save();
    QFile settings(m_core->settings().filePath());
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray text = settings.readAll();
    settings.close();
    EXPECT_TRUE(text.startsWith("[Zeitpunkt1]\r\nZeit=0730\r\nDatei=/tmp/tag.kvx\r\nMo-Fr=Ja\r\nSa-So=Nein\r\n\r\n"
                                "[Zeitpunkt2]\r\nZeit=9999\r\nDatei=\r\nMo-Fr=Ja\r\nSa-So=Ja\r\n"))
        << text.left(160).toStdString();
    for (int n = 2; n <= 6; ++n)
        EXPECT_LT(text.indexOf(QByteArray("[Zeitpunkt") + QByteArray::number(n - 1)),
                  text.indexOf(QByteArray("[Zeitpunkt") + QByteArray::number(n)));
    EXPECT_EQ(text.count("Sa-So="), 6);

    control.chooseFile(2, QString(200, u'x'));
    EXPECT_EQ(control.point(2).file, QString(TimeControl::FileNameLimit, u'x'));
    EXPECT_EQ(m_core->settings().timePoint(3).file, QString(TimeControl::FileNameLimit, u'x'));
    EXPECT_EQ(m_core->settings().timePoint(1).time, QStringLiteral("0730")); // the rest as saved
}

} // namespace
