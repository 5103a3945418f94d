#include "link/TransferQueue.h"

#include <algorithm>

TransferQueue::TransferQueue(QObject* parent) : QObject(parent) {}

TransferQueue::Submitted TransferQueue::submit(Job job, std::function<void()> start, std::function<void()> dropped)
{
    if (job == Job::ChargeRead && isWaiting(Job::ChargeRead))
        return Submitted::AlreadyWaiting;
    if (m_busy) {
        m_waiting.push_back({job, std::move(start), std::move(dropped)});
        return Submitted::Queued;
    }
    run({job, std::move(start), {}});
    return Submitted::Started;
}

void TransferQueue::run(Entry entry)
{
    m_running = entry.job;
    setBusy(true);
    entry.start();
}

void TransferQueue::finish()
{
    if (!m_running)
        return;
    m_running.reset();
    if (m_waiting.empty()) {
        setBusy(false);
        return;
    }
    if (!m_startPosted) {
        m_startPosted = true;
        QMetaObject::invokeMethod(this, &TransferQueue::startNext, Qt::QueuedConnection);
    }
}

void TransferQueue::startNext()
{
    m_startPosted = false;
    if (m_running)
        return;
    if (m_waiting.empty()) {
        setBusy(false);
        return;
    }
    Entry next = std::move(m_waiting.front());
    m_waiting.pop_front();
    run(std::move(next));
}

void TransferQueue::dropWaiting()
{
    std::deque<Entry> dropped;
    dropped.swap(m_waiting);
    if (!m_running)
        setBusy(false);
    for (Entry& entry : dropped) {
        if (entry.dropped)
            entry.dropped();
    }
}

bool TransferQueue::isWaiting(Job job) const
{
    return std::any_of(m_waiting.begin(), m_waiting.end(), [job](const Entry& e) { return e.job == job; });
}

void TransferQueue::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    Q_EMIT busyChanged(busy);
}
