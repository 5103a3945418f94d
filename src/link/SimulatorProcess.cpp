#include "link/SimulatorProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

const QString ProgramName = QStringLiteral("kavex-sim");
constexpr int StopWaitMs = 3000;

} // namespace

SimulatorProcess::SimulatorProcess(QObject* parent) : QObject(parent), m_program(defaultProgram()) {}

SimulatorProcess::~SimulatorProcess()
{
    stop();
}

QString SimulatorProcess::defaultProgram()
{
    if (QCoreApplication::instance()) {
        const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(ProgramName);
        if (QFileInfo(beside).isExecutable())
            return beside;
    }
    const QString found = QStandardPaths::findExecutable(ProgramName);
    return found.isEmpty() ? ProgramName : found;
}

bool SimulatorProcess::fail(const QString& message)
{
    m_error = message;
    stop();
    return false;
}

bool SimulatorProcess::start(const QStringList& extraArguments, int timeoutMs)
{
    stop();
    m_error.clear();
    m_dir = std::make_unique<QTemporaryDir>(QDir(QDir::tempPath()).filePath(QStringLiteral("kavex-sim-XXXXXX")));
    if (!m_dir->isValid())
        return fail(QStringLiteral("Simulierte Anlage: kein privates Verzeichnis (%1)").arg(m_dir->errorString()));
    m_linkPath = m_dir->filePath(QStringLiteral("tty"));

    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->setProgram(m_program);
    // The simulator ends with the program, even one that crashed and never called stop().
    const pid_t parent = ::getpid();
    m_process->setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(1);
    });
    m_process->setArguments(QStringList{QStringLiteral("--demo"), QStringLiteral("--link"), m_linkPath} +
                            extraArguments);
    m_process->start(QIODevice::ReadOnly);
    if (!m_process->waitForStarted(timeoutMs)) {
        return fail(QStringLiteral("Simulierte Anlage %1 kann nicht gestartet werden: %2")
                        .arg(m_program, m_process->errorString()));
    }

    // The simulator prints its device as the first line once the line is ready.
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process->canReadLine()) {
        if (m_process->state() != QProcess::Running || deadline.hasExpired() ||
            !m_process->waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())))) {
            if (m_process->canReadLine())
                break;
            return fail(QStringLiteral("Simulierte Anlage %1 meldet keine Schnittstelle").arg(m_program));
        }
    }
    m_devicePath = QString::fromLocal8Bit(m_process->readLine()).trimmed();
    if (m_devicePath.isEmpty())
        return fail(QStringLiteral("Simulierte Anlage %1 meldet keine Schnittstelle").arg(m_program));
    connect(m_process.get(), &QProcess::finished, this, &SimulatorProcess::onFinished);
    return true;
}

void SimulatorProcess::onFinished(int exitCode, QProcess::ExitStatus status)
{
    if (m_stopping)
        return;
    const QString how = status == QProcess::CrashExit ? QStringLiteral("abgestürzt")
                                                      : QStringLiteral("beendet (Status %1)").arg(exitCode);
    Q_EMIT exitedUnexpectedly(QStringLiteral("Simulierte Anlage %1").arg(how));
}

void SimulatorProcess::stop()
{
    if (m_process) {
        m_stopping = true;
        if (m_process->state() != QProcess::NotRunning) {
            m_process->terminate();
            if (!m_process->waitForFinished(StopWaitMs)) {
                m_process->kill();
                m_process->waitForFinished(StopWaitMs);
            }
        }
        m_process.reset();
        m_stopping = false;
    }
    m_dir.reset();
    m_devicePath.clear();
    m_linkPath.clear();
}

bool SimulatorProcess::isRunning() const
{
    return m_process && m_process->state() == QProcess::Running;
}

qint64 SimulatorProcess::processId() const
{
    return isRunning() ? m_process->processId() : 0;
}
