#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <functional>
#include <optional>

// Receive side of the exchange: cuts the byte stream into 4-byte cells (a pty shows no block
// boundaries) and joins cells into payloads (header 3 = more, 0x80 + n = last with n bytes).
// Silence resynchronises: a cell left incomplete for CellTimeoutUs is given up, and so is a payload
// whose next cell does not come within PayloadTimeoutUs. Times are monotonic microseconds.
class CellReassembler
{
public:
    static constexpr qint64 CellTimeoutUs = 500'000;
    static constexpr qint64 PayloadTimeoutUs = 1'000'000;
    // Far above the longest payload the program sends (129 bytes); a stream of "more" cells beyond
    // it is noise and is dropped instead of growing without end.
    static constexpr int MaxPayloadLength = 1024;

    // cell: the bytes of one cell (fewer than 4 when given up), firstByteUs: arrival of its first byte.
    using CellSink = std::function<void(const QByteArray& cell, qint64 firstByteUs)>;
    using PayloadSink = std::function<void(const QByteArray& payload, qint64 completedUs)>;

    void setCellSink(CellSink sink) { m_cellSink = std::move(sink); }
    void setPayloadSink(PayloadSink sink) { m_payloadSink = std::move(sink); }

    void feed(QByteArrayView bytes, qint64 nowUs);
    // Applies the time-outs; call it when the deadline has passed.
    void expire(qint64 nowUs);
    // The next moment at which expire has something to do.
    std::optional<qint64> nextDeadlineUs() const;
    // Forgets everything in progress (the partial cell is still reported).
    void reset();

private:
    void completeCell(qint64 nowUs);

    CellSink m_cellSink;
    PayloadSink m_payloadSink;
    QByteArray m_cell;
    qint64 m_cellStartUs = 0;
    QByteArray m_payload;
    bool m_inPayload = false;
    qint64 m_lastCellUs = 0;
};
