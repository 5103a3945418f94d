#include "shell/AppCore.h"
#include "shell/AppCoreParts.h"

#include <QTimer>

#include <algorithm>

namespace {

constexpr int AutoCloseSeconds = 3;
constexpr int CloseQueryPauseMs = 200;

} // namespace

AppCore::AppCore(Options options, CommandLine commandLine, QObject* parent)
    : QObject(parent), m_parts(std::make_unique<Parts>(options)), m_commandLine(std::move(commandLine))
{
    m_parts->timer.setInterval(1000);
    connect(&m_parts->timer, &QTimer::timeout, this, &AppCore::onSecond);
    connectStatus();
    setUpSecondTick();
    m_parts->base.setWatchWriter([this](int m, bool on) { m_parts->settings.setWatchMsn(m, on); });
    if (m_commandLine.debug) {
        if (auto* port = qobject_cast<TComm32*>(m_parts->transport.get()))
            port->setCommsLogFileName(m_parts->programDir + QStringLiteral("/winkavex.debug"));
    }
    connectLink();
    connectFeatures();
    connectCallers();
}

AppCore::~AppCore()
{
    m_parts->timer.stop();
    m_parts->link.closePort();
}

// Every feature reports through values or signals; the status line is the shell's.
void AppCore::connectStatus()
{
    StatusLine& status = m_parts->status;
    connect(&m_parts->link, &PbxLink::status, &status, &StatusLine::showStatus);
    connect(&m_parts->speedDialTransfer, &SpeedDialTransfer::status, &status, &StatusLine::showStatus);
    connect(&m_parts->chargeUpdate, &ChargeUpdate::status, &status, &StatusLine::showStatus);
    connect(&m_parts->chargeUpdate, &ChargeUpdate::statusText, &status, &StatusLine::showText);
    connect(&m_parts->timeControl, &TimeControl::status, &status, &StatusLine::showStatus);
    connect(&m_parts->outgoing, &OutgoingCallLog::statusText, &status, &StatusLine::showText);
    connect(&m_parts->incoming, &IncomingCallLog::statusText, &status, &StatusLine::showText);
    connect(&m_parts->printout, &Printout::status, &status, &StatusLine::showStatus);
    connect(&m_parts->printout, &Printout::statusText, &status, &StatusLine::showText);
    // A refused settings write is shown where every failure is: the status line, in red.
    connect(&m_parts->settings, &Settings::writeFailed, this,
            [&status](const QString& message) { status.showText(StatusLevel::Error, message); });
}

void AppCore::connectLink()
{
    PbxLink& link = m_parts->link;
    connect(&link, &PbxLink::progressChanged, this, &AppCore::progressChanged);
    connect(&m_parts->transferLock, &TransferLock::changed, this, &AppCore::transferLockChanged);
    connect(&link, &PbxLink::baseReceived, this, &AppCore::onBaseReceived);
    connect(&link, &PbxLink::extensionsReceived, this, &AppCore::onExtensionsReceived);
    connect(&link, &PbxLink::chargesReceived, &m_parts->chargeUpdate, &ChargeUpdate::run);
    connect(&m_parts->chargeUpdate, &ChargeUpdate::updated, this, &AppCore::chargesDecoded);
    connect(&link, &PbxLink::readFinished, this, &AppCore::onReadFinished);
    connect(&link, &PbxLink::imageRestored, this, &AppCore::decodeConfiguration);
    connect(&link, &PbxLink::firmwareTooOld, this, [this] {
        m_firmwareTooOld = true;
        Q_EMIT firmwareTooOld();
    });
}

void AppCore::connectFeatures()
{
    OutgoingCallLog& outgoing = m_parts->outgoing;
    outgoing.setSpontaneousTrunkAccess(
        [this](int extension) { return ImageLayout::spontaneousTrunkAccess(m_parts->image, extension); });
    const auto areaLookup = [this](const QString& number) -> std::optional<std::pair<QString, QString>> {
        const std::optional<VorwahlLibrary::Lookup> found = m_parts->vorwahl.lookup(number);
        if (!found)
            return std::nullopt;
        return std::pair{found->formatted, found->place};
    };
    outgoing.setAreaLookup(areaLookup);
    IncomingCallLog& incoming = m_parts->incoming;
    incoming.setAreaLookup(areaLookup);
    incoming.setFilter([this](const QString& called) {
        const Settings& settings = m_parts->settings;
        QStringList numbers;
        QList<bool> watched;
        for (int m = 0; m < Settings::kMsnCount; ++m) {
            numbers << m_parts->base.msnNumber(m).text;
            watched << settings.watchMsn(m);
        }
        return IncomingRecord::isWatched(called, settings.watchAll(), numbers, watched);
    });
    m_parts->notification.setEnabled(m_parts->settings.notifyCalls());
    connect(&incoming, &IncomingCallLog::logged, &m_parts->notification, &CallNotification::notify);
    connect(&m_parts->link, &PbxLink::stateEventRecord, this,
            [this](const EventRecord&, const StateEvents::Effect& effect) { m_parts->signalling.showLamps(effect); });
    connect(&m_parts->link, &PbxLink::stateEventChunk, &m_parts->signalling, &DiagnosisSignalling::onChunk);
    connect(&m_parts->link.stateEvents(), &StateEvents::displayChanged, this, &AppCore::dialledNumberChanged);
    TimeControl& timeControl = m_parts->timeControl;
    connect(&timeControl, &TimeControl::configurationLoaded, this, &AppCore::decodeConfiguration);
    connect(&timeControl, &TimeControl::writeRequested, this, &AppCore::writeLoaded);
    connect(this, &AppCore::readyChanged, this, [this](bool ready) {
        m_parts->timeControl.setReady(ready);
        m_parts->wakeUp.setReady(ready);
    });
}

