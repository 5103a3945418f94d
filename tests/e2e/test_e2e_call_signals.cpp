#include "E2eHarness.h"
#include "charges/ChargePublisher.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QList<QByteArray> logLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines = file.readAll().split('\n');
    for (QByteArray& line : lines)
        line = line.trimmed();
    return lines.mid(3);
}

QString latin1(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes).trimmed(); // the demo names are ASCII or Windows-1252
}

} // namespace

// The program on the simulated exchange and the simulated CAPI controller, both in demo mode: a
// client of the session bus (kavexctl follow) sees each kind of call with the fields of its log line.
TEST(E2eCallSignals, FollowSeesTheCallsOfTheLogs)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no session bus";
    if (QDBusConnection::sessionBus().interface()->isServiceRegistered(ChargePublisher::ServiceName))
        GTEST_SKIP() << "a program already holds the bus name";
    SimulatedExchange sim;
    ASSERT_TRUE(sim.start({QStringLiteral("--demo"), QStringLiteral("--demo-interval"), QStringLiteral("2")}));
    QTemporaryDir dir;
    ProgramSetting setting = programSetting(dir);
    QProcessEnvironment& env = setting.env;
    env.insert(QStringLiteral("KAVEX_CAPI_SIM_DEMO"), QStringLiteral("3"));
    const QString& programDir = setting.programDir;
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(binary(QStringLiteral("winkavex")),
                  {QStringLiteral("--port"), sim.device(), QStringLiteral("--dir"), programDir});
    ASSERT_TRUE(program.waitForStarted(10000));
    QDeadlineTimer up(30000);
    while (!QDBusConnection::sessionBus().interface()->isServiceRegistered(ChargePublisher::ServiceName) &&
           !up.hasExpired())
        QThread::msleep(50);
    ASSERT_FALSE(up.hasExpired()) << program.readAllStandardError().toStdString();

    QProcess follow;
    follow.start(binary(QStringLiteral("kavexctl")), {QStringLiteral("follow"), QStringLiteral("--json")});
    ASSERT_TRUE(follow.waitForStarted(10000));
    QMap<QString, QJsonObject> first;
    QByteArray pending;
    QDeadlineTimer deadline(150000);
    while (first.size() < 3 && !deadline.hasExpired()) {
        follow.waitForReadyRead(500);
        pending += follow.readAllStandardOutput();
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QJsonObject object = QJsonDocument::fromJson(pending.left(end)).object();
            pending.remove(0, end + 1);
            const QString event = object.value(QStringLiteral("event")).toString();
            if (!first.contains(event))
                first.insert(event, object);
        }
    }
    program.terminate();
    program.waitForFinished(15000);
    follow.waitForFinished(5000);
    ASSERT_EQ(first.size(), 3) << QStringList(first.keys()).join(' ').toStdString();

    // The same fields as the lines of the logs.
    const QJsonObject in = first.value(QStringLiteral("IncomingCall"));
    bool found = false;
    for (const QByteArray& line : logLines(programDir + QStringLiteral("/WinKavex.in"))) {
        if (latin1(line.left(19)) == in.value(QStringLiteral("time")).toString()) {
            found = true;
            EXPECT_EQ(latin1(line.mid(22, 17)), in.value(QStringLiteral("msn")).toString());
            EXPECT_EQ(latin1(line.mid(39, 37)), in.value(QStringLiteral("formatted")).toString());
        }
    }
    EXPECT_TRUE(found) << "no line of " << in.value(QStringLiteral("time")).toString().toStdString();
    EXPECT_EQ(in.value(QStringLiteral("blocked")), QJsonValue(false));
    const QJsonObject done = first.value(QStringLiteral("OutgoingCallCompleted"));
    found = false;
    for (const QByteArray& line : logLines(programDir + QStringLiteral("/WinKavex.out"))) {
        if (latin1(line.left(19)) == done.value(QStringLiteral("time")).toString() && line.size() >= 109) {
            found = true;
            EXPECT_EQ(line.mid(27, 2).toInt(), done.value(QStringLiteral("extension")).toInt());
            EXPECT_EQ(latin1(line.mid(36, 22)), done.value(QStringLiteral("number")).toString());
            EXPECT_EQ(line.mid(85, 6).trimmed().toInt(), done.value(QStringLiteral("units")).toInt());
        }
    }
    EXPECT_TRUE(found) << "no completed line of " << done.value(QStringLiteral("time")).toString().toStdString();
}
