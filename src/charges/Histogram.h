#pragma once

#include "charges/PeriodList.h"

#include <QList>
#include <QRect>
#include <QSize>

// The bar chart of units per period, as the geometry of a 552 x 298 image: the scale, one red bar
// per period but the last (the overall entry), and the years under the January bars.
namespace Histogram {

inline constexpr QSize ImageSize(552, 298);
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

struct Layout
{
    int step = 100;
    int top = 0; // the scale's maximum, a multiple of the step
    QList<Tick> ticks;
    QList<QRect> bars;
    QList<YearLabel> years;
};

Layout layout(const PeriodList& periods);

} // namespace Histogram
