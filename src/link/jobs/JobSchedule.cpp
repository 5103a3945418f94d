#include "link/jobs/JobSchedule.h"

#include "common/Clock.h"

#include <algorithm>

JobSchedule::JobSchedule(Clock& clock, QObject* context) : m_clock(clock), m_context(context)
{
    restart();
}

void JobSchedule::restart()
{
    m_dueMs = m_clock.elapsedMs();
}

void JobSchedule::after(int ms, std::function<void()> next)
{
    const int pause = roundedToSteps(ms);
    const qint64 now = m_clock.elapsedMs();
    if (now - m_dueMs > pause)
        m_dueMs = now;
    m_dueMs += pause;
    m_waiting = true;
    const quint64 generation = ++m_generation;
    const int delay = static_cast<int>(std::max<qint64>(0, m_dueMs - now));
    m_clock.callAfter(delay, m_context, [this, generation, next = std::move(next)] {
        if (generation != m_generation)
            return;
        m_waiting = false;
        next();
    });
}

void JobSchedule::cancel()
{
    ++m_generation;
    m_waiting = false;
}
