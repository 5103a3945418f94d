#pragma once

#include "link/Transport.h"

#include <functional>
#include <future>
#include <memory>
#include <thread>

// The serial port on POSIX termios: raw 9600 8N1 without flow control, RTS on and DTR off. A
// receive thread cuts chunks at 100 ms of line silence or 2048 bytes and hands them to the
// owner's thread in order; a transmit thread writes the queued blocks. Both wait on a close
// signal. A device that goes away (pty closed, USB adapter unplugged) raises hangup() once and
// ends the threads instead of spinning.
class TComm32 : public Transport
{
    Q_OBJECT

public:
    static constexpr int ChunkLimit = 2048;
    static constexpr int SilenceMs = 100;

    explicit TComm32(QObject* parent = nullptr);
    ~TComm32() override;

    // When set, every step of the driver is traced to this file (created at each opening).
    void setCommsLogFileName(const QString& path) { m_commsLogFileName = path; }
    QString commsLogFileName() const { return m_commsLogFileName; }

    // OpenPort: errors "Already have a comm file open", "Error opening com port",
    // "File handle is not a comm handle. ".
    bool open(const QString& devicePath) override;
    // ClosePort: stops both threads (a thread that does not end within the stop time is left
    // behind and its port handle closed when it ends) and closes the port.
    void close() override;
    bool isOpen() const override;
    // SendData: queues the block for the transmit thread; never waits for the port.
    bool send(const QByteArray& block) override;
    QString errorString() const override { return m_error; }
    // The last open() failed because another process holds the port.
    bool wasInUse() const { return m_inUse; }

    // Seams for tests: how long close() waits for each thread (10 s), and a call the receive
    // thread makes before it hands over each chunk.
    void setThreadStopTimeoutMs(int ms) { m_stopTimeoutMs = ms; }
    void setReceiveHookForTest(std::function<void()> hook) { m_receiveHook = std::move(hook); }

    struct Shared;

private:
    void receive(quint64 generation, const QByteArray& chunk);
    void onThreadHangup(quint64 generation);
    bool configure(int fd);
    bool startThreads();
    void stopThread(std::thread& thread, std::future<void>& done, const QString& closing, const QString& stuck);
    bool fail(const QString& message);

    QString m_commsLogFileName;
    QString m_error;
    bool m_inUse = false;
    int m_stopTimeoutMs = 10000;
    quint64 m_generation = 0;
    std::function<void()> m_receiveHook;
    std::shared_ptr<Shared> m_shared;
    std::thread m_reader;
    std::thread m_writer;
    std::future<void> m_readerDone;
    std::future<void> m_writerDone;
};
