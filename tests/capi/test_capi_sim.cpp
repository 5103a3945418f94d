#include "CapiSimHarness.h"
#include "MockClock.h"
#include "capi/TCapiAnrufMonitor.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

// The simulated controller's demo calls and its command, in real time with wide margins.

TEST(CapiSimulator, DemoCallsArriveOneAfterAnother)
{
    CapiSim sim;
    qputenv("KAVEX_CAPI_SIM_DEMO", "1");
    MockClock clock;
    CapiLibrary library(CapiSim::libraryPath());
    TCapiAnrufMonitor monitor(clock, library);
    std::vector<TCapiAnrufNotification> calls;
    QObject::connect(&monitor, &TCapiAnrufMonitor::incomingCall,
                     [&calls](const TCapiAnrufNotification& call) { calls.push_back(call); });
    ASSERT_TRUE(monitor.StartListen(1, 0));
    ASSERT_TRUE(waitFor([&calls] { return calls.size() >= 2; }, 20000));
    qunsetenv("KAVEX_CAPI_SIM_DEMO");
    EXPECT_EQ(calls[0].CallingPartyNumber, QStringLiteral("2214711815"));
    EXPECT_EQ(calls[0].CallingTypeOfNumber, 0x21);
    EXPECT_EQ(calls[0].CalledPartyNumber, QStringLiteral("8143210"));
    EXPECT_NE(calls[1].CallingPartyNumber, calls[0].CallingPartyNumber);
}

TEST(CapiSimulator, TheCommandTellsABadCallFromAMissingController)
{
    QTemporaryDir dir;
    struct Case
    {
        QStringList args;
        int exitCode;
    } cases[] = {
        {{"call", "02214711815", "8143210"}, 2},
        {{"hangup"}, 2},
        {{"call", "0221-4711", "8143210"}, 1},
        {{"call", "02214711815"}, 1},
        {{"call", "02214711815", "8143210", "--type", "local"}, 1},
        {{"ring"}, 1},
        {{"--help"}, 0},
    };
    for (const Case& c : cases) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KAVEX_CAPI_SIM_SOCKET"), dir.filePath(QStringLiteral("nobody")));
        process.setProcessEnvironment(env);
        process.start(CapiSim::binDir() + QStringLiteral("/kavex-capi-sim"), c.args);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), c.exitCode) << c.args.join(' ').toStdString();
    }
}

// The control socket never falls back to a shared folder where another user could take its name.
TEST(CapiSimProgram, WithoutARuntimeDirectoryOfItsOwnThereIsNoSocket)
{
    QTemporaryDir dir;
    const QString shared = dir.filePath(QStringLiteral("shared"));
    QDir().mkpath(shared);
    QFile::setPermissions(shared, QFile::Permissions(0x7755));
    struct Case
    {
        QString runtimeDir; // empty: unset
        const char* says;
    } cases[] = {{QString(), "XDG_RUNTIME_DIR ist nicht gesetzt"}, {shared, "gehört nicht allein dem Benutzer"}};
    for (const Case& c : cases) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("KAVEX_CAPI_SIM_SOCKET"));
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        if (!c.runtimeDir.isEmpty())
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), c.runtimeDir);
        process.setProcessEnvironment(env);
        process.start(CapiSim::binDir() + QStringLiteral("/kavex-capi-sim"), {QStringLiteral("hangup")});
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), 2);
        EXPECT_TRUE(QString::fromUtf8(process.readAllStandardError()).contains(QString::fromUtf8(c.says))) << c.says;
    }
}
