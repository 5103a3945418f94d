#include "AsOtherUser.h"
#include "ExchangeReply.h"
#include "FakeTransport.h"
#include "MockClock.h"
#include "common/Cp1252.h"
#include "link/Cells.h"
#include "shell/AppCore.h"
#include "shell/PasswordStore.h"
#include "shell/Settings.h"
#include "shell/StartUp.h"
#include "shell/StatusLine.h"
#include "shell/TimeControl.h"
#include "shell/WakeUp.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

using ExchangeReply::region;

QByteArray baseReply()
{
    return ExchangeReply::base(2, 0);
}

class RecordingView : public StartUpView
{
public:
    void showFirstPageOnly() override { calls << QStringLiteral("firstPage"); }
    void buildPages() override { calls << QStringLiteral("build"); }
    void selectPort(int position) override { calls << QStringLiteral("port %1").arg(position); }
    void moveWindow(int x, int y) override { calls << QStringLiteral("move %1,%2").arg(x).arg(y); }
    void applyFontFace() override { calls << QStringLiteral("font"); }
    void showStartPage(int position) override { calls << QStringLiteral("start %1").arg(position); }
    void showWindow() override { calls << QStringLiteral("show"); }
    void startInTray() override { calls << QStringLiteral("tray"); }

    QStringList calls;
};

// A program directory with a settings file, a fake port and virtual time; the exchange answers
// each read request 200 ms after it was sent, unless it is mute.
class StartUpTest : public testing::Test
{
protected:
    void writeSettings(const QString& text)
    {
        QFile file(m_programDir.filePath(QStringLiteral("WinKavex.INI")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Cp1252::fromUnicode(text));
    }

    AppCore& makeCore(const QStringList& words = {})
    {
        auto transport = std::make_unique<FakeTransport>(m_clock);
        m_transport = transport.get();
        m_transport->setOnSend([this](const QByteArray& block) { answer(block); });
        AppCore::Options options;
        options.programDir = m_programDir.path();
        options.configHome = m_configHome.path();
        options.clock = &m_clock;
        options.transport = std::move(transport);
        options.passwordIterations = 1000;
        m_core = std::make_unique<AppCore>(std::move(options), CommandLine::parse(words));
        return *m_core;
    }

    void answer(const QByteArray& block)
    {
        if (m_mute)
            return;
        QByteArray chunk;
        if (block == hex("830A0000"))
            chunk = baseReply();
        else if (block == hex("83080000"))
            chunk = region(22, 500);
        else if (block == hex("83060000"))
            chunk = region(21, 224);
        if (!chunk.isEmpty())
            m_clock.schedule(m_clock.elapsedMs() + 200, [this, chunk] { m_transport->inject(chunk); });
    }

    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            m_clock.advance(1000);
            m_core->onSecond();
        }
    }

    QStringList sentHex() const
    {
        QStringList blocks;
        for (const auto& sent : m_transport->sent())
            blocks << QString::fromLatin1(sent.block.toHex(' '));
        return blocks;
    }

    QTemporaryDir m_programDir;
    QTemporaryDir m_configHome;
    MockClock m_clock;
    FakeTransport* m_transport = nullptr;
    std::unique_ptr<AppCore> m_core;
    RecordingView m_view;
    bool m_mute = false;
};

TEST_F(StartUpTest, InvalidPortEndsStartUpWithMessage22AndOpensNothing)
{
    writeSettings(QStringLiteral("[Allgemein]\r\nAnschluß=COM5\r\n"));
    AppCore& core = makeCore();
    EXPECT_EQ(StartUp(core, m_view).run(), StartUp::Outcome::InvalidPort);
    EXPECT_EQ(core.statusLine().line(), QStringLiteral("2:Portadresse 'COM5' ist ungültig"));
    EXPECT_EQ(core.statusLine().colourLevel(), 2);
    EXPECT_FALSE(m_transport->isOpen());
    EXPECT_TRUE(m_transport->sent().isEmpty());
    EXPECT_EQ(m_view.calls, QStringList({"firstPage", "build", "port 0", "tray"}));
}

