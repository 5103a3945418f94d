#include "CpuTime.h"
#include "ExchangeReply.h"
#include "common/Clock.h"
#include "link/PbxLink.h"
#include "link/TComm32.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <poll.h>
#include <sys/resource.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

// Real time over a pseudo-terminal; every wait has a wide margin.
namespace {

class Pty
{
public:
    Pty()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_slave = QString::fromLocal8Bit(::ptsname(m_master));
    }
    ~Pty() { closeMaster(); }
    QString slave() const { return m_slave; }
    void write(const QByteArray& bytes)
    {
        ASSERT_EQ(::write(m_master, bytes.constData(), static_cast<size_t>(bytes.size())), bytes.size());
    }
    // Reads until `count` bytes have come or `ms` have passed.
    QByteArray read(int count, int ms = 5000)
    {
        QByteArray out;
        QElapsedTimer timer;
        timer.start();
        while (out.size() < count && timer.elapsed() < ms) {
            pollfd p{m_master, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0 && (p.revents & POLLIN)) {
                char buf[4096];
                const auto n = ::read(m_master, buf, sizeof buf);
                if (n > 0)
                    out.append(buf, n);
            }
        }
        return out;
    }
    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    QString m_slave;
};

// Waits (processing events) until `done` holds or 5 s have passed.
template <typename F> bool waitFor(F done, int ms = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QThread::msleep(5), QCoreApplication::processEvents();
    return done();
}

} // namespace

TEST(TComm32, OpenFailuresHaveTheDriverTexts)
{
    Pty pty;
    ASSERT_FALSE(pty.slave().isEmpty());
    TComm32 port;
    EXPECT_FALSE(port.open(QStringLiteral("/nonexistent/ttyS7")));
    EXPECT_EQ(port.errorString(), QStringLiteral("Error opening com port"));
    EXPECT_FALSE(port.open(QStringLiteral("/dev/null")));
    EXPECT_EQ(port.errorString(), QStringLiteral("File handle is not a comm handle. "));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.send("x"));

    ASSERT_TRUE(port.open(pty.slave()));
    EXPECT_FALSE(port.open(pty.slave()));
    EXPECT_EQ(port.errorString(), QStringLiteral("Already have a comm file open"));
    // Exclusive: a second driver cannot have the device while the first holds it.
    TComm32 other;
    EXPECT_FALSE(other.open(pty.slave()));
    EXPECT_EQ(other.errorString(), QStringLiteral("Error opening com port"));
    // The first opening is intact.
    ASSERT_TRUE(port.isOpen());
    EXPECT_TRUE(port.send(QByteArray::fromHex("830A0000")));
    EXPECT_EQ(pty.read(4), QByteArray::fromHex("830A0000"));
    port.close();
    port.close();
    EXPECT_FALSE(port.isOpen());
}

