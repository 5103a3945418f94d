#include "charges/PeriodList.h"

#include "common/TextFile.h"

#include <array>

namespace {

constexpr int MaxLineLength = 255;

bool isDataLine(const QString& line)
{
    return line.size() > 5 && line.at(5).isDigit();
}

int monthOf(const QString& line)
{
    return QStringView(line).mid(5, 2).toInt();
}

} // namespace

QString PeriodList::monthName(int month)
{
    static const std::array<const char*, 12> names = {"Januar",    "Februar", "März",     "April",
                                                      "Mai",       "Juni",    "Juli",     "August",
                                                      "September", "Oktober", "November", "Dezember"};
    return month >= 1 && month <= 12 ? QString::fromUtf8(names[static_cast<std::size_t>(month - 1)]) : QString();
}

PeriodList PeriodList::fromHistory(const QString& path)
{
    PeriodList list;
    QString previous; // the data line before the current one (a stray blank line is no month's end)
    int previousMonth = 0;
    bool lastWasData = false;
    auto entryFor = [](int month, const QString& line) {
        return Entry{monthName(month) + QLatin1Char(' ') + line.mid(8, 4), line};
    };
    const int error = TextFile::forEachLine(path, MaxLineLength, [&](const QString& line) {
        lastWasData = isDataLine(line);
        if (lastWasData) {
            const int month = monthOf(line);
            if (previousMonth != 0 && month != previousMonth)
                list.m_entries.append(entryFor(previousMonth, previous));
            previousMonth = month;
            previous = line;
        }
    });
    if (error != 0)
        return {};
    if (lastWasData)
        list.m_entries.append(entryFor(previousMonth, previous));
    list.m_selected = list.size() - 1;
    return list;
}

void PeriodList::applyReading(const QString& overviewLine, const QDate& today)
{
    bool overall = false;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].text != Overall)
            continue;
        overall = true;
        m_entries[i].line = overviewLine;
        if (i > 0)
            m_entries[i - 1].line = overviewLine;
    }
    if (!overall) {
        const QString month = monthName(today.month());
        if (!m_entries.isEmpty() && m_entries.last().text.contains(month))
            m_entries.last().line = overviewLine;
        else
            m_entries.append({month + QLatin1Char(' ') + QString::number(today.year()), overviewLine});
        m_entries.append({Overall, overviewLine});
    }
    m_selected = size() - 1;
}

void PeriodList::select(int index)
{
    if (index >= 0 && index < size())
        m_selected = index;
}
