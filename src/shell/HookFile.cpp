#include "shell/HookFile.h"

#include "common/SafeFolder.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writableByOthers(const struct stat& info)
{
    return (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

} // namespace

HookFile::HookFile(const QString& path)
{
    // Non-blocking, so that a FIFO in the hook's place is seen instead of waited on.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_exists = errno != ENOENT;
        if (errno == ELOOP)
            m_refusal = QStringLiteral("symbolischer Link");
        else if (m_exists)
            m_refusal = QStringLiteral("nicht lesbar");
        return;
    }
    m_exists = true;
    check(fd);
    if (mayRun()) {
        m_refusal = SafeFolder::refusal(QFileInfo(path).absolutePath());
        if (m_refusal) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
}

HookFile::~HookFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void HookFile::check(int fd)
{
    struct stat info = {};
    if (::fstat(fd, &info) != 0)
        m_refusal = QStringLiteral("nicht lesbar");
    else if (!S_ISREG(info.st_mode) || (info.st_mode & S_IXUSR) == 0)
        m_switchedOff = true;
    else if (info.st_uid != ::geteuid())
        m_refusal = QStringLiteral("gehört nicht dem Benutzer");
    else if (writableByOthers(info))
        m_refusal = QStringLiteral("für andere beschreibbar");
    if (m_switchedOff || m_refusal) {
        ::close(fd);
        return;
    }
    m_fd = fd;
}

QString HookFile::execPath() const
{
    return QStringLiteral("/proc/self/fd/%1").arg(m_fd);
}
