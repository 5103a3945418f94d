#include "FakeTransport.h"
#include "MockClock.h"
#include "charges/IncomingCallLog.h"
#include "link/PbxLink.h"
#include "shell/AppCore.h"
#include "shell/CallHooks.h"
#include "shell/PasswordStore.h"
#include "shell/PortControl.h"
#include "shell/Settings.h"
#include "shell/StatusLine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QByteArray settingsBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An open port on a fake transport, in virtual time, with a password prompt the test answers.
class AppCoreTest : public testing::Test
{
protected:
    AppCoreTest()
    {
        auto transport = std::make_unique<FakeTransport>(m_clock);
        m_transport = transport.get();
        AppCore::Options options;
        options.programDir = m_dir.path();
        options.configHome = m_dir.path() + QStringLiteral("/config");
        options.clock = &m_clock;
        options.transport = std::move(transport);
        options.passwordIterations = 1000;
        m_core = std::make_unique<AppCore>(std::move(options), CommandLine{});
        m_core->openPort(QStringLiteral("COM1"));
        m_core->setPasswordPrompt([this](const WriteGate::Answer& answer) {
            ++m_prompts;
            answer(m_answer);
        });
        m_core->setCommitHook([this] { ++m_commits; });
    }

    // A write's first cell goes out after its first pause.
    void write()
    {
        m_core->write();
        m_clock.advance(100);
    }

    QString settingsPath() const { return m_dir.path() + QStringLiteral("/WinKavex.INI"); }

    QTemporaryDir m_dir;
    MockClock m_clock;
    FakeTransport* m_transport = nullptr;
    std::unique_ptr<AppCore> m_core;
    std::optional<QString> m_answer;
    int m_prompts = 0;
    int m_commits = 0;
};

TEST_F(AppCoreTest, WriteWithoutPasswordAsksNothingAndSends)
{
    write();
    EXPECT_EQ(m_prompts, 0);
    EXPECT_EQ(m_commits, 1);
    EXPECT_FALSE(m_transport->sent().isEmpty());
}

TEST_F(AppCoreTest, WrongPasswordSendsNothingAndShowsMessage39InRed)
{
    ASSERT_TRUE(m_core->savePassword(QStringLiteral("Kavex"), QStringLiteral("Kavex")));
    m_answer = QStringLiteral("kavex");
    write();
    EXPECT_EQ(m_prompts, 1);
    EXPECT_TRUE(m_transport->sent().isEmpty());
    EXPECT_EQ(m_commits, 0);
    EXPECT_EQ(m_core->statusLine().line(), QStringLiteral("2:Falsches Paßwort"));
    EXPECT_FALSE(m_core->isTransferLocked());
}

