#include "link/PbxLink.h"

#include "common/Clock.h"
#include "image/Extensions.h"
#include "image/Firmware.h"
#include "image/ImageLayout.h"
#include "link/PbxRequests.h"
#include "link/Transport.h"

#include <algorithm>

using Cells::ChunkClass;

namespace {

constexpr int MinimumTimeoutSeconds = 10;
constexpr int BaseBytesSent = 112;
constexpr int SwitchOnPauseMs = 100;
constexpr int ChargeDecodePauseMs = 100;
constexpr int WriteEndPauseMs = 250;
constexpr int RingCommandPauseMs = 100;

} // namespace

PbxLink::PbxLink(Transport& transport, Clock& clock, ConfigImage& image, QObject* parent)
    : QObject(parent), m_transport(transport), m_clock(clock), m_image(image)
{
    connect(&m_transport, &Transport::chunkReceived, this, &PbxLink::dispatch);
    connect(&m_transport, &Transport::hangup, this, &PbxLink::onHangup);
    connect(&m_queue, &TransferQueue::busyChanged, this, &PbxLink::updateLock);
    m_events.setSpontaneousTrunkAccess(
        [this](int extension) { return ImageLayout::spontaneousTrunkAccess(m_image, extension); });
}

void PbxLink::setTimeoutSeconds(int seconds)
{
    m_timeoutSeconds = std::max(seconds, MinimumTimeoutSeconds);
}

bool PbxLink::openPort(const QString& devicePath, const QString& portName)
{
    m_portName = portName;
    m_devicePath = devicePath;
    m_hungUp = false;
    report(Msg::OpeningPort, StatusLevel::Progress, portName);
    if (m_transport.open(devicePath))
        return true;
    report(Msg::CannotOpenPort, StatusLevel::Error, portName);
    Q_EMIT failed(Msg::CannotOpenPort);
    return false;
}

void PbxLink::closePort()
{
    m_queue.dropWaiting();
    m_transport.close();
}

bool PbxLink::isOpen() const
{
    return m_transport.isOpen();
}

int PbxLink::firmwareVersion() const
{
    return Firmware::version(m_image);
}

int PbxLink::extensionCount() const
{
    return ImageLayout::extensionCount(m_image);
}

void PbxLink::submit(Job job, std::function<void()> start)
{
    m_queue.submit(job, [this, start = std::move(start)] {
        reopenAfterHangup();
        start();
    });
}

// A device that went away (a USB adapter pulled) leaves a dead descriptor behind; when it is back,
// only a new opening reaches it. Opened again quietly: should it fail, the job's first send says so.
void PbxLink::reopenAfterHangup()
{
    if (!m_hungUp)
        return;
    m_transport.close();
    m_hungUp = !m_transport.open(m_devicePath);
}

void PbxLink::endJob()
{
    m_phase = m_firmwareLocked ? Phase::FirmwareLocked : Phase::Idle;
    m_queue.finish();
}

void PbxLink::updateLock()
{
    const bool locked = m_queue.isBusy() || m_firmwareLocked;
    if (m_locked == locked)
        return;
    m_locked = locked;
    Q_EMIT transferLockChanged(locked);
}

void PbxLink::startUp()
{
    m_firstRead = true;
    submit(Job::StartUp, [this] { runStartUp(); });
}

void PbxLink::runStartUp()
{
    m_phase = Phase::SwitchingOn;
    if (!sendBlocks(PbxRequests::switchEventsOn()))
        report(Msg::CannotWritePort, StatusLevel::Error, m_portName);
    m_clock.waitPumping(SwitchOnPauseMs);
    beginRead();
}

void PbxLink::startRead()
{
    submit(Job::FullRead, [this] { beginRead(); });
}

void PbxLink::requestCharges()
{
    submit(Job::ChargeRead, [this] { beginChargeRead(); });
}

void PbxLink::beginRead()
{
    requestStep(Msg::ReadingBase, PbxRequests::readBase(), ChunkClass::Base, Phase::ReadingBase);
}

void PbxLink::beginChargeRead()
{
    requestStep(Msg::ReadingCharges, PbxRequests::readCharges(), ChunkClass::Charges, Phase::ReadingCharges);
}

void PbxLink::requestStep(int message, const QList<QByteArray>& blocks, ChunkClass awaited, Phase phase)
{
    report(message, StatusLevel::Progress);
    m_phase = phase;
    if (!sendBlocks(blocks)) {
        fail(Msg::CannotWritePort);
        return;
    }
    arm(awaited);
}

