#include "DefaultImage.h"
#include "PtyPeer.h"
#include "link/Cells.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <signal.h>

namespace {

QString simProgram()
{
    return qEnvironmentVariable("KAVEX_BIN_DIR") + QStringLiteral("/kavex-sim");
}

// kavex-sim started with a link in a temporary directory; stopped with SIGTERM at the end.
class RunningSim
{
public:
    explicit RunningSim(QStringList arguments)
    {
        m_link = m_dir.filePath(QStringLiteral("tty"));
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(simProgram(), QStringList{QStringLiteral("--link"), m_link} + arguments);
        if (m_process.waitForStarted(10000) && m_process.waitForReadyRead(10000))
            m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~RunningSim()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
    }
    QString device() const { return m_device; }
    QString link() const { return m_link; }
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QProcess& process() { return m_process; }

    // User and system clock ticks the simulator has used so far.
    long cpuTicks() const
    {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(m_process.processId()));
        if (!stat.open(QIODevice::ReadOnly))
            return -1;
        const QList<QByteArray> fields = stat.readAll().split(')').last().split(' ');
        return fields.size() > 13 ? fields[12].toLong() + fields[13].toLong() : -1;
    }

private:
    QTemporaryDir m_dir;
    QString m_link;
    QString m_device;
    QProcess m_process;
};

QByteArray request(const QString& device, const char* hex, int replyBytes, int timeoutMs = 5000)
{
    PtyPeer peer(device);
    peer.write(QByteArray::fromHex(hex));
    return peer.read(replyBytes, timeoutMs);
}

} // namespace

TEST(SimProgram, HelpAndBadArguments)
{
    QProcess help;
    help.start(simProgram(), {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(10000));
    EXPECT_EQ(help.exitCode(), 0);
    const QString text = QString::fromUtf8(help.readAllStandardOutput());
    for (const char* word : {"--link", "--image", "--firmware", "--extensions", "--baud", "--log", "--mute", "--demo"})
        EXPECT_TRUE(text.contains(QLatin1String(word))) << word;

    for (const QStringList& bad :
         {QStringList{QStringLiteral("--firmware"), QStringLiteral("2")},
          QStringList{QStringLiteral("--baud"), QStringLiteral("fast")}, QStringList{QStringLiteral("--log")},
          QStringList{QStringLiteral("--image"), QStringLiteral("/nonexistent.kvx")}}) {
        QProcess p;
        p.start(simProgram(), QStringList{QStringLiteral("--link"), QStringLiteral("/nonexistent/tty")} + bad);
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitCode(), 1) << qPrintable(bad.join(' '));
        EXPECT_FALSE(p.readAllStandardError().isEmpty());
    }
}

TEST(SimProgram, LogsEveryCellWithItsTime)
{
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("blocks.log"));
    RunningSim sim({QStringLiteral("--log"), log});
    ASSERT_FALSE(sim.device().isEmpty());
    {
        PtyPeer peer(sim.device());
        peer.write(QByteArray::fromHex("830A0000"));
        EXPECT_EQ(peer.read(300, 5000).size(), 300);
        peer.write(QByteArray::fromHex("03DD004E"));
        QThread::msleep(40);
        peer.write(QByteArray::fromHex("832BC719"));
        peer.read(1, 300);
    }
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 4);
    const QRegularExpression stamp(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d "));
    const char* cells[] = {"83 0A 00 00", "03 DD 00 4E", "83 2B C7 19"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(stamp.match(QString::fromLatin1(lines[i])).hasMatch()) << lines[i].constData();
        EXPECT_EQ(lines[i].mid(13), QByteArray(cells[i]));
    }
    EXPECT_TRUE(lines[3].isEmpty());
}

TEST(SimProgram, StartsFromAConfigurationFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.kvx"));
    ConfigImage image = DefaultImage::build(200, 8);
    image[7] = 0x21; // MSN 1 begins "12"
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(image.toByteArray() + QByteArray(100, 'x')); // longer files load their first 1024 bytes
    file.close();

    RunningSim sim({QStringLiteral("--image"), path, QStringLiteral("--extensions"), QStringLiteral("3")});
    ASSERT_FALSE(sim.device().isEmpty());
    const QByteArray payload = Cells::compacted(request(sim.device(), "830A0000", 300), 300);
    EXPECT_EQ(quint8(payload[2]), 3);
    EXPECT_EQ(quint8(payload[4]), 2);
    EXPECT_EQ(quint8(payload[7]), 0x21);

    QFile shortFile(dir.filePath(QStringLiteral("short.kvx")));
    ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
    shortFile.write(image.toByteArray().left(1000));
    shortFile.close();
    QProcess p;
    p.start(simProgram(), {QStringLiteral("--image"), shortFile.fileName(), QStringLiteral("--link"),
                           dir.filePath(QStringLiteral("tty2"))});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_FALSE(QFileInfo(dir.filePath(QStringLiteral("tty2"))).isSymLink());
}

TEST(SimProgram, SurvivesProgramsThatComeAndGoWithoutSpinning)
{
    RunningSim sim({QStringLiteral("--demo"), QStringLiteral("--seed"), QStringLiteral("1")});
    ASSERT_FALSE(sim.device().isEmpty());
    for (int i = 0; i < 3; ++i) {
        PtyPeer peer(sim.link());
        peer.write(QByteArray::fromHex("83060000"));
        peer.read(10, 2000); // leave in the middle of the reply
    }
    const long before = sim.cpuTicks();
    QThread::msleep(1500);
    const long used = sim.cpuTicks() - before;
    EXPECT_LT(used, 50) << "clock ticks in 1.5 s without a program"; // 100 ticks = one busy core

    EXPECT_EQ(request(sim.link(), "83080000", 500).size(), 500);
    EXPECT_EQ(sim.process().state(), QProcess::Running);
}

TEST(SimProgram, EndsOnSignalsAndRemovesItsLink)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        RunningSim sim({});
        ASSERT_FALSE(sim.device().isEmpty());
        ASSERT_TRUE(QFileInfo(sim.link()).isSymLink());
        PtyPeer peer(sim.link()); // a program still holding the line
        ::kill(static_cast<pid_t>(sim.process().processId()), signal);
        ASSERT_TRUE(sim.process().waitForFinished(5000)) << signal;
        EXPECT_EQ(sim.process().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(sim.process().exitCode(), 0);
        EXPECT_FALSE(QFileInfo(sim.link()).isSymLink());
    }
}