TEST(TComm32, RawModeWhateverStateTheDeviceWasLeftIn)
{
    Pty pty;
    {
        // Leave the device cooked: canonical input, echo, CR to NL, output post-processing.
        const int fd = ::open(QFile::encodeName(pty.slave()).constData(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        termios tio{};
        ::tcgetattr(fd, &tio);
        tio.c_lflag |= ICANON | ECHO | ISIG;
        tio.c_iflag |= ICRNL | IXON;
        tio.c_oflag |= OPOST | ONLCR;
        ::tcsetattr(fd, TCSANOW, &tio);
        ::close(fd);
    }
    TComm32 port;
    QSignalSpy chunks(&port, &Transport::chunkReceived);
    ASSERT_TRUE(port.open(pty.slave()));
    const QByteArray awkward = QByteArray::fromHex("0D0A031113007F1A04");
    ASSERT_TRUE(port.send(awkward));
    EXPECT_EQ(pty.read(awkward.size()), awkward);
    pty.write(awkward);
    ASSERT_TRUE(waitFor([&] { return chunks.count() == 1; }));
    EXPECT_EQ(chunks.at(0).at(0).toByteArray(), awkward);
    EXPECT_EQ(pty.read(1, 300), QByteArray()); // no echo
}

TEST(TComm32, ChunksEndAtSilenceOrAtTheBufferLimit)
{
    Pty pty;
    TComm32 port;
    QSignalSpy chunks(&port, &Transport::chunkReceived);
    ASSERT_TRUE(port.open(pty.slave()));

    // Two pieces 20 ms apart arrive as one chunk; after 400 ms of silence a new chunk begins.
    std::thread writer([&] {
        pty.write("abc");
        QThread::msleep(20);
        pty.write("def");
        QThread::msleep(400);
        pty.write("ghi");
    });
    ASSERT_TRUE(waitFor([&] { return chunks.count() == 2; }));
    writer.join();
    EXPECT_EQ(chunks.at(0).at(0).toByteArray(), QByteArray("abcdef"));
    EXPECT_EQ(chunks.at(1).at(0).toByteArray(), QByteArray("ghi"));

    // 5000 bytes without a pause: several chunks of at most 2048 bytes, in order.
    chunks.clear();
    QByteArray big;
    for (int i = 0; i < 5000; ++i)
        big.append(static_cast<char>(i % 251));
    std::thread bulk([&] { pty.write(big); });
    QByteArray joined;
    ASSERT_TRUE(waitFor([&] {
        joined.clear();
        for (const auto& args : chunks)
            joined += args.at(0).toByteArray();
        return joined.size() >= big.size();
    }));
    bulk.join();
    EXPECT_EQ(joined, big);
    EXPECT_GE(chunks.count(), 3);
    for (const auto& args : chunks)
        EXPECT_LE(args.at(0).toByteArray().size(), TComm32::ChunkLimit);
}

TEST(TComm32, BlocksGoOutInOrder)
{
    Pty pty;
    TComm32 port;
    ASSERT_TRUE(port.open(pty.slave()));
    QByteArray expected;
    for (int i = 0; i < 200; ++i) {
        const QByteArray block(1, static_cast<char>(i));
        expected += block;
        ASSERT_TRUE(port.send(block));
    }
    EXPECT_EQ(pty.read(expected.size()), expected);
}

TEST(TComm32, VanishedDeviceRaisesOneHangupAndDoesNotSpin)
{
    Pty pty;
    TComm32 port;
    QSignalSpy hangup(&port, &Transport::hangup);
    ASSERT_TRUE(port.open(pty.slave()));
    pty.closeMaster();
    ASSERT_TRUE(waitFor([&] { return hangup.count() == 1; }));
    const double before = CpuTime::self();
    QThread::msleep(1000);
    QCoreApplication::processEvents();
    EXPECT_LT(CpuTime::self() - before, 0.3);
    EXPECT_EQ(hangup.count(), 1);
    port.close();
}

TEST(TComm32, CloseLeavesAStuckThreadBehindAfterTheStopTime)
{
    QTemporaryDir dir;
    Pty pty;
    TComm32 port;
    const QString tracePath = dir.filePath(QStringLiteral("winkavex.debug"));
    port.setCommsLogFileName(tracePath);
    port.setThreadStopTimeoutMs(300);
    std::atomic<bool> entered{false}, left{false};
    port.setReceiveHookForTest([&] {
        entered = true;
        QThread::msleep(1500);
        left = true;
    });
    ASSERT_TRUE(port.open(pty.slave()));
    port.send(QByteArray::fromHex("830A0000"));
    EXPECT_EQ(pty.read(4), QByteArray::fromHex("830A0000"));
    pty.write("x");
    ASSERT_TRUE(waitFor([&] { return entered.load(); }));
    QElapsedTimer timer;
    timer.start();
    port.close();
    EXPECT_LT(timer.elapsed(), 1200);
    EXPECT_FALSE(port.isOpen());
    ASSERT_TRUE(waitFor([&] { return left.load(); }));
    QThread::msleep(100); // the thread lets go of the port after its hook returns

    QFile trace(tracePath);
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = trace.readAll().split('\n');
    auto has = [&](const QByteArray& text) {
        for (const QByteArray& line : lines) {
            if (line.size() > 10 && line.mid(2, 1) == ":" && line.mid(8, 2) == "  " && line.mid(10) == text)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(has("Port " + pty.slave().toLocal8Bit() + ", Bytesize 8, Parity 0, StopBits 0, Flags 4097"));
    EXPECT_TRUE(has("Read thread created"));
    EXPECT_TRUE(has("Writing to comm port"));
    EXPECT_TRUE(has(" 83 0A 00 00"));
    EXPECT_TRUE(has("Stopping the Comm"));
    EXPECT_TRUE(has("Read thread not exiting.  Terminating it."));
    EXPECT_TRUE(has("Write thread shutting down"));
}

// A USB adapter pulled in the middle of a read and plugged in again under the same name (here a
// link to a new pseudo-terminal): the read ends at once, and the next one reaches the device.
TEST(TComm32, ADeviceThatVanishesMidReadIsReadAgainWhenItIsBack)
{
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("ttyUSB0"));
    auto first = std::make_unique<Pty>();
    ASSERT_TRUE(QFile::link(first->slave(), device));
    TComm32 port;
    ConfigImage image;
    PbxLink link(port, SystemClock::instance(), image);
    QSignalSpy failed(&link, &PbxLink::failed);
    QSignalSpy base(&link, &PbxLink::baseReceived);
    ASSERT_TRUE(link.openPort(device, QStringLiteral("COM1")));

    link.startRead();
    EXPECT_EQ(first->read(4), QByteArray::fromHex("830A0000"));
    first.reset();
    ASSERT_TRUE(waitFor([&] { return failed.count() == 1; }));
    EXPECT_EQ(failed.at(0).at(0).toInt(), 4);

    Pty second;
    ASSERT_TRUE(QFile::remove(device));
    ASSERT_TRUE(QFile::link(second.slave(), device));
    link.startRead();
    EXPECT_EQ(second.read(4), QByteArray::fromHex("830A0000"));
    second.write(ExchangeReply::base(2, 0));
    ASSERT_TRUE(waitFor([&] { return base.count() == 1; }));
    EXPECT_EQ(link.firmwareVersion(), 200);
    EXPECT_EQ(failed.count(), 1);
    link.closePort();
}