bool PbxLink::sendBlocks(const QList<QByteArray>& blocks)
{
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        if (i > 0)
            m_clock.waitPumping(PbxRequests::BlockGapMs);
        if (!sendBlock(blocks[i]))
            return false;
    }
    return true;
}

bool PbxLink::sendBlock(const QByteArray& block)
{
    return m_transport.send(block);
}

// The time-out survives unrelated chunks: only the reply being waited for disarms it, so a read
// whose reply never comes still ends, even while state events keep arriving.
void PbxLink::arm(ChunkClass awaited)
{
    m_awaited = awaited;
    m_replyTimeout = m_timeoutSeconds;
}

void PbxLink::disarm()
{
    m_awaited = ChunkClass::Ignored;
    m_replyTimeout = -1;
}

void PbxLink::onSecond()
{
    if (m_replyTimeout <= 0)
        return;
    if (--m_replyTimeout == 0)
        expire();
}

// The first time-out of the run, whenever it comes, is answered by one more full read within the
// same job; every later one ends the job with message 4.
void PbxLink::expire()
{
    disarm();
    const bool repeat = m_firstRead;
    m_firstRead = false;
    if (repeat) {
        m_clock.waitPumping(m_startWaitMs);
        beginRead();
    } else {
        fail(Msg::CommError);
    }
}

void PbxLink::dispatch(const QByteArray& chunk)
{
    const ChunkClass cls = Cells::classify(chunk);
    if (m_shutdown) {
        disarm();
        return;
    }
    const bool awaited = cls == m_awaited;
    if (awaited)
        disarm();
    switch (cls) {
    case ChunkClass::Base:
        onBaseReply(chunk);
        break;
    case ChunkClass::Extensions:
        onExtensionsReply(chunk);
        break;
    case ChunkClass::Charges:
        onChargesReply(chunk);
        break;
    case ChunkClass::SpeedDialAck:
        if (awaited)
            onSpeedDialAck();
        break;
    case ChunkClass::SpeedDialEntry:
        if (awaited)
            onSpeedDialEntry(chunk);
        break;
    case ChunkClass::StateEvents:
        onStateEvents(chunk);
        break;
    case ChunkClass::Ignored:
        break;
    }
}

// A region that arrives is always taken in; the read goes on only when it was the step waited
// for, so a stray reply never sends a request in the middle of another job.
void PbxLink::onBaseReply(const QByteArray& chunk)
{
    const bool step = m_phase == Phase::ReadingBase;
    if (step)
        setProgress(30);
    m_image.copyIntoRegion(ConfigImage::Region::Base, chunk);
    Cells::compactRegion(m_image, ConfigImage::Region::Base);
    Q_EMIT baseReceived();
    if (!step)
        return;
    if (!Firmware::supported(firmwareVersion())) {
        disarm();
        m_firmwareLocked = true;
        report(Msg::FirmwareTooOld, StatusLevel::Error);
        updateLock();
        Q_EMIT firmwareTooOld();
        endJob();
        return;
    }
    requestStep(Msg::ReadingExtensions, PbxRequests::readExtensions(), ChunkClass::Extensions,
                Phase::ReadingExtensions);
}

void PbxLink::onExtensionsReply(const QByteArray& chunk)
{
    const bool step = m_phase == Phase::ReadingExtensions;
    if (step)
        setProgress(70);
    m_image.copyIntoRegion(ConfigImage::Region::Extensions, chunk);
    Cells::compactRegion(m_image, ConfigImage::Region::Extensions);
    Q_EMIT extensionsReceived();
    if (step)
        beginChargeRead();
}

void PbxLink::onChargesReply(const QByteArray& chunk)
{
    const bool step = m_phase == Phase::ReadingCharges;
    if (step && !(m_callPending && m_callPending()))
        setProgress(100);
    if (step)
        m_clock.waitPumping(ChargeDecodePauseMs);
    m_image.copyIntoRegion(ConfigImage::Region::Charges, chunk);
    Cells::compactRegion(m_image, ConfigImage::Region::Charges);
    Q_EMIT chargesReceived();
    if (!step)
        return;
    setProgress(0);
    endJob();
    Q_EMIT readFinished();
}

