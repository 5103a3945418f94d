#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTime>

// Record of what the exchange received: one line per 4-byte cell, "hh:mm:ss.zzz 83 0A 00 00"
// (local time of the cell's first byte, bytes in upper-case hex), LF line ends, flushed per line.
class BlockLog
{
public:
    static QString formatLine(const QTime& time, const QByteArray& cell);

    // Creates or truncates the file; false with errorString() when it cannot be written.
    bool open(const QString& path);
    bool isOpen() const { return m_file.isOpen(); }
    QString errorString() const { return m_file.errorString(); }
    void record(const QTime& time, const QByteArray& cell);

private:
    QFile m_file;
};
