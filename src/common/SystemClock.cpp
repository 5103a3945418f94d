#include "common/Clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
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

void SystemClock::waitPumping(int ms)
{
    const int steps = ms <= 0 ? 0 : (ms + 9) / 10;
    for (int i = 0; i < steps; ++i) {
        QThread::msleep(10);
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
