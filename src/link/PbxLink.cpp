#include "link/PbxLink.h"

#include "common/Clock.h"
#include "link/ImageLayout.h"
#include "link/PbxRequests.h"
#include "link/Transport.h"
#include "shell/StatusLine.h"

#include <algorithm>

using Cells::ChunkClass;

namespace {

// Message numbers of the link.
enum Message
{
    MsgClear = 0,
    MsgReadCharges = 1,
    MsgReadBase = 2,
    MsgReadExtensions = 3,
    MsgCommError = 4,
    MsgCannotOpen = 5,
    MsgOpening = 24,
    MsgWriteBase = 26,
    MsgWriteExtension = 27,
    MsgFirmwareTooOld = 31,
    MsgWriteUnits = 35,
    MsgCannotWrite = 36,
};

constexpr int LevelProgress = 1;
constexpr int LevelError = 2;
constexpr int MinimumTimeoutSeconds = 10;
constexpr int BaseBytesSent = 112;

} // namespace

PbxLink::PbxLink(Transport& transport, Clock& clock, ConfigImage& image, StatusLine* status, QObject* parent)
    : QObject(parent), m_transport(transport), m_clock(clock), m_image(image), m_status(status)
{
    connect(&m_transport, &Transport::chunkReceived, this, &PbxLink::dispatch);
    connect(&m_transport, &Transport::hangup, this, &PbxLink::onHangup);
    connect(&m_events, &StateEvents::callEnded, this, &PbxLink::onCallEnded);
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
    showStatus(MsgOpening, LevelProgress, portName);
    if (m_transport.open(devicePath))
        return true;
    showStatus(MsgCannotOpen, LevelError, portName);
    Q_EMIT failed(MsgCannotOpen);
    return false;
}

void PbxLink::closePort()
{
    m_transport.close();
}

bool PbxLink::isOpen() const
{
    return m_transport.isOpen();
}

int PbxLink::firmwareVersion() const
{
    return ImageLayout::firmwareVersion(m_image);
}

int PbxLink::extensionCount() const
{
    return ImageLayout::extensionCount(m_image);
}

void PbxLink::startUp()
{
    m_firstRead = true;
    if (!switchEventsOn())
        showStatus(MsgCannotWrite, LevelError, m_portName);
    m_clock.waitPumping(100);
    startRead();
}

void PbxLink::startRead()
{
    setLocked(true);
    requestStep(MsgReadBase, PbxRequests::readBase(), ChunkClass::Base, Phase::ReadingBase);
}

void PbxLink::requestCharges()
{
    requestStep(MsgReadCharges, PbxRequests::readCharges(), ChunkClass::Charges, Phase::ReadingCharges);
}

void PbxLink::requestStep(int message, const QList<QByteArray>& blocks, ChunkClass awaited, Phase phase)
{
    showStatus(message, LevelProgress);
    sendReadRequest(blocks, awaited, phase);
}

bool PbxLink::sendReadRequest(const QList<QByteArray>& blocks, ChunkClass awaited, Phase phase)
{
    m_phase = phase;
    if (!sendBlocks(blocks)) {
        fail(MsgCannotWrite);
        return false;
    }
    arm(awaited);
    return true;
}

bool PbxLink::sendBlocks(const QList<QByteArray>& blocks)
{
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        if (i > 0)
            m_clock.waitPumping(PbxRequests::BlockGapMs);
        if (!m_transport.send(blocks[i]))
            return false;
    }
    return true;
}

bool PbxLink::switchEventsOn()
{
    return sendBlocks(PbxRequests::switchEventsOn());
}

bool PbxLink::switchEventsOff()
{
    return sendBlocks(PbxRequests::switchEventsOff());
}

bool PbxLink::ringExtension(int index, bool on)
{
    return sendBlocks(PbxRequests::ringExtension(index, on));
}

bool PbxLink::beginSpeedDialRead()
{
    setLocked(true);
    setProgressRange(0, 60);
    return sendReadRequest(PbxRequests::beginSpeedDialRead(), ChunkClass::SpeedDialAck, Phase::SpeedDials);
}

bool PbxLink::requestSpeedDial(int n)
{
    setProgress(n);
    return sendReadRequest(PbxRequests::readSpeedDial(n), ChunkClass::SpeedDialEntry, Phase::SpeedDials);
}

void PbxLink::speedDialsFinished()
{
    disarm();
    finishTransfer();
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

void PbxLink::expire()
{
    disarm();
    const bool repeat = m_firstRead;
    m_firstRead = false;
    if (repeat) {
        m_clock.waitPumping(m_startWaitMs);
        startRead();
    } else {
        fail(MsgCommError);
    }
}

void PbxLink::dispatch(const QByteArray& chunk)
{
    const ChunkClass cls = Cells::classify(chunk);
    if (m_shutdown) {
        disarm();
        return;
    }
    if (cls == m_awaited)
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
        Q_EMIT speedDialAck();
        break;
    case ChunkClass::SpeedDialEntry:
        Q_EMIT speedDialEntry(chunk);
        break;
    case ChunkClass::StateEvents:
        onStateEvents(chunk);
        break;
    case ChunkClass::Ignored:
        break;
    }
}

