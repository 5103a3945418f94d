#pragma once

#include <QDate>
#include <QList>
#include <QString>

// The periods the charts are drawn for: month entries ("März 1999"), each with the counter line of
// the month's last reading, and at most one final "Gesamtübersicht" with the latest reading.
class PeriodList
{
public:
    struct Entry
    {
        QString text;
        QString line; // a history data line or an overview line (CounterLine)
        bool operator==(const Entry&) const = default;
    };

    static inline const QString Overall = QStringLiteral("Gesamtübersicht");

    // The program's own month names, 1..12, whatever the locale.
    static QString monthName(int month);

    // Built from the history file, line by line: an entry wherever the month number changes.
    // A file that cannot be read gives an empty list.
    static PeriodList fromHistory(const QString& path);

    // A reading's overview line: "Gesamtübersicht" and the entry before it take it, or this
    // month's entry (appended when the last entry is another month) and a new "Gesamtübersicht".
    void applyReading(const QString& overviewLine, const QDate& today);

    const QList<Entry>& entries() const { return m_entries; }
    int size() const { return static_cast<int>(m_entries.size()); }
    void append(Entry entry) { m_entries.append(std::move(entry)); }

    // The entry the distribution chart shows; the last one after every reading.
    int selected() const { return m_selected; }
    void select(int index);

private:
    QList<Entry> m_entries;
    int m_selected = -1;
};
