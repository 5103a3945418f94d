#include "BlockLog.h"

QString BlockLog::formatLine(const QTime& time, const QByteArray& cell)
{
    return time.toString(QStringLiteral("hh:mm:ss.zzz")) + QLatin1Char(' ') +
           QString::fromLatin1(cell.toHex(' ').toUpper());
}

bool BlockLog::open(const QString& path)
{
    m_file.setFileName(path);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

void BlockLog::record(const QTime& time, const QByteArray& cell)
{
    if (!m_file.isOpen())
        return;
    m_file.write((formatLine(time, cell) + QLatin1Char('\n')).toLatin1());
    m_file.flush();
}
