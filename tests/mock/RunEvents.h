#pragma once

#include <QEventLoop>
#include <QTimer>

// Real time for end-to-end tests: the test's own event loop runs for `ms`.
inline void runEventsFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}
