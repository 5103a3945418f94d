#include "E2eHarness.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

namespace {

// A broker of its own on 127.0.0.1 and a free port, and a subscriber to every topic.
class Broker
{
public:
    ~Broker() { stop(); }

    // The broker and the subscriber; a second start takes the same port again.
    bool start()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("mosquitto"), {QStringLiteral("/usr/sbin")}).isEmpty())
            return false;
        if (m_port == 0) {
            QTcpServer probe;
            if (!probe.listen(QHostAddress::LocalHost))
                return false;
            m_port = probe.serverPort();
        }
        QFile config(m_dir.filePath(QStringLiteral("mosquitto.conf")));
        if (!config.open(QIODevice::WriteOnly))
            return false;
        config.write(QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\npersistence false\nlog_type error\n")
                         .arg(m_port)
                         .toUtf8());
        config.close();
        m_broker.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_broker.start(QStringLiteral("/usr/sbin/mosquitto"), {QStringLiteral("-c"), config.fileName()});
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, m_port);
            if (socket.waitForConnected(200))
                break;
            QThread::msleep(100);
        }
        m_subscriber.start(QStringLiteral("mosquitto_sub"), {QStringLiteral("-h"), QStringLiteral("127.0.0.1"),
                                                             QStringLiteral("-p"), QString::number(m_port),
                                                             QStringLiteral("-t"), QStringLiteral("#"),
                                                             QStringLiteral("-v"), QStringLiteral("-q"),
                                                             QStringLiteral("1")});
        return m_subscriber.waitForStarted(5000);
    }

    void stop()
    {
        lines();
        for (QProcess* process : {&m_subscriber, &m_broker}) {
            process->terminate();
            process->waitForFinished(5000);
        }
        if (!m_seen.isEmpty() && !m_seen.endsWith('\n'))
            m_seen += '\n';
    }

    int port() const { return m_port; }

    bool publish(const QByteArray& topic, const QByteArray& payload)
    {
        QProcess pub;
        pub.start(QStringLiteral("mosquitto_pub"), {QStringLiteral("-h"), QStringLiteral("127.0.0.1"),
                                                    QStringLiteral("-p"), QString::number(m_port), QStringLiteral("-q"),
                                                    QStringLiteral("1"), QStringLiteral("-t"), QString::fromUtf8(topic),
                                                    QStringLiteral("-m"), QString::fromUtf8(payload)});
        return pub.waitForFinished(10000) && pub.exitCode() == 0;
    }

    // "topic payload" lines the subscriber has printed so far.
    QList<QByteArray> lines()
    {
        m_seen += m_subscriber.readAllStandardOutput();
        QList<QByteArray> all = m_seen.split('\n');
        all.removeLast();
        return all;
    }

    // The payloads of a topic, in order.
    QList<QByteArray> payloads(const QByteArray& topic)
    {
        QList<QByteArray> found;
        for (const QByteArray& line : lines()) {
            if (line.startsWith(topic + ' '))
                found << line.mid(topic.size() + 1);
        }
        return found;
    }

    bool waitFor(const std::function<bool()>& done, int ms)
    {
        QDeadlineTimer deadline(ms);
        while (!done() && !deadline.hasExpired()) {
            m_subscriber.waitForReadyRead(200);
        }
        return done();
    }

private:
    QTemporaryDir m_dir;
    QProcess m_broker;
    QProcess m_subscriber;
    int m_port = 0;
    QByteArray m_seen;
};

QString latin1(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes).trimmed();
}

// The headless service on the simulated exchange, with the settings' "MQTT" section appended.
void startService(QProcess& program, ProgramSetting& setting, const SimulatedExchange& sim, const QByteArray& mqtt,
                  QProcess::ProcessChannelMode channels)
{
    if (!mqtt.isEmpty()) {
        QFile settings(setting.programDir + QStringLiteral("/WinKavex.INI"));
        ASSERT_TRUE(settings.open(QIODevice::Append));
        settings.write("[MQTT]\r\n" + mqtt);
    }
    program.setProcessEnvironment(setting.env);
    program.setProcessChannelMode(channels);
    program.start(binary(QStringLiteral("winkavex")), {QStringLiteral("--headless"), QStringLiteral("--port"),
                                                       sim.device(), QStringLiteral("--dir"), setting.programDir});
    ASSERT_TRUE(program.waitForStarted(10000));
}

} // namespace

