#include "E2eHarness.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>
#include <sys/stat.h>

QString binary(const QString& name)
{
    return qEnvironmentVariable("KAVEX_BIN_DIR") + u'/' + name;
}

SimulatedExchange::SimulatedExchange() = default;

SimulatedExchange::~SimulatedExchange()
{
    stop();
}

bool SimulatedExchange::start(const QStringList& args)
{
    m_process.setProgram(binary(QStringLiteral("kavex-sim")));
    m_process.setArguments(QStringList{QStringLiteral("--link"), path(QStringLiteral("pty")), QStringLiteral("--log"),
                                       path(QStringLiteral("cells.log"))} +
                           args);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start();
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000 && !m_process.canReadLine() && m_process.state() != QProcess::NotRunning)
        m_process.waitForReadyRead(100);
    m_device = QString::fromLocal8Bit(m_process.readLine().trimmed());
    EXPECT_FALSE(m_device.isEmpty()) << m_process.readAllStandardError().constData();
    return !m_device.isEmpty();
}

void SimulatedExchange::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
        kill();
}

void SimulatedExchange::kill()
{
    m_process.kill();
    m_process.waitForFinished(5000);
}

QList<SimulatedExchange::Cell> SimulatedExchange::cells() const
{
    QFile file(m_dir.filePath(QStringLiteral("cells.log")));
    QList<Cell> cells;
    if (!file.open(QIODevice::ReadOnly))
        return cells;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.size() < 13)
            continue;
        cells.append({QTime::fromString(QString::fromLatin1(line.left(12)), QStringLiteral("hh:mm:ss.zzz")),
                      QByteArray::fromHex(line.mid(13))});
    }
    return cells;
}

CtlRun runKavexctl(const QStringList& args, const QString& programDir, int timeoutMs, const QProcessEnvironment& env,
                   const QByteArray& input)
{
    QProcess process;
    if (!env.isEmpty())
        process.setProcessEnvironment(env);
    process.setProgram(binary(QStringLiteral("kavexctl")));
    process.setArguments(QStringList{QStringLiteral("--dir"), programDir} + args);
    QElapsedTimer timer;
    timer.start();
    process.start();
    process.write(input);
    // A command that reads standard input ends at its end instead of waiting for the time-out.
    process.closeWriteChannel();
    CtlRun run;
    run.finished = process.waitForFinished(timeoutMs);
    run.elapsedMs = timer.elapsed();
    if (!run.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

int recordLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    int count = 0;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QByteArray date = line.startsWith("| ") ? line.mid(2) : line;
        count += date.size() > 19 && date.at(2) == '.' && date.at(5) == '.';
    }
    return count;
}

ConfigImage sampleImage(int major, int minor, int count)
{
    ConfigImage image;
    for (int i = 0; i < ConfigImage::Size; ++i)
        image[i] = static_cast<quint8>((i * 7 + 3) % 251);
    image[0] = 23;
    image[2] = static_cast<quint8>(count);
    image[4] = static_cast<quint8>(major);
    image[5] = static_cast<quint8>(minor);
    image[300] = 22;
    image[800] = 21;
    return image;
}

bool writeImageFile(const QString& path, const ConfigImage& image)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(image.toByteArray()) == ConfigImage::Size;
}

ProgramSetting programSetting(const QTemporaryDir& dir)
{
    ProgramSetting setting;
    const QString runtime = dir.filePath(QStringLiteral("run"));
    setting.programDir = dir.filePath(QStringLiteral("program"));
    for (const QString& folder : {runtime, setting.programDir}) {
        EXPECT_TRUE(QDir().mkpath(folder));
        ::chmod(QFile::encodeName(folder).constData(), 0700);
    }
    QFile settings(setting.programDir + QStringLiteral("/WinKavex.INI"));
    EXPECT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Allgemein]\r\nAnschlu\xdf=COM1\r\n");
    setting.env = QProcessEnvironment::systemEnvironment();
    setting.env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    setting.env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    setting.env.insert(QStringLiteral("WINKAVEX_CAPI_LIBRARY"), binary(QStringLiteral("libkavex-capi-sim.so")));
    setting.env.insert(QStringLiteral("KAVEX_CAPI_SIM_SOCKET"), dir.filePath(QStringLiteral("capi-sim")));
    return setting;
}
