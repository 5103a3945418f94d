#include "PtyPeer.h"
#include "link/SimulatorProcess.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <signal.h>

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
