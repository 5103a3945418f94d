#include "common/Clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <thread>

SystemClock::SystemClock()
    : m_startNs(
          std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
              .count())
{}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

qint64 SystemClock::elapsedMs() const
{
    const auto ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    return (ns - m_startNs) / 1000000;
}

// Each step ends 10 ms after the one before it was due, not 10 ms after its events were handled:
// what each sleep overran or each round of events took would otherwise add up over the thousands
// of steps that pace a write. No step ends early, so neither does the pause.
void SystemClock::waitPumping(int ms)
{
    const int steps = ms <= 0 ? 0 : (ms + 9) / 10;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 1; i <= steps; ++i) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(10 * i));
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

void SystemClock::callAfter(int ms, QObject* context, std::function<void()> fn)
{
    QTimer::singleShot(ms, context, std::move(fn));
}

SystemClock& SystemClock::instance()
{
    static SystemClock clock;
    return clock;
}
