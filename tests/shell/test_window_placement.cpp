#include "shell/WindowPlacement.h"

#include <gtest/gtest.h>

TEST(WindowPlacement, KeepsAFittingPositionAndMovesOtherwiseJustEnoughToFit)
{
    struct Case
    {
        const char* what;
        QPoint stored;
        QSize window;
        QList<QRect> screens;
        QPoint placed;
    };
    const QRect laptop(0, 0, 1280, 800 - 32); // a panel at the bottom
    const QRect right(1280, 0, 1920, 1080);
    const Case cases[] = {
        {"fits", {261, 272}, {900, 480}, {laptop}, {261, 272}},
        {"too wide at the default position", {261, 272}, {1111, 620}, {laptop}, {169, 148}},
        {"on the second monitor", {1500, 100}, {1111, 620}, {laptop, right}, {1500, 100}},
        {"off the right edge of the second monitor", {2900, 100}, {1111, 620}, {laptop, right}, {2089, 100}},
        {"a monitor that is gone", {4000, 1500}, {1111, 620}, {laptop}, {169, 148}},
        {"left of every screen", {-700, 40}, {1111, 620}, {laptop, right}, {0, 40}},
        {"larger than the screen", {50, 50}, {1400, 900}, {laptop}, {0, 0}},
        {"no screens known", {261, 272}, {1111, 620}, {}, {261, 272}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WindowPlacement::fit(c.stored, c.window, c.screens), c.placed) << c.what;
}
