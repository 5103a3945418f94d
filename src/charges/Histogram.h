#pragma once

#include "charges/PeriodList.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

// The bar chart of units per period, as the geometry of a 552 x 312 image: the scale, one red bar
// per period but the last (the overall entry), each month's initial under its bar and the years
// under the January bars.
namespace Histogram {

inline constexpr QSize ImageSize(552, 312);
// The row of the month initials below the axis, and the row of the years below it.
inline constexpr int MonthRowY = 280, YearRowY = 293;
inline constexpr int AxisX = 30, AxisY = 278, AxisTop = 10, AxisRight = 542;
inline constexpr int MaxPeriods = 60;

struct Tick
{
    int value;
    int y;
};

struct YearLabel
{
    int tickX;   // the short tick below the axis
    int centreX; // the year is centred here, over the twelve bars that follow
    int year;
};

struct MonthLabel
{
    int centreX;
    QString initial; // "J", "F", "M", …
};

// What the mouse over a bar's column tells: "März 2026: 250 Gebühreneinheiten".
struct BarHint
{
    int left, right; // the column, from the bar's left edge to the next bar's
    QString text;
};

struct Layout
{
    int step = 100;
    int top = 0; // the scale's maximum, a multiple of the step
    QList<Tick> ticks;
    QList<QRect> bars;
    QList<YearLabel> years;
    QList<MonthLabel> months;
    QList<BarHint> hints;
};

Layout layout(const PeriodList& periods);

// The hint of the bar whose column holds `point`, from the top of the scale to the year row; -1.
int hintAt(const Layout& layout, QPoint point);

} // namespace Histogram
