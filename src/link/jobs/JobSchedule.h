#pragma once

#include <QtGlobal>

#include <functional>

class Clock;
class QObject;

// The pauses of one job as timers on the job's own schedule: each pause ends a fixed time after the
// previous one was due, not after its handlers ran, so what the event loop takes does not add up
// over the hundreds of pauses that pace a write. Pauses are whole 10 ms steps, rounded up. A job
// waits for one pause at a time; cancel() drops it.
class JobSchedule
{
public:
    // `context` owns the schedule: its timers never fire once it is destroyed.
    JobSchedule(Clock& clock, QObject* context);

    // The next pause is counted from now.
    void restart();
    // Runs `next` when the pause of `ms` has passed. A pause that was due so long ago that it has
    // passed entirely is counted from now: a stalled loop must not send a burst of cells.
    void after(int ms, std::function<void()> next);
    void cancel();
    bool isWaiting() const { return m_waiting; }

    static int roundedToSteps(int ms) { return ms <= 0 ? 0 : (ms + 9) / 10 * 10; }

private:
    Clock& m_clock;
    QObject* m_context;
    qint64 m_dueMs = 0;
    quint64 m_generation = 0;
    bool m_waiting = false;
};
