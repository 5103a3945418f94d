#include "link/TComm32.h"

#include "link/CommTrace.h"

#include <QFile>
#include <QMetaObject>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <deque>
#include <fcntl.h>
#include <future>
#include <linux/serial.h>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int EvErr = 0x0080; // the event-mask value reported with line errors
constexpr int TraceFlags = 4097;

struct LineErrors
{
    int frame = 0, overrun = 0, parity = 0;
};

bool readLineErrors(int fd, LineErrors& out)
{
    serial_icounter_struct counts{};
    if (::ioctl(fd, TIOCGICOUNT, &counts) != 0)
        return false;
    out = {counts.frame, counts.overrun + counts.buf_overrun, counts.parity};
    return true;
}

void signalFd(int fd)
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto n = ::write(fd, &one, sizeof one);
}

} // namespace

// Everything the threads touch. It outlives a thread left behind by close(), so such a thread
// never reaches into a destroyed TComm32; it closes the port when the last holder lets go.
struct TComm32::Shared
{
    int fd = -1;
    int closeFd = -1;
    int queueFd = -1;
    CommTrace trace;
    std::mutex queueMutex;
    std::deque<QByteArray> queue;
    std::atomic<bool> writerRunning{false};
    std::atomic<bool> hangupRaised{false};
    std::mutex ownerMutex;
    TComm32* owner = nullptr;
    quint64 generation = 0;
    std::function<void()> receiveHook;

    ~Shared()
    {
        if (fd >= 0)
            ::close(fd);
        if (closeFd >= 0)
            ::close(closeFd);
        if (queueFd >= 0)
            ::close(queueFd);
    }

    bool closing() const
    {
        pollfd p{closeFd, POLLIN, 0};
        return ::poll(&p, 1, 0) > 0;
    }

    void post(const QByteArray& chunk)
    {
        if (chunk.isEmpty())
            return;
        if (receiveHook)
            receiveHook();
        trace.line(QStringLiteral("Got something from Comm port: %1 Byte").arg(chunk.size()));
        std::lock_guard lock(ownerMutex);
        if (owner)
            QMetaObject::invokeMethod(
                owner, [o = owner, g = generation, chunk] { o->receive(g, chunk); }, Qt::QueuedConnection);
    }

    void raiseHangup()
    {
        if (hangupRaised.exchange(true))
            return;
        std::lock_guard lock(ownerMutex);
        if (owner)
            QMetaObject::invokeMethod(
                owner, [o = owner, g = generation] { o->onThreadHangup(g); }, Qt::QueuedConnection);
    }

    void reportLineErrors(LineErrors& last)
    {
        LineErrors now;
        if (!readLineErrors(fd, now))
            return;
        QStringList names;
        if (now.frame != last.frame)
            names << QStringLiteral("CE_FRAME");
        if (now.overrun != last.overrun)
            names << QStringLiteral("CE_OVERRUN");
        if (now.parity != last.parity)
            names << QStringLiteral("CE_RXPARITY");
        last = now;
        if (!names.isEmpty())
            post((QStringLiteral("Comm Event: ") + names.join(QStringLiteral(" and ")) +
                  QStringLiteral(", EvtMask = %1").arg(EvErr))
                     .toLatin1());
    }

