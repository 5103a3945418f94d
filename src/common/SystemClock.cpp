#include "common/Clock.h"

#include <QTimer>
#include <chrono>

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

void SystemClock::callAfter(int ms, QObject* context, std::function<void()> fn)
{
    // Precise even for long pauses: a coarse timer may end a 20 s ring a second early.
    QTimer::singleShot(ms, Qt::PreciseTimer, context, std::move(fn));
}

SystemClock& SystemClock::instance()
{
    static SystemClock clock;
    return clock;
}
