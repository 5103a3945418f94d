#include "CpuTime.h"
#include "PtyLink.h"
#include "PtyPeer.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Calls waitAndRead with the given timeout until `data` has come or `ms` have passed.
QByteArray readFor(PtyLink& link, int ms, qint64 timeoutUs = 100'000)
{
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        out += link.waitAndRead(timeoutUs);
    return out;
}

} // namespace

TEST(PtyLink, LinkPointsAtTheSlaveAndIsRemovedAtClose)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tty"));
    PtyLink link;
    ASSERT_TRUE(link.open(path, 9600)) << qPrintable(link.errorString());
    EXPECT_TRUE(link.slavePath().startsWith(QStringLiteral("/dev/pts/")));
    EXPECT_EQ(QFileInfo(path).symLinkTarget(), link.slavePath());
    link.close();
    EXPECT_FALSE(QFileInfo(path).isSymLink());
}

TEST(PtyLink, StaleLinkIsReplacedButAFileIsNot)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tty"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/nonexistent"), path));
    {
        PtyLink link;
        ASSERT_TRUE(link.open(path, 9600));
        EXPECT_EQ(QFileInfo(path).symLinkTarget(), link.slavePath());
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();
    PtyLink link;
    EXPECT_FALSE(link.open(path, 9600));
    EXPECT_TRUE(link.errorString().contains(path));
    link.close();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("keep me"));
}

TEST(PtyLink, CarriesBytesBothWaysAndNoticesHangUps)
{
    QTemporaryDir dir;
    PtyLink link;
    ASSERT_TRUE(link.open(dir.filePath(QStringLiteral("tty")), 9600));
    EXPECT_FALSE(link.isConnected());
    link.write("lost"); // nobody there: dropped, not kept for the next program

    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        PtyPeer peer(link.slavePath());
        ASSERT_TRUE(peer.isOpen());
        EXPECT_TRUE(peer.read(1, 200).isEmpty()) << "stale bytes";
        ASSERT_TRUE(peer.write(QByteArray::fromHex("830A0000")));
        EXPECT_EQ(readFor(link, 300), QByteArray::fromHex("830A0000"));
        EXPECT_TRUE(link.isConnected());
        link.write("reply");
        EXPECT_EQ(peer.read(5, 1000), QByteArray("reply"));

        link.write("unread");
        peer.close();
        readFor(link, 300);
        EXPECT_TRUE(link.takeHangUp());
        EXPECT_FALSE(link.takeHangUp());
        EXPECT_FALSE(link.isConnected());
    }
}

TEST(PtyLink, WaitingWithoutAProgramNeitherSpinsNorBlocks)
{
    QTemporaryDir dir;
    PtyLink link;
    ASSERT_TRUE(link.open(dir.filePath(QStringLiteral("tty")), 9600));
    {
        PtyPeer peer(link.slavePath()); // a program that came and went
        peer.write("x");
    }
    readFor(link, 200);
    const double cpuBefore = CpuTime::self();
    QElapsedTimer timer;
    timer.start();
    int calls = 0;
    while (timer.elapsed() < 1000) {
        link.waitAndRead(5'000'000);
        ++calls;
    }
    // Each wait returns after its idle step, so a program that comes back is seen soon.
    EXPECT_GE(calls, 4);
    EXPECT_LE(calls, 40);
    EXPECT_LT(CpuTime::self() - cpuBefore, 0.3);
}
