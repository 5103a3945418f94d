#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// Where the window goes at start-up: at its stored (or default) position when it fits the
// available area of a screen, else moved just enough to fit. A position from a monitor that is
// no longer there goes to the first screen.
namespace WindowPlacement {

QPoint fit(QPoint stored, QSize window, const QList<QRect>& availableScreens);

} // namespace WindowPlacement
