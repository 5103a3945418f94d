#include "charges/MonthUnits.h"

#include <algorithm>

namespace {
// A history of millions of lines must not overflow the sum.
constexpr qint64 MaxUnits = 999'999'999;
} // namespace

MonthUnits::MonthUnits(const QDate& anyDayOfMonth)
    : m_first(anyDayOfMonth.year(), anyDayOfMonth.month(), 1), m_next(m_first.addMonths(1))
{}

void MonthUnits::add(const QDate& day, const Units& counters)
{
    if (day >= m_next)
        return;
    if (day >= m_first) {
        const Units before = m_before.value_or(counters);
        for (std::size_t i = 0; i < counters.size(); ++i) {
            const qint64 gained = counters[i] >= before[i] ? counters[i] - before[i] : counters[i];
            m_units[i] = static_cast<int>(std::min(MaxUnits, m_units[i] + gained));
        }
    }
    m_before = counters;
}
