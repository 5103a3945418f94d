#pragma once

#include "common/Clock.h"

#include <functional>
#include <map>

// Virtual time: advance() moves the clock on in 10 ms steps without sleeping, firing the
// callbacks scheduled for each step and processing posted Qt events, as the event loop would.
class MockClock : public Clock
{
public:
    explicit MockClock(QDateTime start = QDateTime(QDate(2026, 12, 9), QTime(8, 0, 0)));

    QDateTime now() const override;
    qint64 elapsedMs() const override { return m_ms; }
    void callAfter(int ms, QObject* context, std::function<void()> fn) override;

    // Advance virtual time by ms in 10 ms steps.
    void advance(qint64 ms);
    // Run fn once virtual time reaches atMs (absolute, elapsedMs scale).
    void schedule(qint64 atMs, std::function<void()> fn);
    void setNow(const QDateTime& t);

private:
    void step(qint64 ms);

    QDateTime m_start;
    qint64 m_ms = 0;
    std::multimap<qint64, std::function<void()>> m_scheduled;
};
