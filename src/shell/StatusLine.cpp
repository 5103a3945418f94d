#include "shell/StatusLine.h"

#include "shell/MessageTable.h"

StatusLine::StatusLine(QObject* parent) : QObject(parent) {}

void StatusLine::showStatus(int number, int level, const QString& arg)
{
    // The level must stay one digit: the drawing reads the colour from the first character.
    const int digit = level >= 0 && level <= 9 ? level : 0;
    QString line = QString::number(digit) + QLatin1Char(':') + MessageTable::text(number);
    const qsizetype at = line.indexOf(QLatin1String("%s"));
    if (at >= 0)
        line.replace(at, 2, arg);
    setLine(line);
}

void StatusLine::setLine(const QString& rawLine)
{
    m_line = rawLine;
    if (!m_line.isEmpty()) {
        const QChar first = m_line.front();
        if (first >= QLatin1Char('0') && first <= QLatin1Char('2'))
            m_colourLevel = first.digitValue();
    }
    Q_EMIT changed();
    if (m_pump)
        m_pump();
}

void StatusLine::setPump(std::function<void()> pump)
{
    m_pump = std::move(pump);
}
