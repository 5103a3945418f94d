#include "common/TextFile.h"

#include "common/Cp1252.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool appendBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    // Unbuffered: the record reaches the file in one write() call, never split by a buffer.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    const qint64 before = file.size();
    const qint64 count = file.write(bytes);
    const bool written = count == bytes.size();
    // A record cut short (full disk) would leave a broken line for the column readers; take it back
    // unless someone else has appended meanwhile.
    if (!written && count > 0 && file.size() == before + count)
        file.resize(before);
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

} // namespace

namespace TextFile {

std::optional<QStringList> readLines(const QString& path, int maxLineLength)
{
    QStringList lines;
    if (forEachLine(path, maxLineLength, [&lines](const QString& line) { lines.append(line); }) != 0)
        return std::nullopt;
    return lines;
}

int forEachLine(const QString& path, int maxLineLength, const std::function<void(const QString&)>& onLine)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat info
    {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        return error;
    }
    const qsizetype limit = std::max(0, maxLineLength);
    auto emit = [&](QByteArrayView line) {
        if (!line.isEmpty() && line.back() == '\r')
            line.chop(1);
        onLine(Cp1252::toUnicode(line.first(std::min(line.size(), limit))));
    };
    QByteArray pending;
    char buffer[65536];
    int error = 0;
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            error = errno;
            break;
        }
        if (count == 0)
            break;
        QByteArrayView chunk(buffer, count);
        for (qsizetype at = chunk.indexOf('\n'); at >= 0; at = chunk.indexOf('\n')) {
            pending.append(chunk.first(at));
            emit(pending);
            pending.clear();
            chunk = chunk.sliced(at + 1);
        }
        pending.append(chunk);
    }
    ::close(fd);
    if (error == 0 && !pending.isEmpty())
        emit(pending);
    return error;
}

bool copy(const QString& from, const QString& to)
{
    QFile source(from);
    QSaveFile target(to);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly))
        return false;
    char buffer[65536];
    for (qint64 count; (count = source.read(buffer, sizeof buffer)) > 0;) {
        if (target.write(buffer, count) != count)
            return false;
    }
    return source.error() == QFileDevice::NoError && target.commit();
}

bool endsWithLineBreak(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return true;
    struct stat info
    {};
    char last = '\n';
    if (::fstat(fd, &info) == 0 && info.st_size > 0 && ::pread(fd, &last, 1, info.st_size - 1) != 1)
        last = '\n';
    ::close(fd);
    return last == '\n';
}

bool appendLine(const QString& path, const QString& line)
{
    return appendBytes(path, Cp1252::fromUnicode(line) + kLineEnd);
}

bool appendText(const QString& path, const QString& text)
{
    return appendBytes(path, Cp1252::fromUnicode(text));
}

int appendToExisting(const QString& path, const QString& text)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const QByteArray bytes = Cp1252::fromUnicode(text);
    struct stat info
    {};
    const off_t before = ::fstat(fd, &info) == 0 ? info.st_size : -1;
    ssize_t count = 0;
    do
        count = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
    while (count < 0 && errno == EINTR);
    int error = count < 0 ? errno : count == bytes.size() ? 0 : ENOSPC;
    // A record cut short would break the column readers: take it back.
    if (count > 0 && error != 0 && before >= 0 && ::ftruncate(fd, before) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

bool rewrite(const QString& path, const QByteArray& content)
{
    QSaveFile file(path);
    // Unbuffered, so that a short write (full disk) shows in write()'s count instead of being lost in a
    // flush whose shortfall goes unreported.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace TextFile