void PbxLink::onStateEvents(const QByteArray& chunk)
{
    Q_EMIT stateEventChunk(chunk);
    for (const EventRecord& record : EventRecord::fromChunk(chunk)) {
        const StateEvents::Effect effect = m_events.apply(record);
        Q_EMIT stateEventRecord(record, effect);
    }
}

// A vanished device cannot answer: a transfer waiting for it ends now rather than at the time-out.
void PbxLink::onHangup()
{
    m_hungUp = true;
    Q_EMIT hangup();
    if (m_replyTimeout > 0)
        fail(Msg::CommError);
}

bool PbxLink::write(bool transferUnits)
{
    m_writeOk = true;
    submit(Job::Write, [this, asked = m_image, transferUnits] { runWrite(asked, transferUnits); });
    return m_writeOk;
}

void PbxLink::restoreForWrite(const ConfigImage& asked, bool transferUnits)
{
    const int end = transferUnits ? ConfigImage::Size : ConfigImage::ChargesOffset;
    bool changed = false;
    for (int i = 0; i < end; ++i) {
        changed = changed || m_image[i] != asked[i];
        m_image[i] = asked[i];
    }
    if (changed)
        Q_EMIT imageRestored();
}

void PbxLink::runWrite(const ConfigImage& asked, bool transferUnits)
{
    restoreForWrite(asked, transferUnits);
    const int firmware = firmwareVersion();
    m_phase = Phase::Writing;
    report(Msg::WritingBase, StatusLevel::Progress);
    int maximum = (ImageLayout::recordLength(firmware) - 2) * extensionCount() + 107;
    if (transferUnits)
        maximum += ImageLayout::sentChargeBytes(firmware);
    setProgressRange(0, maximum);
    m_writeOk = writeSteps(transferUnits);
    if (!m_writeOk) {
        fail(Msg::CannotWritePort);
        Q_EMIT writeFinished(false);
        return;
    }
    m_clock.waitPumping(WriteEndPauseMs);
    report(Msg::Clear);
    setProgressRange(0, 100);
    endJob();
    Q_EMIT writeFinished(true);
}

bool PbxLink::writeSteps(bool transferUnits)
{
    const int firmware = firmwareVersion();
    const int pauseMs = Firmware::newFeatures(firmware) ? 100 : 1000;
    const QByteArray image = m_image.toByteArray();
    auto imageBytes = [&](int from, int length) { return QByteArrayView(image).sliced(from, length); };
    auto following = [&](int from) { return QByteArrayView(image).sliced(from); };

    m_image[0] = PbxRequests::WriteBaseKind;
    QByteArray base = image.left(BaseBytesSent);
    base[0] = static_cast<char>(PbxRequests::WriteBaseKind);
    if (!sendPayload(base, following(BaseBytesSent)))
        return false;
    m_clock.waitPumping(pauseMs);

    const int recordBytes = ImageLayout::sentRecordBytes(firmware);
    for (int i = 0; i < extensionCount(); ++i) {
        report(Msg::WritingExtension, StatusLevel::Progress, Extensions::numberText(i));
        const int at = ImageLayout::recordOffset(i, firmware);
        const QByteArray payload =
            static_cast<char>(PbxRequests::WriteExtensionKind) + imageBytes(at, recordBytes).toByteArray();
        if (!sendPayload(payload, following(at + recordBytes)))
            return false;
        m_clock.waitPumping(pauseMs);
    }

    if (!sendPayload(QByteArray(1, static_cast<char>(PbxRequests::WriteEndKind))))
        return false;
    m_clock.waitPumping(pauseMs);

    if (transferUnits) {
        report(Msg::WritingUnits, StatusLevel::Progress);
        const int length = ImageLayout::sentChargeBytes(firmware);
        m_image[ConfigImage::ChargesOffset] = PbxRequests::WriteUnitsKind;
        QByteArray units = imageBytes(ConfigImage::ChargesOffset, length).toByteArray();
        units[0] = static_cast<char>(PbxRequests::WriteUnitsKind);
        if (!sendPayload(units, following(ConfigImage::ChargesOffset + length)))
            return false;
    }
    return true;
}