// The logs ask the address book by number and tell the hooks of each call; neither knows the other.
void AppCore::connectCallers()
{
    const auto nameFor = [this](const QString& number) { return m_parts->callerNames.nameFor(number); };
    m_parts->incoming.setNameLookup(nameFor);
    m_parts->outgoing.setNameLookup(nameFor);
    CallHooks& hooks = m_parts->hooks;
    connect(&m_parts->incoming, &IncomingCallLog::logged, &hooks, &CallHooks::onIncomingCall);
    connect(&m_parts->outgoing, &OutgoingCallLog::begun, &hooks, &CallHooks::onOutgoingBegun);
    connect(&m_parts->outgoing, &OutgoingCallLog::completed, &hooks, &CallHooks::onOutgoingCompleted);
    connect(&hooks, &CallHooks::statusText, &m_parts->status, &StatusLine::showText);
    connect(this, &AppCore::readyChanged, this, [this] { m_parts->callerNames.repeatFailure(); });
}

void AppCore::setUpSecondTick()
{
    SecondTick& tick = m_parts->tick;
    tick.set(SecondTick::Duty::AutoClose, [this] { countDownAutoClose(); });
    tick.set(SecondTick::Duty::ReplyTimeout, [this] { m_parts->link.onSecond(); });
    tick.set(SecondTick::Duty::Clock, [this] { Q_EMIT clockTick(m_parts->clock.now()); });
    tick.set(SecondTick::Duty::TimeControl, [this] { m_parts->timeControl.onSecond(); });
    tick.set(SecondTick::Duty::WakeUp, [this] { m_parts->wakeUp.onSecond(); });
    tick.set(SecondTick::Duty::CallDuration, [this] { m_parts->outgoing.onSecond(); });
}

Clock& AppCore::clock() const
{
    return m_parts->clock;
}

Settings& AppCore::settings() const
{
    return m_parts->settings;
}

StatusLine& AppCore::statusLine() const
{
    return m_parts->status;
}

ConfigImage& AppCore::image()
{
    return m_parts->image;
}

const ConfigImage& AppCore::image() const
{
    return m_parts->image;
}

BaseConfig& AppCore::baseConfig() const
{
    return m_parts->base;
}

ExtensionConfig& AppCore::extensionConfig() const
{
    return m_parts->extensions;
}

SpeedDialList& AppCore::speedDials() const
{
    return m_parts->speedDials;
}

SpeedDialTransfer& AppCore::speedDialTransfer() const
{
    return m_parts->speedDialTransfer;
}

PendingCall& AppCore::pendingCall() const
{
    return m_parts->pendingCall;
}

OutgoingCallLog& AppCore::outgoingCalls() const
{
    return m_parts->outgoing;
}

IncomingCallLog& AppCore::incomingCalls() const
{
    return m_parts->incoming;
}

CapiLibrary& AppCore::capiLibrary() const
{
    return m_parts->capiLibrary;
}

TCapiAnrufMonitor* AppCore::callMonitor() const
{
    return m_parts->monitor.get();
}

CapiInfoLines AppCore::capiInfoLines() const
{
    return ::capiInfoLines(m_parts->capiLibrary);
}

