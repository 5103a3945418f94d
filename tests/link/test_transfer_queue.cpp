#include "link/TransferQueue.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

using Job = TransferQueue::Job;
using Submitted = TransferQueue::Submitted;

// Jobs that end when the test says so, recording when they start.
struct Recorder
{
    TransferQueue queue;
    QStringList started;

    Submitted ask(Job job, const QString& name)
    {
        return queue.submit(job, [this, name] { started.append(name); });
    }
    void endRunning()
    {
        queue.finish();
        QCoreApplication::processEvents();
    }
};

TEST(TransferQueue, JobsRunOneAtATimeInTheOrderAskedAndTheLockHoldsBetweenThem)
{
    Recorder r;
    QSignalSpy busy(&r.queue, &TransferQueue::busyChanged);
    EXPECT_EQ(r.ask(Job::FullRead, QStringLiteral("read")), Submitted::Started);
    EXPECT_EQ(r.ask(Job::Write, QStringLiteral("write")), Submitted::Queued);
    EXPECT_EQ(r.ask(Job::SpeedDialRead, QStringLiteral("speed dials")), Submitted::Queued);
    EXPECT_EQ(r.started, QStringList{QStringLiteral("read")});

    // The next job waits for the event loop, so the ending job's handlers run first.
    r.queue.finish();
    EXPECT_EQ(r.started.size(), 1);
    EXPECT_TRUE(r.queue.isBusy());
    QCoreApplication::processEvents();
    EXPECT_EQ(r.started.size(), 2);
    EXPECT_EQ(r.queue.running(), Job::Write);

    r.endRunning();
    r.endRunning();
    EXPECT_EQ(r.started, (QStringList{QStringLiteral("read"), QStringLiteral("write"), QStringLiteral("speed dials")}));
    EXPECT_FALSE(r.queue.isBusy());
    ASSERT_EQ(busy.count(), 2); // locked once, unlocked once
    EXPECT_TRUE(busy.at(0).at(0).toBool());
    EXPECT_FALSE(busy.at(1).at(0).toBool());
}

TEST(TransferQueue, AChargeReadIsNotQueuedTwiceButOneIsQueuedBehindARunningOne)
{
    Recorder r;
    r.ask(Job::ChargeRead, QStringLiteral("charges 1"));
    EXPECT_EQ(r.ask(Job::ChargeRead, QStringLiteral("charges 2")), Submitted::Queued);
    EXPECT_EQ(r.ask(Job::ChargeRead, QStringLiteral("charges 3")), Submitted::AlreadyWaiting);
    EXPECT_EQ(r.ask(Job::Ring, QStringLiteral("ring")), Submitted::Queued);
    r.endRunning();
    r.endRunning();
    r.endRunning();
    EXPECT_EQ(r.started,
              (QStringList{QStringLiteral("charges 1"), QStringLiteral("charges 2"), QStringLiteral("ring")}));
}

TEST(TransferQueue, AJobAskedForBetweenTwoJobsKeepsItsPlace)
{
    Recorder r;
    r.ask(Job::FullRead, QStringLiteral("read"));
    r.ask(Job::Write, QStringLiteral("write"));
    r.queue.finish();
    r.ask(Job::Ring, QStringLiteral("ring")); // before the write has started
    QCoreApplication::processEvents();
    r.endRunning();
    EXPECT_EQ(r.started, (QStringList{QStringLiteral("read"), QStringLiteral("write"), QStringLiteral("ring")}));

    r.ask(Job::Write, QStringLiteral("dropped"));
    r.queue.dropWaiting();
    r.endRunning();
    EXPECT_FALSE(r.queue.isBusy());
    EXPECT_EQ(r.started.size(), 3);
}

// A caller waiting for its job hears of it when the port closes first: each waiting job's drop
// runs once, the running one's never (it ends by itself).
TEST(TransferQueue, DroppedJobsTellTheirCallersAndOnlyThem)
{
    TransferQueue queue;
    QStringList dropped;
    const auto ask = [&](Job job, const QString& name) {
        return queue.submit(job, [] {}, [&dropped, name] { dropped.append(name); });
    };
    ask(Job::FullRead, QStringLiteral("read"));
    ask(Job::Ring, QStringLiteral("ring"));
    ask(Job::Write, QStringLiteral("write"));
    queue.dropWaiting();
    EXPECT_EQ(dropped, (QStringList{QStringLiteral("ring"), QStringLiteral("write")}));
    queue.dropWaiting();
    EXPECT_EQ(dropped.size(), 2);
    EXPECT_TRUE(queue.isBusy());
}