// SendRequest: the payload as cells, one byte per block, paced for the firmware; each payload
// byte advances the progress bar.
bool PbxLink::sendPayload(QByteArrayView payload, QByteArrayView following)
{
    const bool fast = Firmware::newFeatures(firmwareVersion());
    const QByteArray line = Cells::encodeCells(payload, following);
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (i % Cells::CellSize == 0) {
            m_clock.waitPumping(fast ? 40 : 50);
        } else {
            if (!fast)
                m_clock.waitPumping(50);
            setProgress(m_progress + 1);
        }
        if (!sendBlock(line.mid(i, 1)))
            return false;
    }
    return true;
}

void PbxLink::readSpeedDials()
{
    submit(Job::SpeedDialRead, [this] { beginSpeedDialRead(); });
}

void PbxLink::beginSpeedDialRead()
{
    m_phase = Phase::SpeedDials;
    m_speedDial = 0;
    setProgressRange(0, PbxRequests::SpeedDialCount);
    if (!sendBlocks(PbxRequests::beginSpeedDialRead())) {
        fail(Msg::CannotWritePort);
        return;
    }
    arm(ChunkClass::SpeedDialAck);
}

void PbxLink::onSpeedDialAck()
{
    if (m_phase == Phase::SpeedDials && m_speedDial == 0)
        requestSpeedDial(1);
}

void PbxLink::requestSpeedDial(int n)
{
    m_speedDial = n;
    setProgress(n);
    report(Msg::ReadingSpeedDial, StatusLevel::Progress, PbxRequests::speedDialEntryText(n));
    if (!sendBlocks(PbxRequests::readSpeedDial(n))) {
        fail(Msg::CannotWritePort);
        return;
    }
    arm(ChunkClass::SpeedDialEntry);
}

// The next entry follows from the one asked for, not from the number in the reply, so a garbled
// entry number can neither loop nor skip.
void PbxLink::onSpeedDialEntry(const QByteArray& chunk)
{
    if (m_phase != Phase::SpeedDials || m_speedDial == 0)
        return;
    Q_EMIT speedDialEntry(m_speedDial, chunk);
    if (m_speedDial < PbxRequests::SpeedDialCount) {
        requestSpeedDial(m_speedDial + 1);
        return;
    }
    report(Msg::Clear);
    setProgressRange(0, 100);
    endJob();
    Q_EMIT speedDialsRead();
}

void PbxLink::saveSpeedDial(const QByteArray& payload)
{
    submit(Job::SpeedDialSave, [this, payload] { runSpeedDialSave(payload); });
}

void PbxLink::runSpeedDialSave(const QByteArray& payload)
{
    m_phase = Phase::SavingSpeedDial;
    const int digitBytes = static_cast<int>(payload.size()) - 10;
    setProgressRange(0, (digitBytes + 9) * 4 / 3);
    const bool sent = sendPayload(payload);
    setProgressRange(0, 100);
    if (!sent) {
        fail(Msg::CannotWritePort);
        return;
    }
    endJob();
}

void PbxLink::ring(const QList<int>& indexes, int seconds)
{
    submit(Job::Ring, [this, indexes, seconds] { runRing(indexes, seconds); });
}

// Every command is tried, so that a stop is sent for each extension that was started even when
// another command could not be written.
void PbxLink::runRing(const QList<int>& indexes, int seconds)
{
    m_phase = Phase::Ringing;
    for (int index : indexes)
        sendRingCommand(index, true);
    m_clock.waitPumping(seconds * 1000);
    for (int index : indexes)
        sendRingCommand(index, false);
    endJob();
    Q_EMIT ringFinished();
}

void PbxLink::sendRingCommand(int index, bool on)
{
    const QList<QByteArray> blocks = PbxRequests::ringExtension(index, on);
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        if (!sendBlock(blocks[i]))
            report(Msg::CannotWritePort, StatusLevel::Error, m_portName);
        m_clock.waitPumping(i + 1 < blocks.size() ? PbxRequests::BlockGapMs : RingCommandPauseMs);
    }
}

void PbxLink::fail(int messageNumber)
{
    disarm();
    report(messageNumber, StatusLevel::Error, m_portName);
    setProgressRange(0, 100);
    endJob();
    Q_EMIT failed(messageNumber);
}

void PbxLink::report(int number, StatusLevel level, const QString& arg)
{
    Q_EMIT status(number, level, arg);
}

void PbxLink::setProgress(int value)
{
    m_progress = value;
    Q_EMIT progressChanged(progressValue(), m_progressMaximum);
}

void PbxLink::setProgressRange(int value, int maximum)
{
    m_progressMaximum = maximum;
    setProgress(value);
}
