#include "common/TextFile.h"

#include "common/Cp1252.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One write() call, never a second: after a short write (full disk, or the file size limit) a
// retry would fail too, or kill the process with SIGXFSZ before the cut record is taken back.
// 0 or the errno of the failure.
int appendBytes(const QString& path, const QByteArray& bytes, int createFlag)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC | createFlag, 0666);
    if (fd < 0)
        return errno;
    struct stat info
    {};
    const off_t before = ::fstat(fd, &info) == 0 ? info.st_size : -1;
    ssize_t count = 0;
    do
        count = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
    while (count < 0 && errno == EINTR);
    int error = count < 0 ? errno : count == bytes.size() ? 0 : ENOSPC;
    // A record cut short would break the column readers: take it back, unless someone else has
    // appended meanwhile.
    if (count > 0 && error != 0 && before >= 0 && ::fstat(fd, &info) == 0 && info.st_size == before + count &&
        ::ftruncate(fd, before) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

// A file (not a folder) opened for reading; 0 or the errno.
int openForReading(const QString& path, int& fd, struct stat& info)
{
    fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        return error;
    }
    return 0;
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
    int fd = -1;
    struct stat info
    {};
    if (const int error = openForReading(path, fd, info); error != 0)
        return error;
    const qsizetype limit = std::max(0, maxLineLength);
    // A CR belongs to the line end only before an LF: the last line, unended, keeps all of its
    // bytes, so that a rewrite gives it back as it was.
    auto emit = [&](QByteArrayView line, bool ended) {
        if (ended && !line.isEmpty() && line.back() == '\r')
            line.chop(1);
        onLine(Cp1252::toUnicode(line.first(std::min(line.size(), limit))));
    };
    // Only a line that crosses the end of the buffer is copied; the others are read in place.
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
            if (pending.isEmpty()) {
                emit(chunk.first(at), true);
            } else {
                pending.append(chunk.first(at));
                emit(pending, true);
                pending.resize(0);
            }
            chunk = chunk.sliced(at + 1);
        }
        pending.append(chunk);
    }
    ::close(fd);
    if (error == 0 && !pending.isEmpty())
        emit(pending, false);
    return error;
}

int lastLine(const QString& path, int maxLineLength, std::optional<QString>& line)
{
    line.reset();
    int fd = -1;
    struct stat info
    {};
    if (const int error = openForReading(path, fd, info); error != 0)
        return error;
    // Backwards in blocks until the line break before the last line; a break that ends the file
    // ends the last line rather than beginning an empty one.
    QByteArray tail;
    off_t at = info.st_size;
    qsizetype start = -1;
    int error = 0;
    while (at > 0 && start < 0) {
        const off_t count = std::min<off_t>(at, 4096);
        QByteArray block(static_cast<qsizetype>(count), Qt::Uninitialized);
        if (::pread(fd, block.data(), static_cast<size_t>(count), at - count) != count) {
            error = errno != 0 ? errno : EIO;
            break;
        }
        at -= count;
        tail.prepend(block);
        const qsizetype end = tail.size() - (tail.endsWith('\n') ? 1 : 0);
        const qsizetype lf = end > 0 ? tail.lastIndexOf('\n', end - 1) : -1;
        if (lf >= 0)
            start = lf + 1;
    }
    ::close(fd);
    if (error != 0 || tail.isEmpty())
        return error;
    QByteArrayView last(tail);
    last = last.sliced(std::max<qsizetype>(start, 0));
    // As when reading forwards: a CR belongs to the line end only before an LF.
    if (last.endsWith('\n')) {
        last.chop(1);
        if (last.endsWith('\r'))
            last.chop(1);
    }
    line = Cp1252::toUnicode(last.first(std::min(last.size(), qsizetype{std::max(0, maxLineLength)})));
    return 0;
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
    return appendBytes(path, Cp1252::fromUnicode(line) + kLineEnd, O_CREAT) == 0;
}

bool appendText(const QString& path, const QString& text)
{
    return appendBytes(path, Cp1252::fromUnicode(text), O_CREAT) == 0;
}

int appendToExisting(const QString& path, const QString& text)
{
    return appendBytes(path, Cp1252::fromUnicode(text), 0);
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
