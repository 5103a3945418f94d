#pragma once

#include "config/ConfigImage.h"
#include "link/Cells.h"
#include "link/StateEvents.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <algorithm>

class Clock;
class StatusLine;
class Transport;

// The exchange link as the program drives it: dispatch of received chunks into the image, the
// full read, the configuration write, the reply time-out and the short requests. Everything
// runs on the owner's thread; waits go through the injected clock, so chunks and ticks are
// handled during them. Decoding the regions is the owner's: it connects to the *Received
// signals, which fire after the region has been copied and compacted and before the next step.
class PbxLink : public QObject
{
    Q_OBJECT

public:
    enum class Phase
    {
        Idle,
        ReadingBase,
        ReadingExtensions,
        ReadingCharges,
        SpeedDials,
        Writing,
        FirmwareLocked
    };

    // `status` may be null (no status line). The image is the owner's and outlives the link.
    PbxLink(Transport& transport, Clock& clock, ConfigImage& image, StatusLine* status, QObject* parent = nullptr);

    // Settings, passed in by the owner: "TimeOut" (raised to at least 10 s), "Startwartezeit" (ms).
    void setTimeoutSeconds(int seconds);
    int timeoutSeconds() const { return m_timeoutSeconds; }
    void setStartWaitMs(int ms) { m_startWaitMs = ms; }

    // Shows message 24, opens the device; on failure message 5 (level 2), failed(5), false.
    // `portName` ("COM2", or the device path) fills the messages.
    bool openPort(const QString& devicePath, const QString& portName);
    void closePort();
    bool isOpen() const;
    QString portName() const { return m_portName; }

    // Start-up: the switch-on request (40 ms between its blocks, 100 ms after), then the first
    // read, whose first time-out repeats it once after the start wait time.
    void startUp();
    // Full read: base, extensions, charges. Returns at once; the chain runs on the replies.
    void startRead();
    // Charge step alone (also used after a call has ended); does not lock.
    void requestCharges();
    // Configuration write from the image, optionally with the charge units; returns when done.
    // False when a block could not be handed to the port (message 36 shown, unlocked).
    bool write(bool transferUnits);

    bool switchEventsOn();
    bool switchEventsOff();
    bool ringExtension(int index, bool on);

    // Speed dials (the reader that uses these is the configuration's): each arms the time-out
    // for its reply; speedDialsFinished() ends the phase and unlocks.
    bool beginSpeedDialRead();
    bool requestSpeedDial(int n);
    void speedDialsFinished();
    // SendRequest: a payload as cells, paced for the firmware, progress advanced per byte.
    bool sendPayload(QByteArrayView payload, QByteArrayView following = {});

    // The reply time-out; the owner calls this once a second, in its order of duties.
    void onSecond();
    int replyTimeout() const { return m_replyTimeout; }
    bool firstRead() const { return m_firstRead; }
    void setFirstRead(bool on) { m_firstRead = on; }

    // While set, every chunk only disarms the time-out and is dropped.
    void setShutdown(bool on) { m_shutdown = on; }

    Phase phase() const { return m_phase; }
    int firmwareVersion() const;
    int extensionCount() const;
    StateEvents& stateEvents() { return m_events; }
    // Bytes sent can outnumber the write's maximum; the value shown never passes it.
    int progressValue() const { return std::min(m_progress, m_progressMaximum); }
    int progressMaximum() const { return m_progressMaximum; }
    void setProgressRange(int value, int maximum);

    // The dispatcher (OnReceiveData); public so that tests and other transports can feed it.
    void dispatch(const QByteArray& chunk);

Q_SIGNALS:
    void progressChanged(int value, int maximum);
    void transferLockChanged(bool locked);
    // A region has arrived and is compacted; decode it now.
    void baseReceived();
    void extensionsReceived();
    void chargesReceived();
    // The charge step has finished (ready state, unlocked).
    void readFinished();
    void writeFinished(bool ok);
    // A transfer ended with message 4, 5 or 36 (already shown on the status line).
    void failed(int messageNumber);
    // Message 31 is shown; everything but help and exit stays locked.
    void firmwareTooOld();
    void speedDialAck();
    void speedDialEntry(const QByteArray& chunk);
    // Every state-event chunk before its records are processed (diagnosis signalling).
    void stateEventChunk(const QByteArray& chunk);
    // Every processed record with its effect (listings, diagnosis).
    void stateEventRecord(const EventRecord& record, const StateEvents::Effect& effect);
    void hangup();

private:
    bool sendBlocks(const QList<QByteArray>& blocks);
    bool sendReadRequest(const QList<QByteArray>& blocks, Cells::ChunkClass awaited, Phase phase);
    void requestStep(int message, const QList<QByteArray>& blocks, Cells::ChunkClass awaited, Phase phase);
    void arm(Cells::ChunkClass awaited);
    void disarm();
    void expire();
    void onBaseReply(const QByteArray& chunk);
    void onExtensionsReply(const QByteArray& chunk);
    void onChargesReply(const QByteArray& chunk);
    void onStateEvents(const QByteArray& chunk);
    void onCallEnded();
    void onHangup();
    bool writeSteps(bool transferUnits);
    bool sendWriteCell(quint8 byte);
    void fail(int messageNumber);
    void showStatus(int number, int level, const QString& arg = {});
    void setLocked(bool locked);
    void setProgress(int value);
    void finishTransfer();

    Transport& m_transport;
    Clock& m_clock;
    ConfigImage& m_image;
    StatusLine* m_status;
    StateEvents m_events;

    QString m_portName;
    int m_timeoutSeconds = 10;
    int m_startWaitMs = 1000;
    int m_replyTimeout = -1;
    Cells::ChunkClass m_awaited = Cells::ChunkClass::Ignored;
    bool m_firstRead = false;
    bool m_shutdown = false;
    bool m_locked = false;
    Phase m_phase = Phase::Idle;
    int m_progress = 0;
    int m_progressMaximum = 100;
};
