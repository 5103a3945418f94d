#include "E2eHarness.h"

#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

// An exchange that never answers: the read ends with message 4 and exit status 2 after the first
// time-out, the automatic repeat and the second time-out (10 s + start wait + 10 s), also when
// state events keep arriving meanwhile.
TEST(EndToEndTimeout, UnansweredReadEndsWithMessage4EvenWhileEventsArrive)
{
    SimulatedExchange mute;
    ASSERT_TRUE(mute.start({QStringLiteral("--mute")}));

    // A second "exchange" of our own that only ever sends state-event records.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const QString chattyDevice = QString::fromLocal8Bit(::ptsname(master));
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    std::atomic<bool> stop{false};
    std::thread chatter([&] {
        const QByteArray record = QByteArray::fromHex("03DD0300"
                                                      "83000100");
        char sink[256];
        while (!stop) {
            [[maybe_unused]] auto w = ::write(master, record.constData(), static_cast<size_t>(record.size()));
            for (int i = 0; i < 7 && !stop; ++i) {
                QThread::msleep(100);
                [[maybe_unused]] auto r = ::read(master, sink, sizeof sink); // drain the requests
            }
        }
    });

    auto start = [](QProcess& process, const QString& dir, const QString& device) {
        process.setProgram(binary(QStringLiteral("kavexctl")));
        process.setArguments({QStringLiteral("--dir"), dir, QStringLiteral("--port"), device,
                              QStringLiteral("--timeout"), QStringLiteral("10"), QStringLiteral("read")});
        process.start();
    };
    QProcess silent, chatty;
    QElapsedTimer timer;
    timer.start();
    start(silent, mute.dir(), mute.device());
    start(chatty, mute.dir(), chattyDevice);
    const bool silentDone = silent.waitForFinished(60000);
    const qint64 silentMs = timer.elapsed();
    const bool chattyDone = chatty.waitForFinished(std::max<qint64>(1000, 60000 - timer.elapsed()));
    stop = true;
    chatter.join();
    ::close(master);
    if (!chattyDone)
        chatty.kill(), chatty.waitForFinished(5000);

    ASSERT_TRUE(silentDone);
    EXPECT_EQ(silent.exitCode(), 2);
    EXPECT_GE(silentMs, 20000);
    const QString silentErr = QString::fromUtf8(silent.readAllStandardError());
    EXPECT_TRUE(silentErr.contains(QStringLiteral("Kommunikationsfehler auf Schnittstelle ") + mute.device()))
        << qPrintable(silentErr);

    ASSERT_TRUE(chattyDone) << "state events kept the read waiting";
    EXPECT_EQ(chatty.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(chatty.readAllStandardError()).contains(QStringLiteral("Kommunikationsfehler")));

    // The mute exchange got the read request twice: the first and the automatic repeat.
    mute.stop();
    QList<QByteArray> blocks;
    for (const auto& cell : mute.cells())
        blocks.append(cell.bytes);
    EXPECT_EQ(blocks, (QList<QByteArray>{QByteArray::fromHex("830A0000"), QByteArray::fromHex("830A0000")}));
}
