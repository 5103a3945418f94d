#include "link/CommTrace.h"

#include "common/TextFile.h"

#include <QTime>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

CommTrace::~CommTrace()
{
    close();
}

bool CommTrace::open(const QString& path)
{
    std::lock_guard lock(m_mutex);
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
    // Not through a link, not into a FIFO or device, and readable by the user alone: the trace
    // holds the exchange's configuration.
    int fd = -1;
    if (TextFile::openRegular(path, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, fd) != 0)
        return false;
    m_file = ::fdopen(fd, "wb");
    if (m_file == nullptr)
        ::close(fd);
    return m_file != nullptr;
}

void CommTrace::close()
{
    std::lock_guard lock(m_mutex);
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
}

bool CommTrace::isOpen() const
{
    std::lock_guard lock(m_mutex);
    return m_file != nullptr;
}

void CommTrace::line(const QString& text)
{
    std::lock_guard lock(m_mutex);
    if (!m_file)
        return;
    const QByteArray out =
        (QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ") + text + u'\n').toUtf8();
    std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), m_file);
    std::fflush(m_file);
}

void CommTrace::error(const QString& prefix, int errorNumber)
{
    line(prefix + QStringLiteral("errno returned: \"") + QString::fromLocal8Bit(std::strerror(errorNumber)) + u'"');
}

void CommTrace::dump(const QByteArray& bytes)
{
    if (!isOpen())
        return;
    for (qsizetype at = 0; at < bytes.size(); at += 20) {
        QString text;
        for (char c : bytes.mid(at, 20))
            text += QStringLiteral(" %1").arg(static_cast<quint8>(c), 2, 16, QLatin1Char('0')).toUpper();
        line(text);
    }
}
