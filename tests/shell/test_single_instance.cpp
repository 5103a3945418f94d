#include "shell/SingleInstance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLockFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

TEST(SingleInstance, SecondStartSignalsTheFirst)
{
    QTemporaryDir dir;
    SingleInstance first(dir.path());
    ASSERT_EQ(first.start(), SingleInstance::Role::First);
    int activations = 0;
    QObject::connect(&first, &SingleInstance::activated, [&activations] { ++activations; });

    SingleInstance second(dir.path());
    EXPECT_EQ(second.start(), SingleInstance::Role::Signalled);
    EXPECT_TRUE(waitFor([&] { return activations == 1; }));

    SingleInstance third(dir.path());
    EXPECT_EQ(third.start(), SingleInstance::Role::Signalled);
    EXPECT_TRUE(waitFor([&] { return activations == 2; }));
}

TEST(SingleInstance, TheLockIsFreedWithTheFirstInstance)
{
    QTemporaryDir dir;
    {
        SingleInstance first(dir.path());
        ASSERT_EQ(first.start(), SingleInstance::Role::First);
    }
    SingleInstance next(dir.path());
    EXPECT_EQ(next.start(), SingleInstance::Role::First);
}

TEST(SingleInstance, AHolderThatDoesNotListenIsReportedUnreached)
{
    QTemporaryDir dir;
    QLockFile holder(dir.path() + "/WinKavex.lock");
    ASSERT_TRUE(holder.tryLock(0));
    SingleInstance second(dir.path());
    EXPECT_EQ(second.start(), SingleInstance::Role::Unreached);
}

} // namespace
