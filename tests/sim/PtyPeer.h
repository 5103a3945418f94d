#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

// The program's end of a pseudo-terminal in tests: opens the device raw and reads with a deadline.
class PtyPeer
{
public:
    explicit PtyPeer(const QString& path)
    {
        m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd >= 0) {
            termios tio{};
            tcgetattr(m_fd, &tio);
            cfmakeraw(&tio);
            tcsetattr(m_fd, TCSANOW, &tio);
        }
    }
    ~PtyPeer() { close(); }
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    void close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    bool write(const QByteArray& bytes)
    {
        return ::write(m_fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    }
    // Reads until `count` bytes have come or `timeoutMs` has passed.
    QByteArray read(int count, int timeoutMs)
    {
        QByteArray out;
        QElapsedTimer timer;
        timer.start();
        while (out.size() < count && timer.elapsed() < timeoutMs) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0 && (p.revents & POLLIN)) {
                char buffer[1024];
                const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
                if (n > 0)
                    out.append(buffer, n);
            }
        }
        return out;
    }

private:
    int m_fd = -1;
};
