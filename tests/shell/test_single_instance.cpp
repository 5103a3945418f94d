#include "shell/SingleInstance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

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

// One program start, as a process of its own: this test binary run again with the instance
// directory in the environment. The exit status tells the role: 1 signalled, 2 unreached, and
// 100 + the second starts heard for the first instance, which waits for the number expected.
TEST(SingleInstanceProcess, Start)
{
    const QByteArray dir = qgetenv("KAVEX_INSTANCE_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "started by TwentyStartsAtOnce";
    SingleInstance instance(QString::fromLocal8Bit(dir));
    const SingleInstance::Role role = instance.start();
    if (role != SingleInstance::Role::First)
        std::_Exit(role == SingleInstance::Role::Signalled ? 1 : 2);
    int heard = 0;
    QObject::connect(&instance, &SingleInstance::activated, [&heard] { ++heard; });
    const int expected = qEnvironmentVariableIntValue("KAVEX_INSTANCE_EXPECT");
    waitFor([&] { return heard >= expected; }, 60000);
    QThread::msleep(500); // a start too many would show here
    QCoreApplication::processEvents();
    std::_Exit(100 + std::min(heard, 99));
}

// Twenty starts at once: exactly one stays, and it hears each of the other nineteen once.
TEST(SingleInstance, TwentyStartsAtOnceLeaveOneThatHearsEachOther)
{
    constexpr int Starts = 20;
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KAVEX_INSTANCE_DIR"), dir.path());
    env.insert(QStringLiteral("KAVEX_INSTANCE_EXPECT"), QString::number(Starts - 1));
    std::vector<std::unique_ptr<QProcess>> starts;
    for (int i = 0; i < Starts; ++i) {
        auto& p = starts.emplace_back(std::make_unique<QProcess>());
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=SingleInstanceProcess.*")});
    }
    std::vector<int> codes;
    for (auto& p : starts) {
        ASSERT_TRUE(p->waitForFinished(120000));
        ASSERT_EQ(p->exitStatus(), QProcess::NormalExit);
        codes.push_back(p->exitCode());
    }
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 100 + Starts - 1), 1);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 1), Starts - 1);
}

} // namespace
