#include "charges/CounterLine.h"

#include "common/Columns.h"

#include <numeric>

namespace CounterLine {

QString overview(const Units& units)
{
    QString line(18, QLatin1Char(' '));
    for (int value : units)
        line += Columns::rightAligned(QString::number(value), 8);
    return line;
}

int column(const QString& line, int index)
{
    const qsizetype from = 8 * (index + 1) + 13; // 0-based start of the five characters
    QString digits;
    for (QChar c : QStringView(line).mid(from, 5)) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    }
    return digits.isEmpty() ? 0 : digits.toInt();
}

Units columns(const QString& line)
{
    Units units{};
    for (int i = 0; i < Extensions::Max; ++i)
        units[static_cast<std::size_t>(i)] = column(line, i);
    return units;
}

int total(const QString& line)
{
    const Units units = columns(line);
    return std::accumulate(units.begin(), units.end(), 0);
}

} // namespace CounterLine
