#include "CtlLink.h"

#include "common/MessageTable.h"
#include "link/SimulatorProcess.h"
#include "shell/ProgramDirs.h"
#include "shell/Settings.h"
#include "shell/SettingsLocation.h"

#include "common/TerminationSignals.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

void ctlPrint(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

void ctlError(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

CtlLink::CtlLink(const CtlOptions& options) : m_options(options)
{
    m_link = std::make_unique<PbxLink>(m_port, m_clock, m_image);
    QObject::connect(m_link.get(), &PbxLink::status, &m_status, &StatusLine::showStatus);
    QObject::connect(m_link.get(), &PbxLink::readFinished, [this] { endRead(ExitOk); });
    QObject::connect(m_link.get(), &PbxLink::failed, [this] { endRead(ExitComm); });
    QObject::connect(m_link.get(), &PbxLink::firmwareTooOld, [this] { endRead(ExitFirmware); });
    m_signals = std::make_unique<TerminationSignals>();
    QObject::connect(m_signals.get(), &TerminationSignals::requested, [this] { interrupt(); });
}

CtlLink::~CtlLink()
{
    m_link->closePort();
}

int CtlLink::open()
{
    const ProgramDirs dirs(m_options.dir);
    Settings settings(SettingsLocation::resolve(dirs));
    QString device = m_options.port;
    QString portName = device;
    if (m_options.simulate && device.isEmpty()) {
        m_simulator = std::make_unique<SimulatorProcess>();
        if (!m_simulator->start()) {
            ctlError(QStringLiteral("kavexctl: ") + m_simulator->errorString());
            return ExitComm;
        }
        device = portName = m_simulator->devicePath();
    }
    if (device.isEmpty()) {
        portName = settings.port();
        device = settings.devicePath(portName);
        if (device.isEmpty()) {
            ctlError(MessageTable::text(Msg::InvalidPort, portName));
            return ExitUsage;
        }
    }
    m_link->setTimeoutSeconds(m_options.timeoutSeconds >= 0 ? m_options.timeoutSeconds : settings.timeOutSeconds());
    m_link->setStartWaitMs(settings.startWaitMs());
    if (!m_link->openPort(device, portName)) {
        // Most likely the desktop program: reading beside it would mix two programs' cells.
        if (m_port.wasInUse()) {
            ctlError(
                QStringLiteral("kavexctl: %1 wird von einem anderen Programm benutzt (läuft WinKavex?)").arg(device));
            return ExitUsage;
        }
        ctlError(m_status.text() + QStringLiteral(" (") + m_port.errorString() + u')');
        return ExitComm;
    }
    return ExitOk;
}

int CtlLink::read()
{
    m_readResult = -1;
    m_link->setFirstRead(true);
    m_link->startRead();
    return waitForRead();
}

int CtlLink::startUp()
{
    m_readResult = -1;
    m_link->startUp();
    return waitForRead();
}

int CtlLink::waitForRead()
{
    if (m_readResult < 0)
        run(-1);
    const int result = m_readResult;
    m_readResult = ReadDone;
    if (m_interrupted)
        return interruptedStatus();
    return result < 0 ? ExitComm : result;
}

// Only the read that a command waits for ends with a status; later charge reads (after a call,
// while events are listed) report on the link alone.
void CtlLink::endRead(int status)
{
    if (m_readResult != -1)
        return;
    if (status != ExitOk)
        ctlError(m_status.text());
    m_readResult = status;
    quit();
}

void CtlLink::run(int ms)
{
    if (m_interrupted)
        return;
    QTimer second;
    QObject::connect(&second, &QTimer::timeout, [this] { m_link->onSecond(); });
    second.start(1000);
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [this] { quit(); });
    if (ms >= 0)
        limit.start(ms);
    m_running = true;
    QCoreApplication::exec();
    m_running = false;
}

void CtlLink::quit()
{
    if (m_running)
        QCoreApplication::exit(0);
}

void CtlLink::interrupt()
{
    if (m_interrupted)
        return;
    m_interrupted = true;
    m_link->shutDown([this] { quit(); });
}

int CtlLink::interruptedStatus() const
{
    return 128 + TerminationSignals::signalNumber();
}