void PbxLink::onBaseReply(const QByteArray& chunk)
{
    setProgress(30);
    m_image.copyIntoRegion(ConfigImage::Region::Base, chunk);
    Cells::compactRegion(m_image, ConfigImage::Region::Base);
    Q_EMIT baseReceived();
    if (firmwareVersion() < ImageLayout::MinimumFirmware) {
        disarm();
        m_phase = Phase::FirmwareLocked;
        showStatus(MsgFirmwareTooOld, LevelError);
        Q_EMIT firmwareTooOld();
        return;
    }
    requestStep(MsgReadExtensions, PbxRequests::readExtensions(), ChunkClass::Extensions, Phase::ReadingExtensions);
}

void PbxLink::onExtensionsReply(const QByteArray& chunk)
{
    setProgress(70);
    m_image.copyIntoRegion(ConfigImage::Region::Extensions, chunk);
    Cells::compactRegion(m_image, ConfigImage::Region::Extensions);
    Q_EMIT extensionsReceived();
    requestCharges();
}

void PbxLink::onChargesReply(const QByteArray& chunk)
{
    if (m_events.openCall() == 0)
        setProgress(100);
    m_clock.waitPumping(100);
    m_image.copyIntoRegion(ConfigImage::Region::Charges, chunk);
    Cells::compactRegion(m_image, ConfigImage::Region::Charges);
    Q_EMIT chargesReceived();
    // The automatic repeat is for a start-up read that got no answer; once a read has
    // succeeded, every later failure is reported to the user.
    m_firstRead = false;
    m_phase = Phase::Idle;
    setLocked(false);
    setProgress(0);
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

void PbxLink::onCallEnded()
{
    m_clock.waitPumping(2000);
    requestCharges();
}

// A vanished device cannot answer: a transfer waiting for it ends now rather than at the time-out.
void PbxLink::onHangup()
{
    Q_EMIT hangup();
    if (m_replyTimeout > 0)
        fail(MsgCommError);
}

bool PbxLink::write(bool transferUnits)
{
    const int firmware = firmwareVersion();
    const int count = extensionCount();
    setLocked(true);
    m_phase = Phase::Writing;
    showStatus(MsgWriteBase, LevelProgress);
    int maximum = (ImageLayout::recordLength(firmware) - 2) * count + 107;
    if (transferUnits)
        maximum += ImageLayout::sentChargeBytes(firmware);
    setProgressRange(0, maximum);
    if (!writeSteps(transferUnits)) {
        fail(MsgCannotWrite);
        Q_EMIT writeFinished(false);
        return false;
    }
    m_clock.waitPumping(250);
    showStatus(MsgClear, 0);
    finishTransfer();
    Q_EMIT writeFinished(true);
    return true;
}

bool PbxLink::writeSteps(bool transferUnits)
{
    const int firmware = firmwareVersion();
    const int pauseMs = firmware >= ImageLayout::FastFirmware ? 100 : 1000;
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
        showStatus(MsgWriteExtension, LevelProgress, QString::number(ImageLayout::FirstExtensionNumber + i));
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
        showStatus(MsgWriteUnits, LevelProgress);
        const int length = ImageLayout::sentChargeBytes(firmware);
        m_image[ConfigImage::ChargesOffset] = PbxRequests::WriteUnitsKind;
        QByteArray units = imageBytes(ConfigImage::ChargesOffset, length).toByteArray();
        units[0] = static_cast<char>(PbxRequests::WriteUnitsKind);
        if (!sendPayload(units, following(ConfigImage::ChargesOffset + length)))
            return false;
    }
    return true;
}

bool PbxLink::sendPayload(QByteArrayView payload, QByteArrayView following)
{
    const bool fast = firmwareVersion() >= ImageLayout::FastFirmware;
    const QByteArray line = Cells::encodeCells(payload, following);
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (i % Cells::CellSize == 0) {
            m_clock.waitPumping(fast ? 40 : 50);
        } else {
            if (!fast)
                m_clock.waitPumping(50);
            setProgress(m_progress + 1);
        }
        if (!m_transport.send(line.mid(i, 1)))
            return false;
    }
    return true;
}

void PbxLink::fail(int messageNumber)
{
    disarm();
    showStatus(messageNumber, LevelError, m_portName);
    finishTransfer();
    Q_EMIT failed(messageNumber);
}

void PbxLink::finishTransfer()
{
    m_phase = Phase::Idle;
    setProgressRange(0, 100);
    setLocked(false);
}

void PbxLink::showStatus(int number, int level, const QString& arg)
{
    if (m_status)
        m_status->showStatus(number, level, arg);
}

void PbxLink::setLocked(bool locked)
{
    if (m_locked == locked)
        return;
    m_locked = locked;
    Q_EMIT transferLockChanged(locked);
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
