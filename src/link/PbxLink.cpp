#include "link/PbxLink.h"

#include "common/Clock.h"
#include "image/Firmware.h"
#include "image/ImageLayout.h"
#include "link/Transport.h"
#include "link/jobs/ReadJob.h"
#include "link/jobs/RingJob.h"
#include "link/jobs/SpeedDialReadJob.h"
#include "link/jobs/SpeedDialSaveJob.h"
#include "link/jobs/WriteJob.h"

using Cells::ChunkClass;

namespace {

constexpr int MinimumTimeoutSeconds = 10;
// An hour: far beyond any reply, and the count stays far from overflowing.
constexpr int MaximumTimeoutSeconds = 3600;
// A ring's stop commands take 140 ms an extension; the end of the program waits no longer.
constexpr int ShutDownLimitMs = 1200;

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

PbxLink::~PbxLink() = default;

void PbxLink::setTimeoutSeconds(int seconds)
{
    m_timeoutSeconds = std::clamp(seconds, MinimumTimeoutSeconds, MaximumTimeoutSeconds);
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
    stopRunning();
    m_transport.close();
}

// The port is going: the running job stops where it is, and its turn ends with it.
void PbxLink::stopRunning()
{
    if (!m_job)
        return;
    disarm();
    m_job->cancel();
    retire();
    m_phase = m_firmwareLocked ? Phase::FirmwareLocked : Phase::Idle;
    m_queue.finish();
    callEnded(JobDropped);
}

void PbxLink::shutDown(std::function<void()> done)
{
    m_shutDownDone = std::move(done);
    m_queue.dropWaiting();
    if (m_job) {
        disarm();
        m_job->stopEarly();
    }
    if (!m_job) {
        finishShutDown();
        return;
    }
    m_clock.callAfter(ShutDownLimitMs, this, [this] {
        if (m_shutDownDone && m_job)
            m_job->fail(0);
    });
}

// Called when the last job has ended during a shut-down.
void PbxLink::finishShutDown()
{
    if (!m_shutDownDone)
        return;
    const auto done = std::move(m_shutDownDone);
    m_shutDownDone = nullptr;
    m_transport.close();
    done();
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

void PbxLink::submit(Job job, std::function<std::unique_ptr<LinkJob>()> make, JobEnded ended)
{
    if (job == Job::ChargeRead && m_waitingChargeEnds) {
        if (ended)
            m_waitingChargeEnds->push_back(std::move(ended));
        return;
    }
    auto ends = std::make_shared<std::vector<JobEnded>>();
    if (ended)
        ends->push_back(std::move(ended));
    if (job == Job::ChargeRead)
        m_waitingChargeEnds = ends;
    const auto start = [this, make = std::move(make), ends] {
        if (m_waitingChargeEnds == ends)
            m_waitingChargeEnds.reset();
        m_ended = std::move(*ends);
        m_refusedSends = 0;
        reopenAfterHangup();
        run(make());
    };
    const auto dropped = [this, ends] {
        if (m_waitingChargeEnds == ends)
            m_waitingChargeEnds.reset();
        for (const JobEnded& end : std::exchange(*ends, {}))
            end(JobDropped);
    };
    m_queue.submit(job, start, dropped);
}

void PbxLink::callEnded(int outcome)
{
    for (const JobEnded& end : std::exchange(m_ended, {}))
        end(outcome);
}

void PbxLink::run(std::unique_ptr<LinkJob> job)
{
    m_job = std::move(job);
    m_job->start();
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

void PbxLink::jobEnded(int failure)
{
    if (failure != 0) {
        disarm();
        report(failure, StatusLevel::Error, m_portName);
        setProgressRange(0, 100);
    }
    retire();
    m_phase = m_firmwareLocked ? Phase::FirmwareLocked : Phase::Idle;
    m_queue.finish();
    if (failure != 0)
        Q_EMIT failed(failure);
    callEnded(failure != 0 ? failure : (m_refusedSends > 0 ? Msg::CannotWritePort : 0));
    if (!m_job && m_shutDownDone)
        finishShutDown();
}

void PbxLink::retire()
{
    if (!m_job)
        return;
    if (m_retired.empty())
        QMetaObject::invokeMethod(this, &PbxLink::dropRetired, Qt::QueuedConnection);
    m_retired.push_back(std::move(m_job));
}

void PbxLink::dropRetired()
{
    m_retired.clear();
}

void PbxLink::updateLock()
{
    const bool locked = m_queue.isBusy() || m_firmwareLocked;
    if (m_locked == locked)
        return;
    m_locked = locked;
    Q_EMIT transferLockChanged(locked);
}

void PbxLink::lockForFirmware()
{
    disarm();
    m_firmwareLocked = true;
    report(Msg::FirmwareTooOld, StatusLevel::Error);
    updateLock();
    Q_EMIT firmwareTooOld();
}

std::unique_ptr<LinkJob> PbxLink::makeRead(int kind)
{
    auto job = std::make_unique<ReadJob>(host(), static_cast<ReadJob::Kind>(kind));
    connect(job.get(), &ReadJob::finished, this, &PbxLink::readFinished);
    return job;
}

void PbxLink::startUp()
{
    m_firstRead = true;
    submit(
        Job::StartUp, [this] { return makeRead(static_cast<int>(ReadJob::Kind::StartUp)); }, {});
}

void PbxLink::startRead(JobEnded ended)
{
    submit(
        Job::FullRead, [this] { return makeRead(static_cast<int>(ReadJob::Kind::Full)); }, std::move(ended));
}

void PbxLink::requestCharges(JobEnded ended)
{
    submit(
        Job::ChargeRead, [this] { return makeRead(static_cast<int>(ReadJob::Kind::Charges)); }, std::move(ended));
}

void PbxLink::write(bool transferUnits, JobEnded ended)
{
    write(m_image, transferUnits, std::move(ended));
}

void PbxLink::write(const ConfigImage& asked, bool transferUnits, JobEnded ended)
{
    submit(
        Job::Write,
        [this, asked, transferUnits] {
            auto job = std::make_unique<WriteJob>(host(), asked, transferUnits);
            connect(job.get(), &WriteJob::imageRestored, this, &PbxLink::imageRestored);
            connect(job.get(), &WriteJob::finished, this, &PbxLink::writeFinished);
            return job;
        },
        std::move(ended));
}

void PbxLink::readSpeedDials(JobEnded ended)
{
    submit(
        Job::SpeedDialRead,
        [this] {
            auto job = std::make_unique<SpeedDialReadJob>(host());
            connect(job.get(), &SpeedDialReadJob::entry, this, &PbxLink::speedDialEntry);
            connect(job.get(), &SpeedDialReadJob::finished, this, &PbxLink::speedDialsRead);
            return job;
        },
        std::move(ended));
}

void PbxLink::saveSpeedDial(const QByteArray& payload)
{
    submit(
        Job::SpeedDialSave, [this, payload] { return std::make_unique<SpeedDialSaveJob>(host(), payload); }, {});
}

void PbxLink::ring(const QList<int>& indexes, int seconds, JobEnded ended)
{
    submit(
        Job::Ring,
        [this, indexes, seconds] {
            auto job = std::make_unique<RingJob>(host(), indexes, seconds);
            connect(job.get(), &RingJob::finished, this, &PbxLink::ringFinished);
            return job;
        },
        std::move(ended));
}

bool PbxLink::send(const QByteArray& block)
{
    return m_transport.send(block);
}

// The time-out survives unrelated chunks: only the reply being waited for disarms it, so a read
// whose reply never comes still ends, even while state events keep arriving.
void PbxLink::await(ChunkClass reply)
{
    m_awaited = reply;
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

// The first time-out of the run, whenever it comes, is answered by one more full read in the
// place of the job that timed out, after the start wait time; every later one ends the job with
// message 4.
void PbxLink::expire()
{
    disarm();
    if (!m_job)
        return;
    if (!std::exchange(m_firstRead, false)) {
        m_job->onTimeout();
        return;
    }
    m_job->cancel();
    retire();
    run(makeRead(static_cast<int>(ReadJob::Kind::Repeat)));
}

void PbxLink::dispatch(const QByteArray& chunk)
{
    const ChunkClass cls = Cells::classify(chunk);
    if (m_shutdown) {
        disarm();
        return;
    }
    if (cls == ChunkClass::StateEvents) {
        onStateEvents(chunk);
        return;
    }
    if (m_job && cls == m_awaited) {
        disarm();
        m_job->onReply(cls, chunk);
        return;
    }
    // A region that nobody waits for is still taken in; it never moves a job on, so a stray reply
    // sends no request in the middle of another job.
    if (cls == ChunkClass::Base)
        takeRegion(ConfigImage::Region::Base, chunk);
    else if (cls == ChunkClass::Extensions)
        takeRegion(ConfigImage::Region::Extensions, chunk);
    else if (cls == ChunkClass::Charges)
        takeRegion(ConfigImage::Region::Charges, chunk);
}

void PbxLink::takeRegion(ConfigImage::Region region, const QByteArray& chunk)
{
    m_image.copyIntoRegion(region, chunk);
    Cells::compactRegion(m_image, region);
    switch (region) {
    case ConfigImage::Region::Base:
        Q_EMIT baseReceived();
        break;
    case ConfigImage::Region::Extensions:
        Q_EMIT extensionsReceived();
        break;
    case ConfigImage::Region::Charges:
        Q_EMIT chargesReceived();
        break;
    }
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
    if (m_replyTimeout > 0 && m_job)
        m_job->fail(Msg::CommError);
}

void PbxLink::report(int number, StatusLevel level, const QString& arg)
{
    Q_EMIT status(number, level, arg);
}

void PbxLink::reportUnwritable()
{
    ++m_refusedSends;
    report(Msg::CannotWritePort, StatusLevel::Error, m_portName);
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
