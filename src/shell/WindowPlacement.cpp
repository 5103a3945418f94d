#include "shell/WindowPlacement.h"

#include <algorithm>

namespace WindowPlacement {
namespace {

// Inside [low, high - length]; a window larger than the area starts at its beginning.
int clamp(int value, int length, int low, int high)
{
    return std::max(low, std::min(value, high - length));
}

} // namespace

QPoint fit(QPoint stored, QSize window, const QList<QRect>& availableScreens)
{
    const QRect wanted(stored, window);
    for (const QRect& area : availableScreens) {
        if (area.contains(wanted))
            return stored;
    }
    if (availableScreens.isEmpty())
        return stored;
    auto holder = std::find_if(availableScreens.begin(), availableScreens.end(),
                               [&](const QRect& area) { return area.contains(stored); });
    const QRect& area = holder != availableScreens.end() ? *holder : availableScreens.front();
    return {clamp(stored.x(), window.width(), area.left(), area.left() + area.width()),
            clamp(stored.y(), window.height(), area.top(), area.top() + area.height())};
}

} // namespace WindowPlacement