void AppCore::startCallMonitor()
{
    if (!m_parts->settings.loadCapi() || m_parts->monitor)
        return;
    m_parts->monitor = std::make_unique<TCapiAnrufMonitor>(m_parts->clock, m_parts->capiLibrary);
    TCapiAnrufMonitor& monitor = *m_parts->monitor;
    monitor.setBlockRule([this](const TCapiAnrufNotification& call) {
        return m_parts->blocking.blockedName(
            IncomingRecord::normalisedCaller(call.CallingPartyNumber, call.CallingTypeOfNumber));
    });
    connect(&monitor, &TCapiAnrufMonitor::incomingCall, &m_parts->mqtt,
            [this](const TCapiAnrufNotification& call) { m_parts->mqtt.setRinging(!call.Blocked); });
    connect(&monitor, &TCapiAnrufMonitor::callEnded, &m_parts->mqtt, [this] { m_parts->mqtt.setRinging(false); });
    connect(&monitor, &TCapiAnrufMonitor::incomingCall, &m_parts->incoming, [this](const TCapiAnrufNotification& call) {
        m_parts->incoming.onIncomingCall(call.CallingPartyNumber, call.CalledPartyNumber, call.CallingTypeOfNumber,
                                         call.Blocked ? std::optional<QString>(call.BlockedName) : std::nullopt);
    });
    // Whatever the monitor's state, the status line is cleared.
    connect(&monitor, &TCapiAnrufMonitor::stateChange, this,
            [this](bool, bool) { m_parts->status.showStatus(Msg::Clear); });
    // Queued: a notice box opens from the event loop, never inside the monitor's message handler.
    connect(&monitor, &TCapiAnrufMonitor::notice, this, &AppCore::capiNotice, Qt::QueuedConnection);
    monitor.StartListen(1, 32767);
}

LampMatrix& AppCore::lamps() const
{
    return m_parts->lamps;
}

TPCSpeaker& AppCore::speaker() const
{
    return m_parts->speaker;
}

ChargeUpdate& AppCore::chargeUpdate() const
{
    return m_parts->chargeUpdate;
}

SecondTick& AppCore::secondTick() const
{
    return m_parts->tick;
}

TimeControl& AppCore::timeControl() const
{
    return m_parts->timeControl;
}

WakeUp& AppCore::wakeUp() const
{
    return m_parts->wakeUp;
}

PasswordStore& AppCore::passwordStore() const
{
    return m_parts->passwords;
}

VorwahlLibrary& AppCore::vorwahl() const
{
    return m_parts->vorwahl;
}

PbxLink& AppCore::link() const
{
    return m_parts->link;
}

QString AppCore::programDir() const
{
    return m_parts->programDir;
}

bool AppCore::isTransferLocked() const
{
    return m_parts->transferLock.isLocked();
}

bool AppCore::isFirstReadPending() const
{
    return m_parts->link.firstRead();
}

int AppCore::firmwareVersion() const
{
    return m_parts->link.firmwareVersion();
}

int AppCore::extensionCount() const
{
    return m_parts->link.extensionCount();
}

bool AppCore::isPortOpen() const
{
    return m_parts->link.isOpen();
}

void AppCore::startRead()
{
    m_parts->link.startRead();
}

void AppCore::write()
{
    m_parts->writeGate.request([this] {
        commitPages();
        m_parts->link.write(m_transferUnits);
    });
}

// The loaded copy goes through the password question: a read reply that arrives while it is open
// must not replace the file's configuration before it is written.
void AppCore::writeLoaded(const ConfigImage& loaded)
{
    m_parts->writeGate.request([this, loaded] {
        ConfigImage& image = m_parts->image;
        if (!std::equal(loaded.data(), loaded.data() + ConfigImage::ChargesOffset, image.data())) {
            std::copy_n(loaded.data(), ConfigImage::ChargesOffset, image.data());
            decodeConfiguration();
        }
        commitPages();
        m_parts->link.write(m_transferUnits);
    });
}

PortControl& AppCore::port() const
{
    return m_parts->port;
}

bool AppCore::openPort(const QString& portName)
{
    return m_parts->port.open(portName);
}

QString AppCore::portName() const
{
    return m_parts->port.portName();
}

void AppCore::decodeConfiguration()
{
    m_parts->base.decode();
    m_parts->extensions.decode();
    Q_EMIT configDecoded();
}

void AppCore::loadPassword()
{
    m_parts->passwords.load();
    Q_EMIT passwordChanged();
}

void AppCore::startPublication()
{
    // The call signals beside the charges, under the bus name this program holds.
    m_parts->callPublisher.attachTo(m_parts->publisher);
    new ExchangeBusAdaptor(m_parts->publisher, m_parts->exchange, m_parts->programDir);
    m_parts->publisher.start();
}

void AppCore::startMqtt()
{
    m_parts->mqtt.start();
}

void AppCore::loadCharges()
{
    m_parts->chargeUpdate.setPrices(ChargeSettings::read(m_parts->settings));
    m_parts->chargeUpdate.loadPeriods();
}

void AppCore::commitPages()
{
    if (m_commitHook)
        m_commitHook();
}

bool AppCore::savePassword(const QString& newPassword, const QString& repetition)
{
    if (newPassword != repetition) {
        m_parts->status.showStatus(Msg::PasswordMismatch, StatusLevel::Error);
        return false;
    }
    if (!m_parts->passwords.save(repetition)) {
        m_parts->status.showText(StatusLevel::Error, m_parts->passwords.errorString());
        return false;
    }
    Q_EMIT passwordChanged();
    return true;
}

