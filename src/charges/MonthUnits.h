#pragma once

#include "charges/CounterLine.h"

#include <QDate>

#include <optional>

// The units each counter gained within one month, from the history's counter lines fed in file
// order. Each line counts against the line before it; a counter lower than before was reset at the
// exchange, so what it shows now is what it gained since the reset. The first line of the month
// counts against the last line before the month, or, when the history begins in the month, against
// its own first line: what the counters held before the first recorded reading is unknown.
class MonthUnits
{
public:
    explicit MonthUnits(const QDate& anyDayOfMonth);

    void add(const QDate& day, const Units& counters);
    const Units& units() const { return m_units; }

private:
    QDate m_first;
    QDate m_next; // the first day after the month
    std::optional<Units> m_before;
    Units m_units{};
};
