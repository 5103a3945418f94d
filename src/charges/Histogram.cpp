#include "charges/Histogram.h"

#include "charges/CounterLine.h"

#include <algorithm>

namespace Histogram {
namespace {

int monthOf(const QString& periodText)
{
    const QString name = periodText.section(QLatin1Char(' '), 0, 0);
    for (int month = 1; month <= 12; ++month) {
        if (PeriodList::monthName(month) == name)
            return month;
    }
    return 0;
}

} // namespace

Layout layout(const PeriodList& periods)
{
    const auto& all = periods.entries();
    const qsizetype n = std::min<qsizetype>(all.size(), MaxPeriods);
    const auto entries = all.mid(all.size() - n);
    QList<int> totals, years, months;
    for (const auto& e : entries) {
        totals.append(CounterLine::total(e.line));
        years.append(QStringView(e.line).mid(5, 2) == QLatin1String("01") ? QStringView(e.line).mid(8, 4).toInt() : 0);
        // From the entry's name: the month that took the latest reading holds an overview line.
        months.append(monthOf(e.text));
    }
    for (qsizetype k = n - 1; k > 0; --k)
        totals[k] -= totals[k - 1];
    int maximum = totals.isEmpty() ? 0 : *std::max_element(totals.begin(), totals.end());
    maximum = std::max(maximum, 0);

    Layout result;
    result.step = maximum <= 1000 ? 100 : maximum <= 2000 ? 250 : 500;
    result.top = (maximum + result.step - 1) / result.step * result.step;
    for (int g = 0; g <= result.top; g += result.step)
        result.ticks.append({g, result.top > 0 ? AxisY - g * (AxisY - AxisTop) / result.top : AxisY});
    for (qsizetype k = 1; k < n; ++k) { // the bars of entries 1 .. n - 1, counted from 1
        const int x = 8 * static_cast<int>(k);
        if (result.top > 0) {
            // A counter reset gives a negative difference: no bar rather than one below the axis.
            const int height = std::max(totals[k - 1], 0) * (AxisY - AxisTop) / result.top;
            result.bars.append(QRect(QPoint(x + 24, AxisY - height), QPoint(x + 30, AxisY)));
        }
        if (years[k - 1] > 0)
            result.years.append({x + 23, x + 71, years[k - 1]});
        if (months[k - 1] >= 1 && months[k - 1] <= 12)
            result.months.append({x + 27, PeriodList::monthName(months[k - 1]).left(1)});
        result.hints.append(
            {x + 24, x + 31,
             QStringLiteral("%1: %2 Gebühreneinheiten").arg(entries[k - 1].text).arg(std::max(totals[k - 1], 0))});
    }
    return result;
}

int hintAt(const Layout& layout, QPoint point)
{
    if (point.y() < AxisTop || point.y() >= ImageSize.height())
        return -1;
    for (qsizetype i = 0; i < layout.hints.size(); ++i) {
        if (point.x() >= layout.hints[i].left && point.x() <= layout.hints[i].right)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace Histogram
