#pragma once

#include <QObject>

#include <deque>
#include <functional>
#include <optional>

// One transaction with the exchange at a time. Every transaction is a job: it starts when the
// jobs asked for before it have ended, and it ends by calling finish(). Jobs are started from
// buttons, from state events and from the one-second tick, all during waits that process
// events; without the queue the cells of two transactions would mix on the line.
class TransferQueue : public QObject
{
    Q_OBJECT

public:
    enum class Job
    {
        StartUp, // the switch-on request, then the full read
        FullRead,
        Write,
        ChargeRead,
        SpeedDialRead,
        SpeedDialSave,
        Ring
    };
    Q_ENUM(Job)

    enum class Submitted
    {
        Started,       // ran at once: nothing was running or waiting
        Queued,        // starts after the jobs before it
        AlreadyWaiting // a charge read was already waiting: it brings the same counters
    };

    explicit TransferQueue(QObject* parent = nullptr);

    // `dropped` runs instead of `start` when the job is dropped before its turn.
    Submitted submit(Job job, std::function<void()> start, std::function<void()> dropped = {});
    // The running job has ended. The next one starts from the event loop, after the handlers of
    // the ending job have run; the queue stays busy in between, so the lock does not flicker.
    void finish();
    // Jobs not yet started are dropped (the port closes).
    void dropWaiting();

    // A job runs or waits.
    bool isBusy() const { return m_busy; }
    std::optional<Job> running() const { return m_running; }
    bool isWaiting(Job job) const;
    int waitingCount() const { return static_cast<int>(m_waiting.size()); }

Q_SIGNALS:
    void busyChanged(bool busy);

private:
    struct Entry
    {
        Job job;
        std::function<void()> start;
        std::function<void()> dropped;
    };

    void startNext();
    void run(Entry entry);
    void setBusy(bool busy);

    std::optional<Job> m_running;
    std::deque<Entry> m_waiting;
    bool m_busy = false;
    bool m_startPosted = false;
};
