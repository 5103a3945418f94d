#include "charges/LogRetention.h"

#include "common/Cp1252.h"
#include "common/TextFile.h"
#include "common/FileMessages.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Beyond any record (an incoming one is at most 136 characters): a longer line stops the rewrite
// rather than being cut.
constexpr int MaxLine = 65536;
constexpr int HeaderLines = 3;
constexpr int KeyLength = 19;
constexpr int NameColumn = 58;       // the name begins after character 58
constexpr int RenamedName = 30;      // a completed record's name column, up to character 88
constexpr int CompletionColumn = 85; // a record waiting for its completion ends here
constexpr int IncomingNameColumn = 76;

using Transform = std::function<std::optional<QString>(const QString& line)>;

// A file written in large blocks that remembers the first failure.
class BlockWriter
{
public:
    explicit BlockWriter(int fd) : m_fd(fd) {}
    void add(QByteArrayView bytes)
    {
        m_buffer.append(bytes);
        if (m_buffer.size() >= 1 << 16)
            flush();
    }
    void flush()
    {
        const char* at = m_buffer.constData();
        qsizetype left = m_buffer.size();
        while (left > 0 && m_error == 0) {
            const ssize_t count = ::write(m_fd, at, static_cast<size_t>(left));
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0) {
                m_error = count < 0 ? errno : ENOSPC;
                break;
            }
            at += count;
            left -= count;
        }
        m_buffer.clear();
    }
    int error() const { return m_error; }

private:
    int m_fd;
    QByteArray m_buffer;
    int m_error = 0;
};

bool endsWithLineBreak(const QByteArray& name, off_t size)
{
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return true;
    char last = '\n';
    const bool read = size > 0 && ::pread(fd, &last, 1, size - 1) == 1;
    ::close(fd);
    return !read || last == '\n';
}

int syncDirectory(const QString& path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return errno;
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return result;
}

// The previous version beside the log: a hard link where the file system has them (no copy, no
// window), else a copy.
int keepOldVersion(const QString& path, const QString& oldPath)
{
    const QByteArray from = QFile::encodeName(path), to = QFile::encodeName(oldPath);
    if (::unlink(to.constData()) != 0 && errno != ENOENT)
        return errno;
    if (::link(from.constData(), to.constData()) == 0)
        return 0;
    return TextFile::copy(path, oldPath) ? 0 : EIO;
}

LogRetention::Outcome rewrite(const QString& path, const Transform& transform)
{
    LogRetention::Outcome outcome;
    struct stat info
    {};
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &info) != 0) {
        outcome.missing = errno == ENOENT;
        outcome.error = outcome.missing ? 0 : errno;
        return outcome;
    }
    // A link in the log's place is not followed: its target could be any file of the user's.
    if (!S_ISREG(info.st_mode)) {
        outcome.error = S_ISLNK(info.st_mode) ? ELOOP : S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return outcome;
    }
    int fd = -1;
    QByteArray pendingName;
    if (const int error = TextFile::createBeside(path, fd, pendingName); error != 0) {
        outcome.error = error;
        return outcome;
    }
    if (::fchmod(fd, info.st_mode & 07777) != 0) {
        outcome.error = errno;
        ::close(fd);
        ::unlink(pendingName.constData());
        return outcome;
    }
    BlockWriter writer(fd);
    int index = 0;
    bool first = true;
    bool tooLong = false;
    int readError = TextFile::forEachLine(path, MaxLine + 1, [&](const QString& line) {
        tooLong = tooLong || line.size() > MaxLine;
        if (tooLong)
            return;
        const std::optional<QString> kept = index++ < HeaderLines ? std::optional<QString>(line) : transform(line);
        if (!kept)
            return;
        if (!first)
            writer.add(TextFile::kLineEnd);
        writer.add(Cp1252::fromUnicode(*kept));
        first = false;
    });
    // A record still waiting for its completion has no line break yet: the new log ends as the old one did.
    if (!first && endsWithLineBreak(name, info.st_size))
        writer.add(TextFile::kLineEnd);
    writer.flush();
    if (readError == 0 && tooLong)
        readError = EFBIG;
    int error = readError != 0 ? readError : writer.error();
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0)
        error = keepOldVersion(path, LogRetention::oldVersionPath(path));
    if (error == 0 && ::rename(pendingName.constData(), name.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(pendingName.constData());
        outcome.error = error;
        return outcome;
    }
    syncDirectory(path);
    outcome.rewritten = true;
    return outcome;
}

} // namespace

namespace LogRetention {

bool isInternalCall(const QString& line)
{
    return line.size() >= 39 && line[36] == QLatin1Char('2') && line[38] == QLatin1Char(' ');
}

bool isFreeCall(const QString& line)
{
    const QStringView cost = QStringView(line).mid(96, 5);
    return cost == u" 0,00" || cost == u" 0.00";
}

// A record still waiting for its completion keeps the name inside its 85 columns, so that the
// completion still lands at character 86.
QString renamedOutgoing(const QString& line, const QString& newName)
{
    const QString start = line.left(NameColumn).leftJustified(NameColumn);
    if (line.size() <= CompletionColumn)
        return start + newName.left(CompletionColumn - NameColumn).leftJustified(CompletionColumn - NameColumn);
    return start + newName.left(RenamedName).leftJustified(RenamedName) + line.mid(NameColumn + RenamedName);
}

QString renamedIncoming(const QString& line, const QString& newName)
{
    return line.left(IncomingNameColumn).leftJustified(IncomingNameColumn) + newName;
}

Outcome rewriteOutgoing(const QString& path, const QString& key, const QString& newName, bool dropFreeCalls)
{
    int renamed = 0;
    Outcome outcome = rewrite(path, [&](const QString& line) -> std::optional<QString> {
        if (line.isEmpty() || isInternalCall(line) || (dropFreeCalls && isFreeCall(line)))
            return std::nullopt;
        if (!key.isEmpty() && line.left(KeyLength) == key) {
            ++renamed;
            return renamedOutgoing(line, newName);
        }
        return line;
    });
    outcome.renamed = outcome.rewritten ? renamed : 0;
    return outcome;
}

Outcome rewriteIncoming(const QString& path, const QString& key, const QString& newName)
{
    int renamed = 0;
    Outcome outcome = rewrite(path, [&](const QString& line) -> std::optional<QString> {
        if (!key.isEmpty() && line.left(KeyLength) == key) {
            ++renamed;
            return renamedIncoming(line, newName);
        }
        return line;
    });
    outcome.renamed = outcome.rewritten ? renamed : 0;
    return outcome;
}

QString renameFailure(const Outcome& outcome, const QString& path, const QString& key)
{
    if (outcome.error != 0)
        return FileMessages::cannotWrite(path, QString::fromLocal8Bit(std::strerror(outcome.error)));
    if (outcome.renamed == 0)
        return QStringLiteral("Name nicht geändert: kein Gespräch vom %1 in %2").arg(key, path);
    return {};
}

QString oldVersionPath(const QString& path)
{
    return path + QStringLiteral("_old");
}

QString pendingPath(const QString& path)
{
    return path + QStringLiteral(".new");
}

void removeLeftover(const QString& path)
{
    TextFile::removeLeftovers(path);
}

} // namespace LogRetention
