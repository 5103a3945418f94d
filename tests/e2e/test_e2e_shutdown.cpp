#include "E2eHarness.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>

// The program with the CAPI monitor on a controller whose release wakes no waiting thread, as the
// system's library does: SIGTERM still ends it at once and cleanly.
TEST(E2eShutdown, SigtermEndsTheProgramPromptlyWhenTheReleaseWakesNoWaiter)
{
    SimulatedExchange sim;
    ASSERT_TRUE(sim.start());
    QTemporaryDir dir;
    ProgramSetting setting = programSetting(dir);
    QProcessEnvironment& env = setting.env;
    const QString capiLog = dir.filePath(QStringLiteral("capi.log"));
    env.insert(QStringLiteral("KAVEX_CAPI_SIM_SILENT_RELEASE"), QStringLiteral("1"));
    env.insert(QStringLiteral("KAVEX_CAPI_SIM_LOG"), capiLog);
    const QString& programDir = setting.programDir;

    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(binary(QStringLiteral("winkavex")),
                  {QStringLiteral("--port"), sim.device(), QStringLiteral("--dir"), programDir});
    ASSERT_TRUE(program.waitForStarted(10000));
    // Listening: the application's LISTEN_REQ is in the controller's log.
    QDeadlineTimer up(30000);
    while (QFileInfo(capiLog).size() == 0 && !up.hasExpired())
        QThread::msleep(50);
    ASSERT_FALSE(up.hasExpired());
    QThread::msleep(1000); // the receive thread is back in its wait

    QElapsedTimer ending;
    ending.start();
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10000));
    const qint64 ms = ending.elapsed();
    std::printf("winkavex ended %lld ms after SIGTERM\n", static_cast<long long>(ms));
    EXPECT_LT(ms, 2000); // about 0.4 s on an idle machine; the old end took 4.1 s at least
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}
