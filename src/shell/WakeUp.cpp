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

void WakeUp::onSecond()
{
    // Seconds 0 and 1, so that a late tick still catches the minute; a ring that runs locks the
    // link, which keeps the second tick from ringing again. A transfer in progress skips it.
    const QDateTime now = m_clock.now();
    if (now.time().second() > 1 || m_ringPending || m_link.isLocked())
        return;
    const QList<int> due = dueIndexes(now);
    if (due.isEmpty())
        return;
    // The ring pauses for the whole duration: started from the event loop rather than inside the
    // tick, the timer keeps ticking (clock, time control) while the extensions ring.
    m_ringPending = true;
    m_clock.callAfter(0, this, [this, due, seconds = m_times.durationSeconds] {
        m_ringPending = false;
        m_link.ring(due, seconds);
    });
}