void AppCore::setTransferUnits(bool on)
{
    if (m_transferUnits == on)
        return;
    m_transferUnits = on;
    Q_EMIT transferUnitsChanged(on);
}

void AppCore::setLoadCapi(bool on)
{
    m_parts->settings.setLoadCapi(on);
    Q_EMIT monitoringChanged();
}

void AppCore::setWatchAll(bool on)
{
    m_parts->settings.setWatchAll(on);
    Q_EMIT monitoringChanged();
}

void AppCore::setNotifyCalls(bool on)
{
    m_parts->settings.setNotifyCalls(on);
    m_parts->notification.setEnabled(on);
}

void AppCore::print(PrintMode mode, const QString& pdfPath)
{
    if (m_parts->printout.isBusy())
        return;
    commitPages();
    m_parts->printout.request(mode, pdfPath);
}

bool AppCore::isPrinting() const
{
    return m_parts->printout.isBusy();
}

void AppCore::setPrintSink(Printout::Sink sink)
{
    m_parts->printout.setSink(std::move(sink));
}

void AppCore::setCommitHook(std::function<void()> hook)
{
    m_commitHook = std::move(hook);
}

void AppCore::setPasswordPrompt(WriteGate::Prompt prompt)
{
    m_parts->writeGate.setPrompt(std::move(prompt));
}

void AppCore::startTimer()
{
    m_parts->timer.start();
}

void AppCore::stopTimer()
{
    m_parts->timer.stop();
}

bool AppCore::isTimerRunning() const
{
    return m_parts->timer.isActive();
}

void AppCore::onSecond()
{
    m_parts->tick.run();
}

void AppCore::countDownAutoClose()
{
    if (m_autoCloseCountdown > 0 && --m_autoCloseCountdown == 0) {
        m_autoCloseCountdown = -1;
        Q_EMIT closeRequested();
    }
}

void AppCore::closeQuery(bool windowHidden, bool quitRequested, std::function<void()> then)
{
    // Data from the exchange is dropped only when the program really ends: an auto-close from
    // the tray keeps it processing.
    if (windowHidden && quitRequested) {
        m_shuttingDown = true;
        m_parts->link.setShutdown(true);
    }
    m_parts->clock.callAfter(CloseQueryPauseMs, this, std::move(then));
}

void AppCore::shutdown(std::function<void()> done)
{
    m_parts->timer.stop();
    // The CAPI application is released while the window can still show a failed release.
    m_parts->monitor.reset();
    m_parts->mqtt.stop();
    m_parts->link.shutDown([this, done = std::move(done)] {
        m_parts->vorwahl.unload();
        if (done)
            done();
    });
}

void AppCore::onBaseReceived()
{
    m_parts->base.decode();
    Q_EMIT configDecoded();
}

void AppCore::onExtensionsReceived()
{
    m_parts->extensions.decode();
    m_parts->mqtt.announce(extensionCount());
    Q_EMIT configDecoded();
}

void AppCore::onReadFinished()
{
    if (!m_ready) {
        m_ready = true;
        Q_EMIT readyChanged(true);
    }
    if (m_commandLine.autoEnd)
        m_autoCloseCountdown = AutoCloseSeconds;
}

DiagnosisSignalling& AppCore::signalling() const
{
    return m_parts->signalling;
}

void AppCore::runLampTest()
{
    m_parts->lamps.runLampTest(m_parts->clock);
}

void AppCore::setRecordOutgoing(bool on)
{
    m_parts->settings.setRecordOutgoing(on);
    m_parts->link.stateEvents().setOutgoingMonitoring(on);
    m_parts->outgoing.setRecording(on);
}

void AppCore::loadCallLogs()
{
    const Settings& settings = m_parts->settings;
    setRecordOutgoing(settings.recordOutgoing());
    m_parts->incoming.load(settings.displayDays());
    m_parts->outgoing.cleanUp(settings.deleteFreeCalls());
    m_parts->outgoing.load(settings.displayDays());
}

bool AppCore::renameOutgoingCall(int row, const QString& name)
{
    return m_parts->outgoing.rename(row, name, m_parts->settings.deleteFreeCalls());
}

bool AppCore::renameIncomingCall(int row, const QString& name)
{
    return m_parts->incoming.rename(row, name);
}

void AppCore::loadAddressBook()
{
    m_parts->callerNames.load();
}

void AppCore::setAddressBookFile(const QString& path)
{
    m_parts->callerNames.setFile(path);
}

CallBlocking& AppCore::callBlocking() const
{
    return m_parts->blocking;
}

MqttService& AppCore::mqtt() const
{
    return m_parts->mqtt;
}

CallHooks& AppCore::callHooks() const
{
    return m_parts->hooks;
}
