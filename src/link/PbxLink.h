#pragma once

#include "common/MessageTable.h"
#include "image/ConfigImage.h"
#include "link/Cells.h"
#include "link/StateEvents.h"
#include "link/TransferQueue.h"
#include "link/jobs/JobHost.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

class Clock;
class LinkJob;
class Transport;

// The exchange link as the program drives it: the port, the dispatch of received chunks into the
// image, and the transfer queue whose running job holds the line (start-up, full read, charge
// read, configuration write, speed-dial read and save, ringing; one class each under jobs/). The
// link keeps the reply time-out, the progress and the lock of the transfers. Decoding the regions
// is the owner's: it connects to the *Received signals, which fire after the region has been
// copied and compacted and before the next step.
class PbxLink : public QObject, private JobHost
{
    Q_OBJECT

public:
    using Job = TransferQueue::Job;
    using Phase = JobHost::Phase;
    // How one transaction ended, for a caller that waits for its own (another program over the
    // bus): 0; the message number of its failure (Msg::CannotWritePort also when a ring's command
    // was refused); or JobDropped when the port closed before it ended.
    using JobEnded = std::function<void(int outcome)>;
    static constexpr int JobDropped = -1;

    // The image is the owner's and outlives the link.
    PbxLink(Transport& transport, Clock& clock, ConfigImage& image, QObject* parent = nullptr);
    ~PbxLink() override;

    // Settings, passed in by the owner: "TimeOut" (raised to at least 10 s), "Startwartezeit" (ms).
    void setTimeoutSeconds(int seconds);
    int timeoutSeconds() const { return m_timeoutSeconds; }
    void setStartWaitMs(int ms) { m_startWaitMs = ms; }
    // Whether an outgoing call waits for its charge reading (then the charge reply leaves the
    // progress bar alone). Not set: never.
    void setCallPending(std::function<bool()> query) { m_callPending = std::move(query); }

    // Shows message 24, opens the device; on failure message 5 (level 2), failed(5), false.
    // `portName` ("COM2", or the device path) fills the messages.
    bool openPort(const QString& devicePath, const QString& portName);
    // The running job stops where it is; jobs that have not started are dropped with the port.
    void closePort();
    // The end of the program: waiting jobs are dropped, a running ring sends its stop commands
    // (at most about a second), any other job stops; then the port closes and `done` runs.
    void shutDown(std::function<void()> done);
    bool isOpen() const;
    QString portName() const { return m_portName; }

    // The transactions. Each runs at once when the queue is idle, else after the jobs before it.
    // Start-up: the switch-on request (40 ms between its blocks, 100 ms after), then the first
    // read, whose first time-out repeats it once after the start wait time.
    void startUp();
    // Full read: base, extensions, charges; the chain runs on the replies.
    void startRead(JobEnded ended = {});
    // The charge step alone (after a call has ended); not queued twice: a second request waits
    // for the read already waiting.
    void requestCharges(JobEnded ended = {});
    // Configuration write of the image as it is now, optionally with the charge units;
    // writeFinished at its end. A write that waits for a read writes what was asked for, not
    // the read's reply: the configuration regions (and the units sent) are put back into the
    // image first, with imageRestored().
    void write(bool transferUnits, JobEnded ended = {});
    // The same with the image `asked` (a configuration file): its regions go into the image
    // when the write starts.
    void write(const ConfigImage& asked, bool transferUnits, JobEnded ended);
    // All 60 speed-dial entries: speedDialEntry per reply, speedDialsRead after entry 60.
    void readSpeedDials(JobEnded ended = {});
    // One speed-dial entry's write payload; no acknowledgement, no time-out.
    void saveSpeedDial(const QByteArray& payload);
    // Rings the extensions (indexes 0..7) for `seconds`, then stops them; ringFinished at its end.
    void ring(const QList<int>& indexes, int seconds, JobEnded ended = {});

    bool isBusy() const { return m_queue.isBusy(); }
    const TransferQueue& queue() const { return m_queue; }
    // A job runs or waits, or the firmware is too old to work with.
    bool isLocked() const { return m_locked; }
    bool isFirmwareLocked() const { return m_firmwareLocked; }

    // The reply time-out; the owner calls this once a second, in its order of duties.
    void onSecond();
    int replyTimeout() const { return m_replyTimeout; }
    // Set at start-up, consumed by the first time-out of the run, whenever that occurs.
    bool firstRead() const { return m_firstRead; }
    void setFirstRead(bool on) { m_firstRead = on; }