    void readLoop()
    {
        QByteArray chunk;
        LineErrors errors;
        const bool countsErrors = readLineErrors(fd, errors);
        auto deliver = [&] {
            post(chunk);
            chunk.clear();
            if (countsErrors)
                reportLineErrors(errors);
        };
        char buffer[ChunkLimit];
        for (;;) {
            pollfd fds[2] = {{closeFd, POLLIN, 0}, {fd, POLLIN, 0}};
            const int ready = ::poll(fds, 2, chunk.isEmpty() ? -1 : SilenceMs);
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready < 0) {
                trace.error(QStringLiteral("Read WAIT_FAILED: "), errno);
                raiseHangup();
                break;
            }
            if (fds[0].revents != 0)
                break;
            if (ready == 0) {
                deliver();
                continue;
            }
            if ((fds[1].revents & POLLIN) != 0) {
                const auto n = ::read(fd, buffer, static_cast<std::size_t>(ChunkLimit - chunk.size()));
                if (n > 0) {
                    chunk.append(buffer, n);
                    if (chunk.size() >= ChunkLimit)
                        deliver();
                    continue;
                }
                if (n < 0 && (errno == EAGAIN || errno == EINTR))
                    continue;
                if (n < 0)
                    trace.error(QStringLiteral("Unexpected ReadFile error: "), errno);
            }
            // End of file, a read error or POLLHUP/POLLERR/POLLNVAL: the device is gone.
            trace.line(QStringLiteral("Device closed, requesting hang-up"));
            deliver();
            raiseHangup();
            break;
        }
        trace.line(QStringLiteral("Read thread shutting down"));
        ::tcflush(fd, TCIFLUSH);
    }

    bool writeAll(const QByteArray& block)
    {
        qsizetype done = 0;
        while (done < block.size()) {
            const auto n = ::write(fd, block.constData() + done, static_cast<std::size_t>(block.size() - done));
            if (n > 0) {
                done += n;
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno != EAGAIN) {
                trace.error(QStringLiteral("Error to writing to CommFile "), errno);
                raiseHangup();
                return false;
            }
            pollfd fds[2] = {{closeFd, POLLIN, 0}, {fd, POLLOUT, 0}};
            if (::poll(fds, 2, -1) < 0 && errno != EINTR) {
                trace.error(QStringLiteral("Write WAIT_FAILED: "), errno);
                raiseHangup();
                return false;
            }
            if (fds[0].revents != 0)
                return false; // closing: the write ends silently
            if ((fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
                trace.line(QStringLiteral("Error writing to CommFile while waiting"));
                raiseHangup();
                return false;
            }
        }
        return true;
    }

    void writeLoop()
    {
        for (;;) {
            pollfd fds[2] = {{closeFd, POLLIN, 0}, {queueFd, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                trace.error(QStringLiteral("Write WAIT_FAILED: "), errno);
                raiseHangup();
                break;
            }
            if (fds[0].revents != 0)
                break;
            std::uint64_t count = 0;
            [[maybe_unused]] const auto n = ::read(queueFd, &count, sizeof count);
            if (!drainQueue())
                break;
        }
        writerRunning = false;
        trace.line(QStringLiteral("Write thread shutting down"));
        ::tcflush(fd, TCOFLUSH);
    }

    bool drainQueue()
    {
        for (;;) {
            QByteArray block;
            {
                std::lock_guard lock(queueMutex);
                if (queue.empty())
                    return true;
                block = std::move(queue.front());
                queue.pop_front();
            }
            if (closing())
                return false;
            trace.line(QStringLiteral("Writing to comm port"));
            trace.dump(block);
            if (!writeAll(block))
                return false;
        }
    }
};

TComm32::TComm32(QObject* parent) : Transport(parent) {}

TComm32::~TComm32()
{
    close();
}

bool TComm32::isOpen() const
{
    return m_shared != nullptr;
}

bool TComm32::fail(const QString& message)
{
    m_error = message;
    return false;
}

bool TComm32::open(const QString& devicePath)
{
    m_inUse = false;
    if (m_shared)
        return fail(QStringLiteral("Already have a comm file open"));
    auto shared = std::make_shared<Shared>();
    if (!m_commsLogFileName.isEmpty())
        shared->trace.open(m_commsLogFileName);

    shared->fd = ::open(QFile::encodeName(devicePath).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (shared->fd < 0) {
        shared->trace.error(QStringLiteral("Error opening com port "), errno);
        return fail(QStringLiteral("Error opening com port"));
    }
    if (!::isatty(shared->fd) || !configure(shared->fd))
        return fail(QStringLiteral("File handle is not a comm handle. "));
    // Exclusive use; an advisory lock goes with the process, so a killed program leaves no lock.
    if (::flock(shared->fd, LOCK_EX | LOCK_NB) != 0) {
        m_inUse = errno == EWOULDBLOCK;
        return fail(QStringLiteral("Error opening com port"));
    }
    shared->trace.line(QStringLiteral("Port %1, Bytesize %2, Parity %3, StopBits %4, Flags %5")
                           .arg(devicePath)
                           .arg(8)
                           .arg(0)
                           .arg(0)
                           .arg(TraceFlags));

    shared->closeFd = ::eventfd(0, EFD_CLOEXEC);
    shared->queueFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (shared->closeFd < 0 || shared->queueFd < 0) {
        shared->trace.error(QStringLiteral("Unable to CreateEvent: "), errno);
        return fail(QStringLiteral("Unable to CreateEvent"));
    }
    shared->owner = this;
    shared->generation = ++m_generation;
    shared->receiveHook = m_receiveHook;
    m_shared = std::move(shared);
    if (!startThreads()) {
        close();
        return false;
    }
    m_error.clear();
    return true;
}

// Raw 9600 8N1, no flow control, receiver on, modem lines ignored; stale input discarded.
bool TComm32::configure(int fd)
{
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        return false;
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &tio) != 0)
        return false;
    // RTS on, DTR off; a pseudo-terminal has no modem lines, so failures are of no concern.
    int rts = TIOCM_RTS, dtr = TIOCM_DTR;
    ::ioctl(fd, TIOCMBIS, &rts);
    ::ioctl(fd, TIOCMBIC, &dtr);
    ::tcflush(fd, TCIOFLUSH);
    return true;
}

