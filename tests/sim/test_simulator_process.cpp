#include "PtyPeer.h"
#include "link/SimulatorProcess.h"

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString simProgram()
{
    return qEnvironmentVariable("KAVEX_BIN_DIR") + QStringLiteral("/kavex-sim");
}

} // namespace

TEST(SimulatorProcess, StartsTheSimulatorAndStopsItAgain)
{
    SimulatorProcess sim;
    sim.setProgram(simProgram());
    ASSERT_TRUE(sim.start({}, 10000)) << qPrintable(sim.errorString());
    EXPECT_TRUE(sim.isRunning());
    EXPECT_TRUE(sim.errorString().isEmpty());
    EXPECT_EQ(QFileInfo(sim.linkPath()).symLinkTarget(), sim.devicePath());

    PtyPeer peer(sim.devicePath());
    ASSERT_TRUE(peer.isOpen());
    ASSERT_TRUE(peer.write(QByteArray::fromHex("830A0000")));
    const QByteArray reply = peer.read(300, 5000);
    ASSERT_EQ(reply.size(), 300);
    EXPECT_EQ(reply.left(2), QByteArray::fromHex("0317"));
    peer.close();

    const QString link = sim.linkPath();
    sim.stop();
    EXPECT_FALSE(sim.isRunning());
    EXPECT_FALSE(QFileInfo::exists(link));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST(SimulatorProcess, FailuresToStartAreReportedAsText)
{
    struct Case
    {
        QString program;
        QStringList arguments;
    };
    const Case cases[] = {
        {QStringLiteral("/nonexistent/kavex-sim"), {}},                        // no such program
        {QStringLiteral("/bin/true"), {}},                                     // ends without a device
        {simProgram(), {QStringLiteral("--extensions"), QStringLiteral("9")}}, // refuses its arguments
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.program));
        SimulatorProcess sim;
        sim.setProgram(c.program);
        EXPECT_FALSE(sim.start(c.arguments, 10000));
        EXPECT_FALSE(sim.errorString().isEmpty());
        EXPECT_TRUE(sim.devicePath().isEmpty());
        EXPECT_FALSE(sim.isRunning());
    }
}

TEST(SimulatorProcess, ReportsASimulatorThatDies)
{
    SimulatorProcess sim;
    sim.setProgram(simProgram());
    ASSERT_TRUE(sim.start({}, 10000));
    QSignalSpy spy(&sim, &SimulatorProcess::exitedUnexpectedly);
    ASSERT_GT(sim.processId(), 0);
    ::kill(static_cast<pid_t>(sim.processId()), SIGKILL);
    ASSERT_TRUE(spy.wait(10000));
    EXPECT_FALSE(spy.first().first().toString().isEmpty());
    EXPECT_FALSE(sim.isRunning());
}

TEST(SimulatorProcess, StoppingIsNotReportedAsADeath)
{
    SimulatorProcess sim;
    sim.setProgram(simProgram());
    ASSERT_TRUE(sim.start({}, 10000));
    QSignalSpy spy(&sim, &SimulatorProcess::exitedUnexpectedly);
    sim.stop();
    EXPECT_FALSE(spy.wait(300));
}

// A program that dies without stopping its simulator (a crash, SIGKILL) leaves none running. The
// program is a child of the test, killed as soon as its simulator is up.
TEST(SimulatorProcess, TheSimulatorEndsWhenItsProgramIsGone)
{
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t program = ::fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        SimulatorProcess sim;
        sim.setProgram(simProgram());
        const qint64 pid = sim.start({}, 10000) ? sim.processId() : 0;
        [[maybe_unused]] const auto written = ::write(pipeFds[1], &pid, sizeof pid);
        ::raise(SIGKILL);
    }
    ::close(pipeFds[1]);
    qint64 simulator = 0;
    ASSERT_EQ(::read(pipeFds[0], &simulator, sizeof simulator), static_cast<ssize_t>(sizeof simulator));
    ::close(pipeFds[0]);
    ::waitpid(program, nullptr, 0);
    ASSERT_GT(simulator, 0);
    auto gone = [simulator] {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(simulator));
        if (!stat.open(QIODevice::ReadOnly))
            return true;
        const QByteArray text = stat.readAll();
        return text.mid(text.lastIndexOf(')') + 2, 1) == "Z";
    };
    const bool ended = QTest::qWaitFor(gone, 10000);
    if (!ended)
        ::kill(static_cast<pid_t>(simulator), SIGKILL);
    EXPECT_TRUE(ended);
}
