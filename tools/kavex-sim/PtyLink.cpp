#include "PtyLink.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

namespace {

speed_t speedFor(int baud)
{
    switch (baud) {
    case 300:
        return B300;
    case 600:
        return B600;
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B9600;
    }
}

timespec toTimespec(qint64 us)
{
    us = std::max<qint64>(us, 0);
    return timespec{static_cast<time_t>(us / 1'000'000), static_cast<long>(us % 1'000'000) * 1000};
}

} // namespace

PtyLink::~PtyLink()
{
    close();
}

bool PtyLink::fail(const QString& what)
{
    m_error = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

bool PtyLink::open(const QString& linkPath, int baud)
{
    m_fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0)
        return fail(QStringLiteral("Pseudo-Terminal nicht verfügbar"));
    if (grantpt(m_fd) != 0 || unlockpt(m_fd) != 0)
        return fail(QStringLiteral("Pseudo-Terminal nicht freigegeben"));
    char name[128];
    if (ptsname_r(m_fd, name, sizeof name) != 0)
        return fail(QStringLiteral("Name des Pseudo-Terminals unbekannt"));
    m_slavePath = QString::fromLocal8Bit(name);

    // Raw on the master sets the slave's line too, so nothing is echoed before the program sets it.
    termios tio{};
    tcgetattr(m_fd, &tio);
    cfmakeraw(&tio);
    cfsetspeed(&tio, speedFor(baud));
    tcsetattr(m_fd, TCSANOW, &tio);
    // Open and close the slave once: from then on a slave that nobody holds shows as a hang-up.
    const int slave = ::open(name, O_RDWR | O_NOCTTY);
    if (slave < 0)
        return fail(QStringLiteral("Kann %1 nicht öffnen").arg(m_slavePath));
    ::close(slave);
    // So that a program opening the line is noticed at once and its first bytes are timed right.
    m_openWatch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_openWatch >= 0 && inotify_add_watch(m_openWatch, name, IN_OPEN) < 0) {
        ::close(m_openWatch);
        m_openWatch = -1;
    }

    const QFileInfo existing(linkPath);
    if (existing.exists() && !existing.isSymLink()) {
        m_error = QStringLiteral("%1 ist schon vorhanden und kein symbolischer Link").arg(linkPath);
        return false;
    }
    const QByteArray link = QFile::encodeName(linkPath);
    const QByteArray temporary = link + ".new";
    ::unlink(temporary.constData());
    if (::symlink(name, temporary.constData()) != 0 || ::rename(temporary.constData(), link.constData()) != 0) {
        ::unlink(temporary.constData());
        return fail(QStringLiteral("Kann den Link %1 nicht anlegen").arg(linkPath));
    }
    m_linkPath = linkPath;
    return true;
}

void PtyLink::close()
{
    if (!m_linkPath.isEmpty()) {
        // Only our own link: another simulator may have taken the path over meanwhile.
        if (QFileInfo(m_linkPath).symLinkTarget() == m_slavePath)
            ::unlink(QFile::encodeName(m_linkPath).constData());
        m_linkPath.clear();
    }
    if (m_openWatch >= 0)
        ::close(m_openWatch);
    m_openWatch = -1;
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_connected = false;
}

void PtyLink::noteHangUp()
{
    if (m_connected)
        m_hungUp = true;
    m_connected = false;
    // Whatever the program left unread must not reach the next program that opens the line. The
    // slave keeps its unread input across the close, and only a flush on the slave side drops it.
    tcflush(m_fd, TCIOFLUSH);
    const int slave = ::open(QFile::encodeName(m_slavePath).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave >= 0) {
        tcflush(slave, TCIFLUSH);
        ::close(slave);
    }
}

void PtyLink::checkConnected()
{
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, 0) < 0)
        return;
    m_connected = (p.revents & POLLIN) || !(p.revents & POLLHUP);
}

bool PtyLink::takeHangUp()
{
    const bool result = m_hungUp;
    m_hungUp = false;
    return result;
}

void PtyLink::waitForOpen(qint64 timeoutUs, const sigset_t* waitMask)
{
    // Nobody on the line: the master would report the hang-up at once, so wait on the watch instead.
    const timespec pause = toTimespec(std::min(timeoutUs, IdleStepUs));
    if (m_openWatch < 0) {
        ::ppoll(nullptr, 0, &pause, waitMask);
        return;
    }
    pollfd p{m_openWatch, POLLIN, 0};
    if (::ppoll(&p, 1, &pause, waitMask) > 0) {
        char events[4096];
        while (::read(m_openWatch, events, sizeof events) > 0) {
        }
        checkConnected();
    }
}

QByteArray PtyLink::waitAndRead(qint64 timeoutUs, const sigset_t* waitMask)
{
    QByteArray received;
    if (m_fd < 0)
        return received;
    if (!m_connected) {
        checkConnected();
        if (!m_connected) {
            waitForOpen(timeoutUs, waitMask);
            if (!m_connected)
                return received;
            timeoutUs = 0; // just opened: take what is there and let the caller look at the time
        }
    }
    pollfd p{m_fd, POLLIN, 0};
    const timespec timeout = toTimespec(timeoutUs);
    if (::ppoll(&p, 1, &timeout, waitMask) <= 0)
        return received;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0) {
            received.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EIO)
            noteHangUp();
        break;
    }
    if (m_connected && (p.revents & POLLHUP) && !(p.revents & POLLIN))
        noteHangUp();
    return received;
}

void PtyLink::write(const QByteArray& bytes)
{
    if (!m_connected)
        return;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return;
    }
}
