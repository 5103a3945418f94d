#include "E2eHarness.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/stat.h>

// The session without a window, with no display at all, against the demo exchange and the demo
// controller: both directions are logged, no graphics library is loaded, SIGTERM ends it cleanly.
TEST(E2eHeadless, LogsBothDirectionsWithoutADisplayAndEndsOnSigterm)
{
    SimulatedExchange sim;
    ASSERT_TRUE(sim.start({QStringLiteral("--demo"), QStringLiteral("--demo-interval"), QStringLiteral("2")}));
    QTemporaryDir dir;
    ProgramSetting setting = programSetting(dir);
    QProcessEnvironment& env = setting.env;
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("KAVEX_CAPI_SIM_DEMO"), QStringLiteral("3"));
    const QString& programDir = setting.programDir;

    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(binary(QStringLiteral("winkavex")), {QStringLiteral("--headless"), QStringLiteral("--port"),
                                                       sim.device(), QStringLiteral("--dir"), programDir});
    ASSERT_TRUE(program.waitForStarted(10000));
    const QString out = programDir + QStringLiteral("/WinKavex.out");
    const QString in = programDir + QStringLiteral("/WinKavex.in");
    QDeadlineTimer deadline(120000);
    while ((recordLines(out) == 0 || recordLines(in) == 0) && !deadline.hasExpired() &&
           program.state() == QProcess::Running)
        QThread::msleep(200);
    EXPECT_GT(recordLines(out), 0);
    EXPECT_GT(recordLines(in), 0);
    ASSERT_EQ(program.state(), QProcess::Running);

    QFile maps(QStringLiteral("/proc/%1/maps").arg(program.processId()));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const QByteArray mapped = maps.readAll();
    EXPECT_FALSE(mapped.contains("libQt6Widgets"));
    EXPECT_FALSE(mapped.contains("libQt6Gui"));
    EXPECT_TRUE(mapped.contains("libQt6Core"));

    QElapsedTimer ending;
    ending.start();
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_LT(ending.elapsed(), 2000);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

// Every program answers --help and --version without a display.
TEST(E2eHeadless, HelpAndVersionNeedNoDisplay)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    for (const char* program : {"winkavex", "kavexctl", "kavex-sim", "kavex-capi-sim"}) {
        for (const char* option : {"--help", "--version"}) {
            QProcess process;
            process.setProcessEnvironment(env);
            process.start(binary(QString::fromLatin1(program)), {QString::fromLatin1(option)});
            ASSERT_TRUE(process.waitForFinished(20000)) << program << option;
            EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << program << option;
            EXPECT_EQ(process.exitCode(), 0) << program << option;
            const QByteArray out = process.readAllStandardOutput();
            EXPECT_TRUE(std::strcmp(option, "--help") == 0 ? out.startsWith("Aufruf: ") : out.contains("5.19"))
                << program << option << out.constData();
        }
    }
}
