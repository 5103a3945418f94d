#pragma once

#include "CellReassembler.h"
#include "PacedOutput.h"
#include "SpeedDialTable.h"
#include "image/ConfigImage.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>

// The simulated exchange's protocol: reassembles the program's payloads from the received cells,
// answers read requests with its image regions, applies written payloads, sends state events once
// they are switched on, and rings extensions. No I/O of its own: bytes come in through receive(),
// paced bytes go out through takeOutput(), and every call carries the monotonic time in microseconds.
class Exchange
{
public:
    Exchange(const ConfigImage& image, const SpeedDialTable& speedDials, int baud);

    // Never transmits anything (requests are still received, logged and acted upon).
    void setMute(bool mute) { m_mute = mute; }
    // Every received cell, for the block log.
    void setCellObserver(CellReassembler::CellSink observer) { m_input.setCellSink(std::move(observer)); }
    // Short texts about what the exchange did, for --verbose.
    void setNoticeSink(std::function<void(const QString&)> sink) { m_notice = std::move(sink); }

    void receive(QByteArrayView bytes, qint64 nowUs);
    // Applies the receive time-outs; call when nextDeadlineUs has passed.
    void expire(qint64 nowUs);
    QByteArray takeOutput(qint64 nowUs);
    std::optional<qint64> nextDeadlineUs() const;
    // The program closed the line: input in progress, queued output and the event switch are reset,
    // as a program that opens the line again switches events on anew.
    void hangUp();

    // A state event (payload DD sub p1 p2 p3 00); sent only while events are switched on.
    void sendEvent(int sub, int p1, int p2, int p3, qint64 nowUs);
    // Counts charge units for extension index 0..7 (16-bit counter, wraps).
    void addUnits(int index, int units);

    bool eventsOn() const { return m_eventsOn; }
    bool isRinging(int index) const;
    const ConfigImage& image() const { return m_image; }
    const SpeedDialTable& speedDials() const { return m_speedDials; }
    int firmware() const;
    int extensionCount() const;

private:
    void handlePayload(const QByteArray& payload, qint64 nowUs);
    bool handleRequest(const QByteArray& payload, qint64 nowUs);
    bool handleEventCommand(const QByteArray& payload, qint64 nowUs);
    bool handleWrite(const QByteArray& payload);
    void sendRegion(ConfigImage::Region region, qint64 nowUs);
    void send(const QByteArray& lineBytes, qint64 nowUs);
    void stageBase(const QByteArray& payload);
    void stageRecord(const QByteArray& payload);
    void commitStaged();
    void applyUnits(const QByteArray& payload);
    void setRinging(int index, bool on, qint64 nowUs);
    void notice(const QString& text) const;

    ConfigImage m_image;
    SpeedDialTable m_speedDials;
    CellReassembler m_input;
    PacedOutput m_output;
    bool m_mute = false;
    bool m_eventsOn = false;
    std::array<bool, 8> m_ringing{};
    // A configuration write is staged and takes effect with its end payload (kind 12).
    std::optional<ConfigImage> m_staged;
    int m_recordCursor = 0;
    std::function<void(const QString&)> m_notice;
};