// The headless service on the demo exchange and controller, publishing to a real broker: the
// discovery configurations, "online", each incoming call with the fields of its log line, the
// ringing state, the charge reading, and "offline" after SIGTERM.
TEST(E2eMqtt, CallsAndChargesReachTheBrokerAndTheEndIsAnnounced)
{
    Broker broker;
    if (!broker.start())
        GTEST_SKIP() << "no mosquitto";
    SimulatedExchange sim;
    ASSERT_TRUE(sim.start({QStringLiteral("--demo"), QStringLiteral("--demo-interval"), QStringLiteral("2")}));
    QTemporaryDir dir;
    ProgramSetting setting = programSetting(dir);
    setting.env.insert(QStringLiteral("KAVEX_CAPI_SIM_DEMO"), QStringLiteral("3"));
    QProcess program;
    startService(program, setting, sim,
                 QStringLiteral("Server=127.0.0.1\r\nPort=%1\r\nBefehle=1\r\n").arg(broker.port()).toLatin1(),
                 QProcess::ForwardedChannels);

    const auto seenAll = [&] {
        const QList<QByteArray> ringing = broker.payloads("winkavex/ringing");
        return !broker.payloads("winkavex/call/incoming").isEmpty() && ringing.indexOf("ON") >= 0 &&
               ringing.lastIndexOf("OFF") > ringing.indexOf("ON") && !broker.payloads("winkavex/charges").isEmpty() &&
               !broker.payloads("homeassistant/binary_sensor/winkavex/ringing/config").isEmpty();
    };
    ASSERT_TRUE(broker.waitFor(seenAll, 120000)) << broker.lines().join('\n').toStdString();
    EXPECT_EQ(broker.payloads("winkavex/status").value(0), "online");

    // The call as its log line has it.
    const QJsonObject call = QJsonDocument::fromJson(broker.payloads("winkavex/call/incoming").first()).object();
    QFile log(setting.programDir + QStringLiteral("/WinKavex.in"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    bool found = false;
    for (const QByteArray& line : log.readAll().split('\n')) {
        if (latin1(line.left(19)) == call.value(QStringLiteral("time")).toString()) {
            found = true;
            EXPECT_EQ(latin1(line.mid(22, 17)), call.value(QStringLiteral("msn")).toString());
            EXPECT_EQ(latin1(line.mid(39, 37)), call.value(QStringLiteral("formatted")).toString());
            EXPECT_EQ(latin1(line.mid(76)), call.value(QStringLiteral("name")).toString());
        }
    }
    EXPECT_TRUE(found) << QJsonDocument(call).toJson().toStdString();
    EXPECT_EQ(call.value(QStringLiteral("blocked")), QJsonValue(false));
    const QJsonObject charges = QJsonDocument::fromJson(broker.payloads("winkavex/charges").last()).object();
    EXPECT_EQ(charges.value(QStringLiteral("units")).toArray().size(), 8);
    EXPECT_TRUE(charges.contains(QStringLiteral("total_cost")));
    const QJsonObject ringingConfig =
        QJsonDocument::fromJson(broker.payloads("homeassistant/binary_sensor/winkavex/ringing/config").first()).object();
    EXPECT_EQ(ringingConfig.value(QStringLiteral("availability_topic")).toString(), QStringLiteral("winkavex/status"));
    EXPECT_EQ(ringingConfig.value(QStringLiteral("unique_id")).toString(), QStringLiteral("winkavex_ringing"));

    // Commands run as jobs of the queue and are answered; anything else is refused.
    const std::pair<const char*, const char*> commands[] = {
        {"ring", "{\"extension\":29,\"seconds\":5}"}, {"ring", "kein JSON"}, {"reboot", "{}"},
        {"ring", "{\"extension\":22,\"seconds\":5}"}, {"read_charges", ""}};
    for (const auto& [command, payload] : commands)
        ASSERT_TRUE(broker.publish(QByteArray("winkavex/command/") + command, payload));
    ASSERT_TRUE(broker.waitFor([&] { return broker.payloads("winkavex/command/result").size() >= 5; }, 60000))
        << broker.lines().join('\n').toStdString();
    QStringList results;
    for (const QByteArray& result : broker.payloads("winkavex/command/result")) {
        const QJsonObject object = QJsonDocument::fromJson(result).object();
        results << object.value(QStringLiteral("command")).toString() + QLatin1Char(':') +
                       (object.value(QStringLiteral("ok")).toBool() ? QStringLiteral("ok") : QStringLiteral("refused"));
    }
    // The refusals come at once; the ring holds the queue for its five seconds, the reading follows.
    EXPECT_EQ(results, QStringList({"ring:refused", "ring:refused", "reboot:refused", "ring:ok", "read_charges:ok"}));

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(15000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(broker.waitFor([&] { return broker.payloads("winkavex/status").contains("offline"); }, 10000))
        << broker.lines().join('\n').toStdString();
}

// The broker away for 20 s while calls are logged: each call logged meanwhile arrives once it is
// back, in the order of the log, none lost and none twice; logging never waited.
TEST(E2eMqtt, CallsLoggedWhileTheBrokerIsAwayArriveInOrderWhenItIsBack)
{
    Broker broker;
    if (!broker.start())
        GTEST_SKIP() << "no mosquitto";
    SimulatedExchange sim;
    ASSERT_TRUE(sim.start({QStringLiteral("--demo"), QStringLiteral("--demo-interval"), QStringLiteral("2")}));
    QTemporaryDir dir;
    ProgramSetting setting = programSetting(dir);
    setting.env.insert(QStringLiteral("KAVEX_CAPI_SIM_DEMO"), QStringLiteral("2"));
    QProcess program;
    startService(program, setting, sim, QStringLiteral("Server=127.0.0.1\r\nPort=%1\r\n").arg(broker.port()).toLatin1(),
                 QProcess::ForwardedErrorChannel);
    ASSERT_TRUE(broker.waitFor([&] { return !broker.payloads("winkavex/call/incoming").isEmpty(); }, 120000));

    const QString in = setting.programDir + QStringLiteral("/WinKavex.in");
    broker.stop();
    const int before = recordLines(in);
    QThread::sleep(20);
    const int during = recordLines(in);
    EXPECT_GT(during, before) << "calls go on being logged while the broker is away";
    ASSERT_TRUE(broker.start());

    const auto times = [&] {
        QStringList all;
        for (const QByteArray& payload : broker.payloads("winkavex/call/incoming"))
            all << QJsonDocument::fromJson(payload).object().value(QStringLiteral("time")).toString();
        return all;
    };
    const auto logged = [&] {
        QStringList all;
        QFile log(in);
        if (log.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : log.readAll().split('\n')) {
                if (line.size() > 19 && line.at(2) == '.')
                    all << latin1(line.left(19));
            }
        }
        return all;
    };
    // Back-off after 20 s away: the next attempt comes within 32 s.
    ASSERT_TRUE(broker.waitFor([&] { return times().size() >= during; }, 90000)) << times().join(' ').toStdString();
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(15000));
    broker.waitFor([&] { return broker.payloads("winkavex/status").contains("offline"); }, 10000);
    const QStringList received = times();
    const QStringList lines = logged();
    EXPECT_EQ(received, lines.mid(0, received.size())) << received.join(' ').toStdString() << "\n"
                                                       << lines.join(' ').toStdString();
}

namespace {

bool run(const QString& program, const QStringList& args, const QString& dir)
{
    QProcess process;
    process.setWorkingDirectory(dir);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, args);
    return process.waitForFinished(60000) && process.exitCode() == 0;
}

// A certificate authority of the test's own, a server certificate for 127.0.0.1 from it, and a
// password file of the broker with the user "kavex" and the password "geheim".
bool makeCertificates(const QString& dir)
{
    const QString openssl = QStringLiteral("openssl");
    QFile ext(dir + QStringLiteral("/ext.cnf"));
    if (!ext.open(QIODevice::WriteOnly))
        return false;
    ext.write("subjectAltName=DNS:localhost,IP:127.0.0.1\n");
    ext.close();
    return run(openssl, {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.crt", "-days", "2",
                         "-subj", "/CN=WinKavex Test CA"},
               dir) &&
           run(openssl, {"req", "-newkey", "rsa:2048", "-nodes", "-keyout", "server.key", "-out", "server.csr", "-subj",
                         "/CN=127.0.0.1"},
               dir) &&
           run(openssl, {"x509", "-req", "-in", "server.csr", "-CA", "ca.crt", "-CAkey", "ca.key", "-CAcreateserial",
                         "-out", "server.crt", "-days", "2", "-extfile", "ext.cnf"},
               dir) &&
           run(QStringLiteral("mosquitto_passwd"), {"-b", "-c", "passwd", "kavex", "geheim"}, dir);
}

void writeText(const QString& path, const QByteArray& text, QFile::Permissions permissions)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    file.setPermissions(permissions);
}

} // namespace

