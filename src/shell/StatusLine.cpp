#include "shell/StatusLine.h"

#include "common/MessageTable.h"

StatusLine::StatusLine(QObject* parent) : QObject(parent) {}

void StatusLine::showStatus(int number, StatusLevel level, const QString& arg)
{
    showText(level, MessageTable::text(number, arg));
}

void StatusLine::showText(StatusLevel level, const QString& text)
{
    setLine(QString::number(static_cast<int>(level)) + QLatin1Char(':') + text);
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
