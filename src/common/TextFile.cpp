#include "common/TextFile.h"

#include "common/Cancellation.h"
#include "common/Cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype BlockSize = 65536;
constexpr mode_t NewFileMode = 0600;

// One write() call, never a second: after a short write (full disk, or the file size limit) a
// retry would fail too, or kill the process with SIGXFSZ before the cut record is taken back.
// 0 or the errno of the failure.
int appendBytes(const QString& path, const QByteArray& bytes, int createFlag)
{
    int fd = -1;
    if (const int error = TextFile::openRegular(path, O_WRONLY | O_APPEND | O_NOFOLLOW | createFlag, fd); error != 0)
        return error;
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

// Logs and the history are read without following a link at their name (ELOOP), as they are
// written; files read whole may be links.
int openForReading(const QString& path, int& fd, struct stat& info, int flags = O_NOFOLLOW)
{
    if (const int error = TextFile::openRegular(path, O_RDONLY | flags, fd); error != 0)
        return error;
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    return 0;
}

// All of `count` bytes at `offset`: 0 or the errno (EIO for a file that got shorter).
int readAt(int fd, char* into, qsizetype count, off_t offset)
{
    while (count > 0) {
        const ssize_t got = ::pread(fd, into, static_cast<size_t>(count), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got < 0 ? errno : EIO;
        into += got;
        count -= got;
        offset += got;
    }
    return 0;
}

int writeAll(int fd, const QByteArray& content)
{
    const char* at = content.constData();
    qsizetype left = content.size();
    while (left > 0) {
        const ssize_t count = ::write(fd, at, static_cast<size_t>(left));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return count < 0 ? errno : ENOSPC;
        at += count;
        left -= count;
    }
    return 0;
}

// `content` under `path` with `mode`, written beside it and renamed into place: a symlink at
// `path` is replaced, never written through.
// The end of a file written beside `path` under `name`: flushed, closed and renamed over `path`,
// or removed when any step, the writing before (`error`) included, failed.
int putInPlace(int fd, const QByteArray& name, const QString& path, int error)
{
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(name.constData(), QFile::encodeName(path).constData()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(name.constData());
    return error;
}

int replaceFile(const QString& path, const QByteArray& content, mode_t mode)
{
    int fd = -1;
    QByteArray name;
    if (const int error = TextFile::createBeside(path, fd, name); error != 0)
        return error;
    return putInPlace(fd, name, path, ::fchmod(fd, mode) == 0 ? writeAll(fd, content) : errno);
}

// The permissions of an existing file (not following a link), else those of a new one.
mode_t modeOf(const QString& path)
{
    struct stat info
    {};
    if (::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode & 07777;
    return NewFileMode;
}

} // namespace

namespace TextFile {

int openRegular(const QString& path, int flags, int& fd)
{
    // Non-blocking, so that opening a FIFO returns at once; the flag is taken back afterwards.
    fd = ::open(QFile::encodeName(path).constData(), flags | O_NONBLOCK | O_CLOEXEC, NewFileMode);
    if (fd < 0)
        return errno;
    struct stat info
    {};
    int error = 0;
    if (::fstat(fd, &info) != 0)
        error = errno;
    else if (S_ISDIR(info.st_mode))
        error = EISDIR;
    else if (!S_ISREG(info.st_mode))
        error = EINVAL;
    else if (::fcntl(fd, F_SETFL, flags & O_APPEND) != 0)
        error = errno;
    if (error != 0) {
        ::close(fd);
        fd = -1;
    }
    return error;
}

int readAll(const QString& path, qint64 maxBytes, QByteArray& content)
{
    content.clear();
    int fd = -1;
    struct stat info
    {};
    if (const int error = openForReading(path, fd, info, 0); error != 0)
        return error;
    int error = info.st_size > maxBytes ? EFBIG : 0;
    if (error == 0) {
        content.resize(static_cast<qsizetype>(info.st_size));
        error = readAt(fd, content.data(), content.size(), 0);
    }
    ::close(fd);
    if (error != 0)
        content.clear();
    return error;
}

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
    // Only a line that crosses the end of the buffer is copied, and of it no more than is kept
    // (one byte more, for the CR of its line end).
    QByteArray pending;
    bool hasPending = false;
    auto keep = [&](QByteArrayView part) {
        hasPending = true;
        pending.append(part.first(std::min(part.size(), std::max<qsizetype>(0, limit + 1 - pending.size()))));
    };
    QByteArray buffer(BlockSize, Qt::Uninitialized);
    off_t left = info.st_size;
    int error = 0;
    while (left > 0) {
        if (Cancellation::requested()) {
            error = ECANCELED;
            break;
        }
        const ssize_t count = ::read(fd, buffer.data(), static_cast<size_t>(std::min<off_t>(left, BlockSize)));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            error = errno;
            break;
        }
        if (count == 0)
            break;
        left -= count;
        QByteArrayView chunk(buffer.constData(), count);
        for (qsizetype at = chunk.indexOf('\n'); at >= 0; at = chunk.indexOf('\n')) {
            if (!hasPending) {
                emit(chunk.first(at), true);
            } else {
                keep(chunk.first(at));
                emit(pending, true);
                pending.resize(0);
                hasPending = false;
            }
            chunk = chunk.sliced(at + 1);
        }
        if (!chunk.isEmpty())
            keep(chunk);
    }
    ::close(fd);
    if (error == 0 && hasPending)
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
    if (info.st_size == 0) {
        ::close(fd);
        return 0;
    }
    // A break that ends the file ends the last line rather than beginning an empty one.
    char lastByte = 0;
    int error = readAt(fd, &lastByte, 1, info.st_size - 1);
    const bool ended = lastByte == '\n';
    const off_t end = info.st_size - (ended ? 1 : 0);
    // Backwards in blocks to the line break before the last line, each block searched once.
    off_t start = 0;
    QByteArray block(BlockSize, Qt::Uninitialized);
    for (off_t at = end; error == 0 && at > 0;) {
        if (Cancellation::requested()) {
            error = ECANCELED;
            break;
        }
        const off_t count = std::min<off_t>(at, BlockSize);
        error = readAt(fd, block.data(), static_cast<qsizetype>(count), at - count);
        const void* lf = error == 0 ? ::memrchr(block.constData(), '\n', static_cast<size_t>(count)) : nullptr;
        at -= count;
        if (lf != nullptr) {
            start = at + (static_cast<const char*>(lf) - block.constData()) + 1;
            break;
        }
    }
    // Of the line, only what is kept (and one byte more for the CR of its line end) is read.
    const qsizetype limit = std::max(0, maxLineLength);
    QByteArray text;
    if (error == 0) {
        text.resize(static_cast<qsizetype>(std::min<off_t>(end - start, limit + 1)));
        error = readAt(fd, text.data(), text.size(), start);
    }
    ::close(fd);
    if (error != 0)
        return error;
    // As when reading forwards: a CR belongs to the line end only before an LF.
    if (ended && text.size() == end - start && text.endsWith('\r'))
        text.chop(1);
    line = Cp1252::toUnicode(QByteArrayView(text).first(std::min(text.size(), limit)));
    return 0;
}

bool copy(const QString& from, const QString& to)
{
    int source = -1;
    struct stat info
    {};
    if (openForReading(from, source, info) != 0)
        return false;
    int target = -1;
    QByteArray name;
    int error = createBeside(to, target, name);
    if (error == 0 && ::fchmod(target, info.st_mode & 07777) != 0)
        error = errno;
    QByteArray buffer(BlockSize, Qt::Uninitialized);
    for (off_t at = 0; error == 0 && at < info.st_size;) {
        const qsizetype count = static_cast<qsizetype>(std::min<off_t>(info.st_size - at, BlockSize));
        error = readAt(source, buffer.data(), count, at);
        if (error == 0)
            error = writeAll(target, buffer.first(count));
        at += count;
    }
    ::close(source);
    if (target < 0)
        return false;
    return putInPlace(target, name, to, error) == 0;
}

bool endsWithLineBreak(const QString& path)
{
    int fd = -1;
    struct stat info
    {};
    if (openForReading(path, fd, info) != 0)
        return true;
    char last = '\n';
    if (info.st_size > 0 && readAt(fd, &last, 1, info.st_size - 1) != 0)
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
    return replaceFile(path, content, modeOf(path)) == 0;
}

int writeOut(const QString& path, const QByteArray& content)
{
    struct stat info
    {};
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &info) != 0 || S_ISREG(info.st_mode) || S_ISDIR(info.st_mode))
        return replaceFile(path, content, modeOf(path));
    // Never renamed over: a device node or pipe stays what it is.
    const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    ::fcntl(fd, F_SETFL, 0);
    int error = writeAll(fd, content);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

int createBeside(const QString& path, int& fd, QByteArray& name)
{
    name = QFile::encodeName(path) + ".new.XXXXXX";
    // mkostemp creates the name exclusively, mode 0600: nothing planted there is written through.
    fd = ::mkostemp(name.data(), O_CLOEXEC);
    return fd < 0 ? errno : 0;
}

void removeLeftovers(const QString& path)
{
    const QFileInfo info(path);
    const QString prefix = info.fileName() + QStringLiteral(".new");
    const QStringList names = QDir(info.path()).entryList({prefix + QStringLiteral("*")}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        if (name != prefix && !(name.size() == prefix.size() + 7 && name.at(prefix.size()) == QLatin1Char('.')))
            continue;
        const QByteArray file = QFile::encodeName(info.path() + QLatin1Char('/') + name);
        struct stat entry
        {};
        if (::lstat(file.constData(), &entry) == 0 && S_ISREG(entry.st_mode) && entry.st_uid == ::geteuid())
            ::unlink(file.constData());
    }
}

} // namespace TextFile