// TLS with the test's own certificate authority and a password file: the right password connects,
// a wrong one, a password file others may read and an unknown authority are refused with a clear
// message. The service with the wrong password goes on logging and says so once, not per retry.
TEST(E2eMqtt, TlsAndPasswordsAreCheckedAndAFailureIsReportedOnce)
{
    if (QStandardPaths::findExecutable(QStringLiteral("mosquitto"), {QStringLiteral("/usr/sbin")}).isEmpty())
        GTEST_SKIP() << "no mosquitto";
    QTemporaryDir certs;
    ASSERT_TRUE(makeCertificates(certs.path()));
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const int port = probe.serverPort();
    probe.close();
    const QString c = certs.path() + QLatin1Char('/');
    writeText(c + QStringLiteral("mosquitto.conf"),
              // Started as root, the broker would drop to its own user, who cannot read the test's files.
              QStringLiteral("user root\nlistener %1 127.0.0.1\ncafile %2ca.crt\ncertfile %2server.crt\nkeyfile %2server.key\n"
                             "allow_anonymous false\npassword_file %2passwd\npersistence false\nlog_type error\n")
                  .arg(port)
                  .arg(c)
                  .toUtf8(),
              QFile::ReadOwner | QFile::WriteOwner);
    QProcess broker;
    broker.start(QStringLiteral("/usr/sbin/mosquitto"), {QStringLiteral("-c"), c + QStringLiteral("mosquitto.conf")});
    ASSERT_TRUE(broker.waitForStarted(5000));
    QDeadlineTimer up(10000);
    while (!up.hasExpired()) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(200))
            break;
        QThread::msleep(100);
    }

    QTemporaryDir dir;
    ProgramSetting setting = programSetting(dir);
    const QString ini = setting.programDir + QStringLiteral("/WinKavex.INI");
    const QString passwordFile = dir.filePath(QStringLiteral("mqtt-kennwort"));
    const auto configure = [&](const QByteArray& password, QFile::Permissions permissions, bool ownCa) {
        writeText(passwordFile, password + "\n", permissions);
        writeText(ini,
                  QStringLiteral("[Allgemein]\r\nAnschlu\u00DF=COM1\r\n[MQTT]\r\nServer=127.0.0.1\r\nPort=%1\r\nTLS=1\r\n"
                                 "%2Benutzer=kavex\r\nKennwortdatei=%3\r\n")
                      .arg(port)
                      .arg(ownCa ? QStringLiteral("CA-Datei=") + c + QStringLiteral("ca.crt\r\n") : QString())
                      .arg(passwordFile)
                      .toLatin1(),
                  QFile::ReadOwner | QFile::WriteOwner);
    };
    const QFile::Permissions own = QFile::ReadOwner | QFile::WriteOwner;
    struct Case
    {
        QByteArray password;
        QFile::Permissions permissions;
        bool ownCa;
        int exit;
        const char* says;
    };
    const Case cases[] = {
        {"geheim", own, true, 0, "MQTT: verbunden mit 127.0.0.1:"},
        {"falsch", own, true, 2, "lehnt die Anmeldung ab"},
        {"geheim", own | QFile::ReadOther, true, 1, "nur ihr Besitzer darf sie lesen"},
        {"geheim", own, false, 2, "certificate verify failed"},
    };
    for (const Case& t : cases) {
        configure(t.password, t.permissions, t.ownCa);
        const CtlRun ctl = runKavexctl({QStringLiteral("mqtt-test")}, setting.programDir, 30000, setting.env);
        EXPECT_EQ(ctl.exitCode, t.exit) << t.says << ctl.err.constData();
        EXPECT_TRUE((ctl.out + ctl.err).contains(t.says)) << t.says << ctl.out.constData() << ctl.err.constData();
    }

    // The service with the wrong password: the logs go on, the refusal is reported once.
    configure("falsch", own, true);
    SimulatedExchange sim;
    ASSERT_TRUE(sim.start({QStringLiteral("--demo"), QStringLiteral("--demo-interval"), QStringLiteral("2")}));
    setting.env.insert(QStringLiteral("KAVEX_CAPI_SIM_DEMO"), QStringLiteral("2"));
    QProcess program;
    startService(program, setting, sim, {}, QProcess::SeparateChannels);
    const QString in = setting.programDir + QStringLiteral("/WinKavex.in");
    QDeadlineTimer deadline(60000);
    while (recordLines(in) < 3 && !deadline.hasExpired())
        QThread::msleep(200);
    // Meanwhile the library has retried with its back-off (1, 2, 4 ... s).
    QThread::sleep(8);
    EXPECT_GE(recordLines(in), 3);
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(15000));
    EXPECT_EQ(program.exitCode(), 0);
    const QByteArray journal = program.readAllStandardError();
    EXPECT_EQ(journal.count("lehnt die Anmeldung ab"), 1) << journal.constData();
    broker.terminate();
    broker.waitForFinished(5000);
}