    // While set, every chunk only disarms the time-out and is dropped.
    void setShutdown(bool on) { m_shutdown = on; }

    Phase phase() const { return m_phase; }
    int firmwareVersion() const override;
    int extensionCount() const override;
    StateEvents& stateEvents() { return m_events; }
    // Bytes sent can outnumber the write's maximum; the value shown never passes it.
    int progressValue() const { return std::min(m_progress, m_progressMaximum); }
    int progressMaximum() const { return m_progressMaximum; }

    // The dispatcher (OnReceiveData); public so that tests and other transports can feed it.
    void dispatch(const QByteArray& chunk);

Q_SIGNALS:
    // A numbered message for the status line ("%s" filled with `arg`).
    void status(int number, StatusLevel level, const QString& arg);
    void progressChanged(int value, int maximum);
    void transferLockChanged(bool locked);
    // A region has arrived and is compacted; decode it now.
    void baseReceived();
    void extensionsReceived();
    void chargesReceived();
    // The charge step has finished (ready state, unlocked).
    void readFinished();
    void writeFinished(bool ok);
    // A waiting write has put its configuration back into the image: decode it again.
    void imageRestored();
    // A transfer ended with message 4, 5 or 36 (already reported through status()).
    void failed(int messageNumber);
    // Message 31 is shown; everything but help and exit stays locked.
    void firmwareTooOld();
    // Entry n (1..60) has arrived: the chunk as received.
    void speedDialEntry(int n, const QByteArray& chunk);
    void speedDialsRead();
    void ringFinished();
    // Every state-event chunk before its records are processed (diagnosis signalling).
    void stateEventChunk(const QByteArray& chunk);
    // Every processed record with its effect (listings, diagnosis).
    void stateEventRecord(const EventRecord& record, const StateEvents::Effect& effect);
    void hangup();

private:
    // JobHost: what the running job uses.
    JobHost& host() { return *this; }
    Clock& clock() override { return m_clock; }
    ConfigImage& image() override { return m_image; }
    bool send(const QByteArray& block) override;
    void await(Cells::ChunkClass reply) override;
    void disarm() override;
    void takeRegion(ConfigImage::Region region, const QByteArray& chunk) override;
    void setPhase(Phase phase) override { m_phase = phase; }
    void report(int number, StatusLevel level = StatusLevel::Normal, const QString& arg = {}) override;
    void reportUnwritable() override;
    int progress() const override { return m_progress; }
    void setProgress(int value) override;
    void setProgressRange(int value, int maximum) override;
    bool callPending() const override { return m_callPending && m_callPending(); }
    int startWaitMs() const override { return m_startWaitMs; }
    void lockForFirmware() override;
    void jobEnded(int failure) override;

    void submit(Job job, std::function<std::unique_ptr<LinkJob>()> make, JobEnded ended);
    void callEnded(int outcome);
    // A read of the kind (ReadJob::Kind) with its end announced as readFinished().
    std::unique_ptr<LinkJob> makeRead(int kind);
    void run(std::unique_ptr<LinkJob> job);
    void retire();
    void dropRetired();
    void reopenAfterHangup();
    void expire();
    void stopRunning();
    void finishShutDown();
    void onStateEvents(const QByteArray& chunk);
    void onHangup();
    void updateLock();

    Transport& m_transport;
    Clock& m_clock;
    ConfigImage& m_image;
    StateEvents m_events;
    TransferQueue m_queue;
    std::function<bool()> m_callPending;
    std::unique_ptr<LinkJob> m_job;
    // Ended jobs, deleted from the event loop: one may still be on the stack when it ends.
    std::vector<std::unique_ptr<LinkJob>> m_retired;
    std::function<void()> m_shutDownDone;
    // The callers waiting for the running job, and for the charge read that waits its turn.
    std::vector<JobEnded> m_ended;
    std::shared_ptr<std::vector<JobEnded>> m_waitingChargeEnds;
    int m_refusedSends = 0;

    QString m_portName;
    QString m_devicePath;
    bool m_hungUp = false; // the device went away since it was opened
    int m_timeoutSeconds = 10;
    int m_startWaitMs = 1000;
    int m_replyTimeout = -1;
    Cells::ChunkClass m_awaited = Cells::ChunkClass::Ignored;
    bool m_firstRead = false;
    bool m_shutdown = false;
    bool m_firmwareLocked = false;
    bool m_locked = false;
    Phase m_phase = Phase::Idle;
    int m_progress = 0;
    int m_progressMaximum = 100;
};
