#include "shell/WakeUp.h"

#include "common/Clock.h"
#include "image/Extensions.h"
#include "link/PbxLink.h"

#include <algorithm>

WakeUp::WakeUp(Clock& clock, Settings& settings, PbxLink& link, QObject* parent)
    : QObject(parent), m_clock(clock), m_settings(settings), m_link(link)
{
    m_times.weekdays.fill(QStringLiteral("9999"));
    m_times.weekend.fill(QStringLiteral("9999"));
}

void WakeUp::loadSettings()
{
    m_times = m_settings.wakeUpTimes();
    m_times.durationSeconds = std::clamp(m_times.durationSeconds, MinDuration, MaxDuration);
    Q_EMIT changed();
}

void WakeUp::setWeekdayTime(int index, const QString& hhmm)
{
    if (!Extensions::isIndex(index) || m_times.weekdays.at(static_cast<std::size_t>(index)) == hhmm)
        return;
    m_times.weekdays.at(static_cast<std::size_t>(index)) = hhmm;
    store();
}

void WakeUp::setWeekendTime(int index, const QString& hhmm)
{
    if (!Extensions::isIndex(index) || m_times.weekend.at(static_cast<std::size_t>(index)) == hhmm)
        return;
    m_times.weekend.at(static_cast<std::size_t>(index)) = hhmm;
    store();
}

void WakeUp::setDurationSeconds(int seconds)
{
    seconds = std::clamp(seconds, MinDuration, MaxDuration);
    if (m_times.durationSeconds == seconds)
        return;
    m_times.durationSeconds = seconds;
    store();
}

void WakeUp::store()
{
    if (m_ready)
        m_settings.setWakeUpTimes(m_times);
}

QList<int> WakeUp::dueIndexes(const QDateTime& now) const
{
    const bool weekend = now.date().dayOfWeek() >= Qt::Saturday;
    const QString minute = now.time().toString(QStringLiteral("HHmm"));
    const auto& times = weekend ? m_times.weekend : m_times.weekdays;
    QList<int> due;
    for (int i = 0; i < Extensions::Max; ++i) {
        if (times.at(static_cast<std::size_t>(i)) == minute)
            due.append(i);
    }
    return due;
}

// A read or write that the user or time control started skips the minute; any other job (a charge
// reading after a call, the speed dials) only makes the ring wait its turn.
bool WakeUp::skippedByTransfer() const
{
    using Job = TransferQueue::Job;
    const TransferQueue& queue = m_link.queue();
    if (m_link.isFirmwareLocked() || queue.isWaiting(Job::Ring))
        return true;
    const std::optional<Job> running = queue.running();
    return running &&
           (*running == Job::StartUp || *running == Job::FullRead || *running == Job::Write || *running == Job::Ring);
}

void WakeUp::onSecond()
{
    // Seconds 0 and 1, so that a late tick still catches the minute; the ring of second 0 is
    // running or waiting at second 1, which keeps that tick from ringing again.
    const QDateTime now = m_clock.now();
    if (now.time().second() > 1 || skippedByTransfer())
        return;
    const QList<int> due = dueIndexes(now);
    if (!due.isEmpty())
        m_link.ring(due, m_times.durationSeconds);
}
