#include "common/TextFile.h"

#include "common/Cp1252.h"

#include <QFile>
#include <QSaveFile>

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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    QStringList lines;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        const qsizetype next = end < 0 ? content.size() : end + 1;
        if (end < 0)
            end = content.size();
        qsizetype stop = end;
        if (stop > start && content.at(stop - 1) == '\r')
            --stop;
        const qsizetype length = std::min<qsizetype>(stop - start, std::max(0, maxLineLength));
        lines.append(Cp1252::toUnicode(QByteArrayView(content).sliced(start, length)));
        start = next;
    }
    return lines;
}

bool appendLine(const QString& path, const QString& line)
{
    return appendBytes(path, Cp1252::fromUnicode(line) + kLineEnd);
}

bool appendText(const QString& path, const QString& text)
{
    return appendBytes(path, Cp1252::fromUnicode(text));
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
