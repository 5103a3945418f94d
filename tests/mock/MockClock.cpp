#include "MockClock.h"

#include <QCoreApplication>
#include <QPointer>

MockClock::MockClock(QDateTime start) : m_start(std::move(start)) {}

QDateTime MockClock::now() const
{
    return m_start.addMSecs(m_ms);
}

void MockClock::advance(qint64 ms)
{
    const qint64 end = m_ms + ms;
    while (m_ms < end)
        step(qMin<qint64>(10, end - m_ms));
    QCoreApplication::processEvents();
}

void MockClock::schedule(qint64 atMs, std::function<void()> fn)
{
    m_scheduled.emplace(atMs, std::move(fn));
}

void MockClock::callAfter(int ms, QObject* context, std::function<void()> fn)
{
    schedule(m_ms + std::max(ms, 0), [guard = QPointer<QObject>(context), fn = std::move(fn)] {
        if (guard)
            fn();
    });
}

void MockClock::setNow(const QDateTime& t)
{
    m_start = t.addMSecs(-m_ms);
}

void MockClock::step(qint64 ms)
{
    m_ms += ms;
    while (!m_scheduled.empty() && m_scheduled.begin()->first <= m_ms) {
        auto fn = std::move(m_scheduled.begin()->second);
        m_scheduled.erase(m_scheduled.begin());
        fn();
    }
    QCoreApplication::processEvents();
}
