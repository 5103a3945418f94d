#pragma once

#include "charges/PeriodList.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>

// The distribution chart: a pie seen from above at an angle, one slice per extension with units in
// the chosen period. This is its geometry; a widget paints it.
namespace PieChart {

struct Rgb
{
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Item
{
    QString text;    // the hover hint
    int value = 100; // degrees of the slice
    int outside = 0; // moved out by this percentage of the radius
    Rgb colour{0, 0, 255};
    int height = 10; // thickness in pixels
};

struct Slice
{
    int item = -1;
    QPoint centre;    // of the slice's base, after moving it out
    int startAngle16; // Qt's sector angles: 1/16 degree, counter-clockwise from three o'clock
    int spanAngle16;
    Rgb side; // the outline colour of the stacked sides
    int height = 0;
    QList<QPoint> hitArea; // the top's centre and nine points on its arc
};

struct Layout
{
    QRect ellipse; // the base ellipse around the pie's centre
    int rx = 0, ry = 0;
    QList<Slice> slices; // in drawing order, the ones further back first
};

Rgb extensionColour(int index);

// The items for period `index` of the list: the month's consumption for a month between the first
// and the last entry, the counters themselves for those two. A negative month difference (a counter
// reset) counts as nothing; a period with nothing positive has no items.
QList<Item> forPeriod(const PeriodList& periods, int index, const QStringList& names);

// A line of the legend beside the pie: one per present extension, also one without units.
struct LegendRow
{
    int extension = 0; // 21..28
    QString name;
    int units = 0;
    QString share; // of the period's units, "12,5 %"
    Rgb colour;
    bool operator==(const LegendRow&) const = default;
};

// The legend of period `index` (the units as forPeriod() counts them) for the first `present`
// extensions.
QList<LegendRow> legend(const PeriodList& periods, int index, const QStringList& names, int present);

Layout layout(const QList<Item>& items, QSize client, int border, int view);

// The first item (in item order) whose top contains `point`; -1 for none.
int itemAt(const Layout& layout, QPoint point);

} // namespace PieChart
