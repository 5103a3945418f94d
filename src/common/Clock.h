#pragma once

#include <QDateTime>
#include <QtGlobal>

#include <functional>

class QObject;

// Time as the core sees it. Injected everywhere, so that tests run pacing, pauses and time-outs
// in virtual time.
class Clock
{
public:
    virtual ~Clock() = default;

    // Local wall-clock time (logs, time control, wake-up).
    virtual QDateTime now() const = 0;
    // Monotonic milliseconds since an arbitrary start (pacing, time-outs).
    virtual qint64 elapsedMs() const = 0;
    // A pause with message processing: cut into steps of 10 ms (rounded up); pending events
    // (received chunks, timer ticks) are handled after each step.
    virtual void waitPumping(int ms) = 0;
    // Runs `fn` once, `ms` from now, from the event loop (or a later pause); never when
    // `context` has been destroyed by then.
    virtual void callAfter(int ms, QObject* context, std::function<void()> fn) = 0;
};

// The real clock: processes the Qt event queue during waits.
class SystemClock : public Clock
{
public:
    SystemClock();
    QDateTime now() const override;
    qint64 elapsedMs() const override;
    void waitPumping(int ms) override;
    void callAfter(int ms, QObject* context, std::function<void()> fn) override;

    static SystemClock& instance();

private:
    qint64 m_startNs;
};
