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
    // Runs `fn` once, `ms` from now, from the event loop; never when `context` has been
    // destroyed by then. This is how the core pauses: nothing in it waits inside a call.
    virtual void callAfter(int ms, QObject* context, std::function<void()> fn) = 0;
};

// The real clock: Qt's event loop runs the callbacks, on millisecond-precise timers.
class SystemClock : public Clock
{
public:
    SystemClock();
    QDateTime now() const override;
    qint64 elapsedMs() const override;
    void callAfter(int ms, QObject* context, std::function<void()> fn) override;

    static SystemClock& instance();

private:
    qint64 m_startNs;
};
