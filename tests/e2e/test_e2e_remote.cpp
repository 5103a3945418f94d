#include "E2eHarness.h"
#include "charges/ChargePublisher.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

namespace {

// kavexctl in the environment of the program, so that both see the same bus and password store.
struct Ctl
{
    QProcessEnvironment env;
    QString programDir;

    CtlRun run(const QStringList& args, const QByteArray& input = {}) const
    {
        return runKavexctl(args, programDir, 60000, env, input);
    }
};

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// While the service holds the port, kavexctl's commands run as jobs of its queue: each prints what
// kavexctl alone prints once the service has ended, with the same exit status, and a recorded
// charge reading leaves one history line, not two.
TEST(E2eRemote, CommandsThroughTheServiceAnswerAsKavexctlAlone)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no session bus";
    if (QDBusConnection::sessionBus().interface()->isServiceRegistered(ChargePublisher::ServiceName))
        GTEST_SKIP() << "a program already holds the bus name";
    SimulatedExchange sim;
    ASSERT_TRUE(sim.start());
    QTemporaryDir dir;
    ProgramSetting setting = programSetting(dir);
    setting.env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    const Ctl ctl{setting.env, setting.programDir};
    const QString history = setting.programDir + QStringLiteral("/WinKavex.dat");

    QProcess service;
    service.setProcessEnvironment(setting.env);
    service.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    service.start(binary(QStringLiteral("winkavex")), {QStringLiteral("--headless"), QStringLiteral("--port"),
                                                       sim.device(), QStringLiteral("--dir"), setting.programDir});
    ASSERT_TRUE(service.waitForStarted(10000));
    QDeadlineTimer up(30000);
    while (!QDBusConnection::sessionBus().interface()->isServiceRegistered(ChargePublisher::ServiceName) &&
           !up.hasExpired())
        QThread::msleep(50);
    ASSERT_TRUE(QDBusConnection::sessionBus().interface()->isServiceRegistered(ChargePublisher::ServiceName));

    const QList<QStringList> commands{{QStringLiteral("charges"), QStringLiteral("--json")},
                                      {QStringLiteral("read")},
                                      {QStringLiteral("speeddials")}};
    QList<CtlRun> remote;
    for (const QStringList& command : commands)
        remote.append(ctl.run(command));
    const QByteArray historyBefore = fileBytes(history);
    const CtlRun recorded = ctl.run({QStringLiteral("charges"), QStringLiteral("--record")});
    EXPECT_EQ(recorded.exitCode, 0) << recorded.err.constData();
    // The counters did not change since the start-up reading: nothing new to record.
    EXPECT_EQ(fileBytes(history), historyBefore);
    EXPECT_EQ(recordLines(history), 1);

    // A write with a password set after the service started: the wrong one sends nothing.
    const QString file = dir.filePath(QStringLiteral("saved.KVX"));
    ASSERT_EQ(ctl.run({QStringLiteral("read"), QStringLiteral("--save"), file}).exitCode, 0);
    ASSERT_EQ(ctl.run({QStringLiteral("password"), QStringLiteral("--password-stdin")}, "\nKavex\nKavex\n").exitCode,
              0);
    const QStringList write{QStringLiteral("write"), file, QStringLiteral("--password-stdin")};
    const qsizetype cellsBefore = sim.cells().size();
    const CtlRun refused = ctl.run(write, "kavex\n");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(QString::fromUtf8(refused.err).contains(QStringLiteral("Falsches Paßwort"))) << refused.err.constData();
    EXPECT_EQ(sim.cells().size(), cellsBefore);
    const CtlRun written = ctl.run(write, "Kavex\n");
    EXPECT_EQ(written.exitCode, 0) << written.err.constData();
    EXPECT_GT(sim.cells().size(), cellsBefore);

    const CtlRun ring =
        ctl.run({QStringLiteral("ring"), QStringLiteral("22"), QStringLiteral("--seconds"), QStringLiteral("5")});
    EXPECT_EQ(ring.exitCode, 0) << ring.err.constData();
    // Beside the service, nobody else may open the port.
    const CtlRun beside = ctl.run({QStringLiteral("--port"), sim.device(), QStringLiteral("charges")});
    EXPECT_NE(beside.exitCode, 0);

    ::kill(static_cast<pid_t>(service.processId()), SIGTERM);
    ASSERT_TRUE(service.waitForFinished(10000));
    EXPECT_EQ(service.exitCode(), 0);
    ASSERT_FALSE(QDBusConnection::sessionBus().interface()->isServiceRegistered(ChargePublisher::ServiceName));

    for (int i = 0; i < commands.size(); ++i) {
        const CtlRun alone = ctl.run(QStringList{QStringLiteral("--port"), sim.device()} + commands[i]);
        EXPECT_EQ(remote[i].exitCode, 0) << commands[i].join(' ').toStdString() << remote[i].err.constData();
        EXPECT_EQ(remote[i].exitCode, alone.exitCode) << commands[i].join(' ').toStdString();
        EXPECT_EQ(remote[i].out, alone.out) << commands[i].join(' ').toStdString();
        EXPECT_FALSE(alone.out.isEmpty());
    }
}
