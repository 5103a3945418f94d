#include "charges/PieChart.h"

#include "charges/CounterLine.h"

#include <QtMath>

#include <algorithm>
#include <array>
#include <numeric>
#include <optional>

namespace PieChart {
namespace {

struct Placed
{
    const Item* item;
    int end; // cumulative end value
};

struct Geometry
{
    QPoint centre;
    int rx, ry, total;

    double theta(double position) const { return position * 2 * M_PI / total - 0.1; }
    QPoint offset(double position) const
    {
        const double t = theta(position);
        return {qRound(rx * std::sin(t)), qRound(-ry * std::cos(t))};
    }
    // Qt measures counter-clockwise from three o'clock; positions run clockwise from twelve.
    int angle16(double position) const { return qRound((90.0 - qRadiansToDegrees(theta(position))) * 16); }
};

int shade(int component)
{
    return qRound(component * 0.75);
}

Slice sliceOf(const Geometry& g, const Placed& p, int index)
{
    const Item& item = *p.item;
    const int start = p.end - item.value;
    const QPoint middle = g.offset(p.end - item.value / 2);
    Slice s;
    s.item = index;
    s.centre = g.centre + QPoint(middle.x() * item.outside / 100, middle.y() * item.outside / 100);
    s.startAngle16 = g.angle16(start);
    s.spanAngle16 = g.angle16(p.end) - s.startAngle16;
    s.side = {shade(item.colour.r), shade(item.colour.g), shade(item.colour.b)};
    s.height = item.height;
    const QPoint top = s.centre - QPoint(0, item.height);
    s.hitArea.append(top);
    for (int n = 0; n <= 8; ++n)
        s.hitArea.append(top + g.offset(p.end - n * item.value / 8.0));
    return s;
}

// Non-zero winding rule.
bool contains(const QList<QPoint>& polygon, QPoint point)
{
    int winding = 0;
    for (qsizetype i = 0; i < polygon.size(); ++i) {
        const QPoint a = polygon[i];
        const QPoint b = polygon[(i + 1) % polygon.size()];
        const qint64 cross = qint64(b.x() - a.x()) * (point.y() - a.y()) - qint64(point.x() - a.x()) * (b.y() - a.y());
        if (a.y() <= point.y()) {
            if (b.y() > point.y() && cross > 0)
                ++winding;
        } else if (b.y() <= point.y() && cross < 0) {
            --winding;
        }
    }
    return winding != 0;
}

} // namespace

Rgb extensionColour(int index)
{
    static constexpr std::array<Rgb, 8> colours = {
        Rgb{0, 0, 255},   Rgb{255, 0, 0}, Rgb{255, 255, 0}, Rgb{0, 128, 0},
        Rgb{128, 128, 0}, Rgb{128, 0, 0}, Rgb{0, 128, 128}, Rgb{0, 0, 128},
    };
    return colours.at(static_cast<std::size_t>(index));
}

// The units of period `index`: the month's consumption for a month between the first and the last
// entry, the counters themselves for those two; a counter reset counts as nothing. Empty for none.
std::optional<Units> periodUnits(const PeriodList& periods, int index)
{
    const auto& entries = periods.entries();
    if (index < 0 || index >= entries.size())
        return std::nullopt;
    Units values = CounterLine::columns(entries[index].line);
    if (index > 0 && index < entries.size() - 1) {
        const Units before = CounterLine::columns(entries[index - 1].line);
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = std::max(0, values[i] - before[i]);
    }
    return values;
}

QList<Item> forPeriod(const PeriodList& periods, int index, const QStringList& names)
{
    const std::optional<Units> values = periodUnits(periods, index);
    QList<Item> items;
    if (!values)
        return items;
    const int sum = std::accumulate(values->begin(), values->end(), 0);
    if (sum <= 0)
        return items;
    for (int i = 0; i < Extensions::Max; ++i) {
        const int v = (*values)[static_cast<std::size_t>(i)];
        if (v <= 0)
            continue;
        Item item;
        item.text = QStringLiteral("%1: %2 Gebühreneinheiten").arg(names.value(i)).arg(v);
        item.value = v * 360 / sum;
        item.colour = extensionColour(i);
        item.height = 5;
        items.append(item);
    }
    return items;
}

QList<LegendRow> legend(const PeriodList& periods, int index, const QStringList& names, int present)
{
    const std::optional<Units> values = periodUnits(periods, index);
    QList<LegendRow> rows;
    if (!values)
        return rows;
    const int sum = std::accumulate(values->begin(), values->end(), 0);
    for (int i = 0; i < std::min(present, Extensions::Max); ++i) {
        const int units = std::max(0, (*values)[static_cast<std::size_t>(i)]);
        const double share = sum > 0 ? 100.0 * units / sum : 0.0;
        rows.append({Extensions::number(i), names.value(i), units,
                     QString::number(share, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')) + QStringLiteral(" %"),
                     extensionColour(i)});
    }
    return rows;
}

Layout layout(const QList<Item>& items, QSize client, int border, int view)
{
    Layout result;
    const QRect area = QRect(QPoint(0, 0), client).adjusted(border, border, -border, -border);
    result.rx = area.width() / 2;
    result.ry = view > 0 ? result.rx / view : result.rx;
    const QPoint centre = area.center();
    result.ellipse = QRect(centre.x() - result.rx, centre.y() - result.ry, 2 * result.rx, 2 * result.ry);
    int total = 0;
    QList<Placed> placed;
    for (const Item& item : items) {
        total += item.value;
        placed.append({&item, total});
    }
    if (items.isEmpty() || total <= 0)
        return result;
    const Geometry g{centre, result.rx, result.ry, total};
    QList<int> keys;
    for (const Placed& p : placed)
        keys.append(std::max(g.offset(p.end - p.item->value + 1).y(), g.offset(p.end - 1).y()));
    // From both ends towards the middle, always the one further back first.
    int j = 0, k = static_cast<int>(items.size()) - 1;
    while (k >= j) {
        const int next = keys[j] < keys[k] ? j++ : k--;
        if (!(items[next].colour == Rgb{}))
            result.slices.append(sliceOf(g, placed[next], next));
    }
    return result;
}

int itemAt(const Layout& layout, QPoint point)
{
    int found = -1;
    for (const Slice& s : layout.slices) {
        if ((found < 0 || s.item < found) && contains(s.hitArea, point))
            found = s.item;
    }
    return found;
}

} // namespace PieChart
