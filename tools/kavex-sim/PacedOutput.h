#pragma once

#include <QByteArray>
#include <deque>
#include <optional>

// The exchange's transmitter: messages go out one after another at the baud rate (10 bit times per
// byte). A message starts ReplyDelayUs after it was queued at the earliest, and never sooner than
// GapUs after the previous message ended, so that the program's receiver (which cuts chunks at
// 100 ms of silence) gets every message as a chunk of its own. Times are monotonic microseconds.
class PacedOutput
{
public:
    static constexpr qint64 ReplyDelayUs = 20'000;
    static constexpr qint64 GapUs = 150'000;

    explicit PacedOutput(int baud);

    void enqueue(const QByteArray& message, qint64 nowUs);
    // The bytes whose time has come, in order.
    QByteArray takeDue(qint64 nowUs);
    // When the next byte is due; nullopt when nothing is queued.
    std::optional<qint64> nextDueUs() const;
    bool isIdle() const { return m_queue.empty(); }
    void clear();

    qint64 byteTimeUs() const { return m_byteTimeUs; }

private:
    struct Message
    {
        QByteArray bytes;
        qint64 queuedUs;
    };
    qint64 startOf(const Message& m) const;

    qint64 m_byteTimeUs;
    std::deque<Message> m_queue;
    int m_sent = 0;                     // bytes of the front message already handed out
    qint64 m_frontStartUs = 0;          // start of the front message once it has begun
    std::optional<qint64> m_lineFreeUs; // end of the last byte of the previous message
};