TEST_F(AppCoreTest, DamagedPasswordStoreRefusesWritesWithItsReasonAndAsksNothing)
{
    const QString path = PasswordStore::defaultPath(m_dir.path() + QStringLiteral("/config"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Geheim\n");
    file.close();
    m_core->passwordStore().load();

    m_answer = QStringLiteral("Geheim");
    write();
    EXPECT_EQ(m_prompts, 0);
    EXPECT_TRUE(m_transport->sent().isEmpty());
    EXPECT_EQ(m_core->statusLine().line(), QStringLiteral("2:Unbekanntes Format in ") + path);
    EXPECT_EQ(m_core->statusLine().colourLevel(), 2);

    // A password saved over it works again.
    ASSERT_TRUE(m_core->savePassword(QStringLiteral("Neu"), QStringLiteral("Neu")));
    m_answer = QStringLiteral("Neu");
    write();
    EXPECT_EQ(m_prompts, 1);
}

TEST_F(AppCoreTest, CancelledPasswordSendsNothingAndSaysNothing)
{
    ASSERT_TRUE(m_core->savePassword(QStringLiteral("Kavex"), QStringLiteral("Kavex")));
    m_core->statusLine().showStatus(0);
    m_answer.reset();
    write();
    EXPECT_TRUE(m_transport->sent().isEmpty());
    EXPECT_TRUE(m_core->statusLine().text().isEmpty());
}

TEST_F(AppCoreTest, RightPasswordWritesAndAnEmptyPairRemovesIt)
{
    ASSERT_TRUE(m_core->savePassword(QStringLiteral("Kavex"), QStringLiteral("Kavex")));
    m_answer = QStringLiteral("Kavex");
    write();
    EXPECT_EQ(m_commits, 1);
    EXPECT_FALSE(m_transport->sent().isEmpty());

    ASSERT_TRUE(m_core->savePassword(QString(), QString()));
    m_transport->clearSent();
    write();
    EXPECT_EQ(m_prompts, 1);
    EXPECT_FALSE(m_transport->sent().isEmpty());
}

TEST_F(AppCoreTest, MismatchedRepetitionShowsMessage40AndStoresNothing)
{
    QSignalSpy changed(m_core.get(), &AppCore::passwordChanged);
    EXPECT_FALSE(m_core->savePassword(QStringLiteral("eins"), QStringLiteral("zwei")));
    EXPECT_EQ(m_core->statusLine().line(), QStringLiteral("2:Paßwort-Wiederholung stimmt nicht"));
    EXPECT_FALSE(m_core->passwordStore().isSet());
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(AppCoreTest, StartWaitTimeOutsideOneToThirtyIsRejectedWithMessage56)
{
    for (const char* text : {"0", "31", "-1", "abc", ""}) {
        m_core->statusLine().showStatus(0);
        EXPECT_FALSE(m_core->port().setStartWaitText(QString::fromLatin1(text))) << text;
        EXPECT_EQ(m_core->statusLine().line(), QStringLiteral("2:Ungültige Wartezeit")) << text;
    }
    EXPECT_TRUE(settingsBytes(settingsPath()).isEmpty());

    m_core->statusLine().showStatus(56, StatusLevel::Error);
    EXPECT_TRUE(m_core->port().setStartWaitText(QStringLiteral("30")));
    EXPECT_TRUE(m_core->statusLine().text().isEmpty());
    EXPECT_EQ(m_core->settings().startWaitSeconds(), 30);
    EXPECT_TRUE(settingsBytes(settingsPath()).contains("StartWartezeit=30\r\n"));
}

TEST_F(AppCoreTest, PortChangeStoresThePortAndReopensIt)
{
    m_core->port().change(3);
    EXPECT_EQ(m_core->portName(), QStringLiteral("COM3"));
    EXPECT_EQ(m_transport->openedPath(), QStringLiteral("/dev/ttyS2"));
    EXPECT_TRUE(m_transport->isOpen());
    EXPECT_TRUE(settingsBytes(settingsPath())
                    .contains("Anschlu\xDF"
                              "=COM3\r\n"));

    m_transport->setOpenFails(true);
    m_core->port().change(3);
    EXPECT_EQ(m_core->statusLine().line(), QStringLiteral("2:Schnittstelle COM3 kann nicht geöffnet werden"));
}

TEST_F(AppCoreTest, ShutdownFlagOnlyWhenTheProgramEndsFromTheTray)
{
    struct Case
    {
        bool hidden;
        bool quit;
        bool flag;
    };
    for (const Case& c :
         {Case{true, false, false}, Case{false, false, false}, Case{false, true, false}, Case{true, true, true}}) {
        auto transport = std::make_unique<FakeTransport>(m_clock);
        AppCore::Options options;
        options.programDir = m_dir.path();
        options.configHome = m_dir.path();
        options.clock = &m_clock;
        options.transport = std::move(transport);
        AppCore core(std::move(options), CommandLine{});
        bool closed = false;
        core.closeQuery(c.hidden, c.quit, [&closed] { closed = true; });
        EXPECT_EQ(core.isShuttingDown(), c.flag) << c.hidden << c.quit;
        m_clock.advance(190);
        EXPECT_FALSE(closed);
        m_clock.advance(10);
        EXPECT_TRUE(closed);
    }
}

TEST_F(AppCoreTest, ShutdownStopsTheTimerAndClosesThePort)
{
    m_core->startTimer();
    ASSERT_TRUE(m_core->isTimerRunning());
    m_core->shutdown();
    EXPECT_FALSE(m_core->isTimerRunning());
    EXPECT_FALSE(m_transport->isOpen());
}

TEST_F(AppCoreTest, RefusedSettingsWriteIsShownInRed)
{
    // A directory where the settings file should be: no one, root included, can write it.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("WinKavex.INI")));
    m_core->settings().setStartPage(3);
    EXPECT_EQ(m_core->statusLine().colourLevel(), 2);
    EXPECT_TRUE(m_core->statusLine().text().startsWith(QStringLiteral("Kann nicht nach ")));
}

} // namespace

// The real duties sit in their places of the tick: the reply time-out ends a read before the
// clock of the same tick is shown.
TEST_F(AppCoreTest, TheReplyTimeOutRunsBeforeTheClockInTheSameTick)
{
    m_core->link().setFirstRead(false);
    m_core->startRead();
    QStringList order;
    QObject::connect(&m_core->statusLine(), &StatusLine::changed, [&] { order << m_core->statusLine().line(); });
    QObject::connect(m_core.get(), &AppCore::clockTick, [&] { order << QStringLiteral("clock"); });
    for (int i = 0; i < 10; ++i) {
        m_clock.advance(1000);
        m_core->onSecond();
    }
    ASSERT_GE(order.size(), 2);
    EXPECT_EQ(order.at(order.size() - 2), QStringLiteral("2:Kommunikationsfehler auf Schnittstelle COM1"));
    EXPECT_EQ(order.last(), QStringLiteral("clock"));
}

// The hooks of the configuration folder hear of a logged call, named from the chosen address book.
TEST_F(AppCoreTest, AHookHearsOfACallNamedFromTheAddressBook)
{
    const QString hooks = m_dir.path() + QStringLiteral("/config/WinKavex/hooks");
    ASSERT_TRUE(QDir().mkpath(hooks));
    QFile::setPermissions(hooks, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString heard = m_dir.filePath(QStringLiteral("heard.txt"));
    QFile hook(hooks + QStringLiteral("/incoming-call"));
    ASSERT_TRUE(hook.open(QIODevice::WriteOnly));
    hook.write("#!/bin/sh\nprintf '%s|%s' \"$KAVEX_CALLER\" \"$KAVEX_NAME\" > '" + heard.toUtf8() + "'\n");
    hook.close();
    hook.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile cards(m_dir.filePath(QStringLiteral("kontakte.vcf")));
    ASSERT_TRUE(cards.open(QIODevice::WriteOnly));
    cards.write("BEGIN:VCARD\nVERSION:3.0\nFN:Erika Mustermann\nTEL:+49 221 445566\nEND:VCARD\n");
    cards.close();

    m_core->setAddressBookFile(cards.fileName());
    EXPECT_EQ(m_core->statusLine().text(), QStringLiteral("Telefonbuch: 1 Karten mit 1 Nummern gelesen"));
    m_core->incomingCalls().onIncomingCall(QStringLiteral("221445566"), QStringLiteral("4711"), 0x21);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_core->callHooks().runningCount() == 0; }, 20000));
    EXPECT_EQ(settingsBytes(heard), QByteArray("0221445566|Erika Mustermann"));
}