// A FIFO where the settings file should be is reported at once, never waited on.
TEST_F(StartUpTest, ASettingsFileThatCannotBeReadIsReportedInsteadOfAnInvalidPort)
{
    const QString path = m_programDir.filePath(QStringLiteral("WinKavex.INI"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    AppCore& core = makeCore();
    EXPECT_EQ(StartUp(core, m_view).run(), StartUp::Outcome::InvalidPort);
    EXPECT_TRUE(core.statusLine().text().startsWith(
        QStringLiteral("Einstellungsdatei %1 kann nicht gelesen werden: ").arg(path)))
        << core.statusLine().text().toStdString();
    EXPECT_EQ(core.statusLine().colourLevel(), 2);
    EXPECT_FALSE(m_transport->isOpen());
}

// Whichever way start-up ends, the stored time points and wake-up times are the pages' rows, so
// that saving them after a port is picked keeps what was stored.
TEST_F(StartUpTest, AnEarlyEndStillLoadsTimePointsAndWakeUpTimes)
{
    for (const char* port : {"COM5", "COM2"}) {
        SCOPED_TRACE(port);
        writeSettings(QStringLiteral("[Allgemein]\r\nAnschluß=%1\r\n[Zeitpunkt3]\r\nZeit=0715\r\nDatei=/k/früh.kvx\r\n"
                                     "[Wecken]\r\nNebenstelle 24, MoFr-Zeit=0630\r\nDauer=20\r\n")
                          .arg(QLatin1String(port)));
        AppCore& core = makeCore();
        m_transport->setOpenFails(true);
        EXPECT_NE(StartUp(core, m_view).run(), StartUp::Outcome::Reading);
        EXPECT_EQ(core.timeControl().point(2).time, QStringLiteral("0715"));
        EXPECT_EQ(core.timeControl().point(2).file, QStringLiteral("/k/früh.kvx"));
        EXPECT_EQ(core.wakeUp().times().weekdays[3], QStringLiteral("0630"));
        EXPECT_EQ(core.wakeUp().times().durationSeconds, 20);
        ASSERT_TRUE(core.timeControl().save());
        EXPECT_EQ(core.settings().timePoint(3).time, QStringLiteral("0715"));
        m_core.reset();
    }
}

TEST_F(StartUpTest, NoSettingsFileAtAllReportsThePortCOMx)
{
    AppCore& core = makeCore();
    EXPECT_EQ(StartUp(core, m_view).run(), StartUp::Outcome::InvalidPort);
    EXPECT_EQ(core.statusLine().text(), QStringLiteral("Portadresse 'COMx' ist ungültig"));
    EXPECT_FALSE(m_view.calls.contains("show"));
}

TEST_F(StartUpTest, PortThatCannotBeOpenedEndsStartUpWithMessage5)
{
    writeSettings(QStringLiteral("[Allgemein]\r\nAnschluß=COM2\r\n"));
    AppCore& core = makeCore();
    m_transport->setOpenFails(true);
    EXPECT_EQ(StartUp(core, m_view).run(), StartUp::Outcome::PortFailed);
    EXPECT_EQ(core.statusLine().line(), QStringLiteral("2:Schnittstelle COM2 kann nicht geöffnet werden"));
    EXPECT_TRUE(m_transport->sent().isEmpty());
    EXPECT_FALSE(m_view.calls.contains("show"));
    EXPECT_TRUE(m_view.calls.contains("tray"));
    EXPECT_FALSE(m_view.calls.contains("font"));
}

TEST_F(StartUpTest, FullStartUpOpensTheMappedDeviceSwitchesEventsOnAndReads)
{
    writeSettings(QStringLiteral("[Allgemein]\r\nAnschluß=COM3\r\nStartSeite=8\r\n"
                                 "[Fenster]\r\nX-Position=40\r\nY-Position=50\r\n"
                                 "[Schnittstellen]\r\nCOM3=/dev/ttyUSB7\r\n"));
    AppCore& core = makeCore();
    EXPECT_EQ(StartUp(core, m_view).run(), StartUp::Outcome::Reading);
    EXPECT_EQ(m_transport->openedPath(), QStringLiteral("/dev/ttyUSB7"));
    EXPECT_EQ(m_view.calls, QStringList({"firstPage", "build", "port 2", "move 40,50", "font", "start 8", "show"}));
    EXPECT_EQ(sentHex(), QStringList({"03 dd 00 4e"})); // the rest follows its pauses
    m_clock.advance(140);
    EXPECT_EQ(sentHex(), QStringList({"03 dd 00 4e", "83 2b c7 19", "83 0a 00 00"}));
    EXPECT_EQ(core.statusLine().line(), QStringLiteral("1:Grundkonfiguration wird gelesen"));
    EXPECT_TRUE(core.isTransferLocked());
    EXPECT_FALSE(core.transferUnits());
}

TEST_F(StartUpTest, DevicePathFromTheCommandLineWinsOverTheMapping)
{
    writeSettings(QStringLiteral("[Allgemein]\r\nAnschluß=COM1\r\n"));
    auto transport = std::make_unique<FakeTransport>(m_clock);
    FakeTransport* fake = transport.get();
    AppCore::Options options;
    options.programDir = m_programDir.path();
    options.configHome = m_configHome.path();
    options.clock = &m_clock;
    options.transport = std::move(transport);
    options.deviceOverride = QStringLiteral("/dev/pts/9");
    AppCore core(std::move(options), CommandLine{});
    StartUp(core, m_view).run();
    EXPECT_EQ(fake->openedPath(), QStringLiteral("/dev/pts/9"));
    EXPECT_EQ(core.portName(), QStringLiteral("COM1"));
}

TEST_F(StartUpTest, IconAndAutoEndNeverShowTheWindowAndCloseAfterEachCompleteRead)
{
    writeSettings(QStringLiteral("[Allgemein]\r\nAnschluß=COM1\r\n"));
    AppCore& core = makeCore({QStringLiteral("icon"), QStringLiteral("AutoEnde")});
    QSignalSpy closes(&core, &AppCore::closeRequested);
    QSignalSpy ready(&core, &AppCore::readyChanged);
    StartUp(core, m_view).run();
    EXPECT_FALSE(m_view.calls.contains("show"));
    EXPECT_TRUE(m_view.calls.contains("tray"));

    m_clock.advance(1000);
    ASSERT_TRUE(core.isReady());
    EXPECT_EQ(ready.count(), 1);
    EXPECT_FALSE(core.isTransferLocked());
    EXPECT_EQ(core.autoCloseCountdown(), 3);
    ticks(2);
    EXPECT_EQ(closes.count(), 0);
    ticks(1);
    EXPECT_EQ(closes.count(), 1);
    ticks(5);
    EXPECT_EQ(closes.count(), 1);

    // A read the user starts later closes the window again, 3 s after its charges.
    core.startRead();
    m_clock.advance(1000);
    ticks(3);
    EXPECT_EQ(closes.count(), 2);
    EXPECT_EQ(ready.count(), 1);
}

TEST_F(StartUpTest, WithoutAutoEndACompleteReadDoesNotClose)
{
    writeSettings(QStringLiteral("[Allgemein]\r\nAnschluß=COM1\r\n"));
    AppCore& core = makeCore();
    QSignalSpy closes(&core, &AppCore::closeRequested);
    StartUp(core, m_view).run();
    m_clock.advance(1000);
    ASSERT_TRUE(core.isReady());
    ticks(10);
    EXPECT_EQ(closes.count(), 0);
}

TEST_F(StartUpTest, AnExchangeThatAnswersOnlyTheRepeatedReadShowsNoError)
{
    writeSettings(QStringLiteral("[Allgemein]\r\nAnschluß=COM1\r\nStartwartezeit=2\r\n"));
    AppCore& core = makeCore();
    m_mute = true;
    StartUp(core, m_view).run();
    m_clock.advance(140);
    m_transport->clearSent();
    ticks(9);
    EXPECT_TRUE(m_transport->sent().isEmpty());
    m_mute = false;
    ticks(1); // the time-out: the start wait time, then the repeat
    m_clock.advance(1990);
    EXPECT_TRUE(m_transport->sent().isEmpty());
    m_clock.advance(10);
    EXPECT_EQ(sentHex().value(0), QStringLiteral("83 0a 00 00"));
    m_clock.advance(1000);
    EXPECT_TRUE(core.isReady());
    EXPECT_NE(core.statusLine().colourLevel(), 2);
}

TEST_F(StartUpTest, ClockTicksEverySecond)
{
    AppCore& core = makeCore();
    QSignalSpy clock(&core, &AppCore::clockTick);
    ticks(2);
    ASSERT_EQ(clock.count(), 2);
    EXPECT_EQ(clock.at(1).at(0).toDateTime(), m_clock.now());
}

TEST_F(StartUpTest, DemoSettingsGetAPortOnlyWhenNoneIsStored)
{
    {
        AppCore& core = makeCore();
        StartUp::prepareDemoSettings(core.settings(), core.programDir(), QTime(8, 0));
        EXPECT_EQ(core.settings().port(), QStringLiteral("COM1"));
        EXPECT_EQ(core.settings().extensionName(22), QStringLiteral("Büro"));
        EXPECT_EQ(core.settings().speedDialNumber(305), QStringLiteral("040445566"));
    }
    writeSettings(QStringLiteral("[Allgemein]\r\nAnschluß=COM7\r\n"));
    AppCore& core = makeCore();
    StartUp::prepareDemoSettings(core.settings(), core.programDir(), QTime(8, 0));
    EXPECT_EQ(core.settings().port(), QStringLiteral("COM7"));
    EXPECT_EQ(core.settings().extensionName(22), QString()); // an existing installation is left alone
}

} // namespace

// A program directory nobody may write to: the program starts, reads the exchange and shows the
// charges; the reading it cannot record and the setting it cannot store are said in red, and the
// directory is left as it was.
TEST_F(StartUpTest, AReadOnlyProgramDirectoryIsReportedAndTheProgramRunsOn)
{
    writeSettings(QStringLiteral("[Allgemein]\r\nAnschluß=COM1\r\n"));
    const QString dir = m_programDir.path();
    ASSERT_TRUE(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    QFile::setPermissions(m_configHome.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                   QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
    const int failures = AsOtherUser::run([&] {
        AppCore& core = makeCore();
        StartUp(core, m_view).run();
        m_clock.advance(1000);
        int failed = core.isReady() ? 0 : 1;
        const QString history = QStringLiteral("2:Kann nicht nach %1/WinKavex.dat schreiben").arg(dir);
        failed |= core.statusLine().line() == history ? 0 : 2;
        core.settings().setStartPage(3);
        failed |= core.statusLine().line().startsWith(QStringLiteral("2:Kann nicht nach ")) ? 0 : 4;
        return failed;
    });
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("WinKavex.INI")});
}