bool TComm32::startThreads()
{
    auto start = [this](void (Shared::*body)(), std::future<void>& done) {
        std::promise<void> promise;
        done = promise.get_future();
        return std::thread([shared = m_shared, body, promise = std::move(promise)]() mutable {
            (shared.get()->*body)();
            promise.set_value();
        });
    };
    try {
        m_reader = start(&Shared::readLoop, m_readerDone);
    } catch (const std::system_error& e) {
        m_shared->trace.error(QStringLiteral("Unable to create Read thread "), e.code().value());
        return fail(QStringLiteral("Unable to create Read thread"));
    }
    m_shared->trace.line(QStringLiteral("Read thread created"));
    m_shared->writerRunning = true;
    try {
        m_writer = start(&Shared::writeLoop, m_writerDone);
    } catch (const std::system_error& e) {
        m_shared->writerRunning = false;
        m_shared->trace.error(QStringLiteral("Unable to create Write thread "), e.code().value());
        return fail(QStringLiteral("Unable to create Write thread"));
    }
    m_shared->trace.line(QStringLiteral("Write thread created"));
    return true;
}

void TComm32::stopThread(std::thread& thread, std::future<void>& done, const QString& closing, const QString& stuck)
{
    if (!thread.joinable())
        return;
    m_shared->trace.line(closing);
    if (done.wait_for(std::chrono::milliseconds(m_stopTimeoutMs)) == std::future_status::ready) {
        thread.join();
    } else {
        // It keeps its share of the port and closes it when it ends.
        m_shared->trace.line(stuck);
        thread.detach();
    }
}

void TComm32::close()
{
    if (!m_shared)
        return;
    m_shared->trace.line(QStringLiteral("Stopping the Comm"));
    signalFd(m_shared->closeFd);
    stopThread(m_reader, m_readerDone, QStringLiteral("Closing Read Thread "),
               QStringLiteral("Read thread not exiting.  Terminating it."));
    stopThread(m_writer, m_writerDone, QStringLiteral("Closing Write Thread"),
               QStringLiteral("Write thread not exiting.  Terminating it."));
    {
        std::lock_guard lock(m_shared->ownerMutex);
        m_shared->owner = nullptr;
    }
    m_shared->trace.close();
    m_shared.reset();
    ++m_generation;
}

bool TComm32::send(const QByteArray& block)
{
    if (!m_shared || !m_shared->writerRunning) {
        if (m_shared)
            m_shared->trace.line(QStringLiteral("Write thread not created"));
        return false;
    }
    {
        std::lock_guard lock(m_shared->queueMutex);
        m_shared->queue.push_back(block);
    }
    const std::uint64_t one = 1;
    if (::write(m_shared->queueFd, &one, sizeof one) != static_cast<ssize_t>(sizeof one)) {
        m_shared->trace.line(QStringLiteral("Failed to Post to Write thread"));
        return false;
    }
    return true;
}

void TComm32::receive(quint64 generation, const QByteArray& chunk)
{
    if (generation != m_generation || !m_shared)
        return;
    m_shared->trace.dump(chunk);
    Q_EMIT chunkReceived(chunk);
}

void TComm32::onThreadHangup(quint64 generation)
{
    if (generation == m_generation && m_shared)
        Q_EMIT hangup();
}
