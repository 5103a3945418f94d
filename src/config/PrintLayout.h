#pragma once

#include "config/PrintContent.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// The printable area in grid units: 100 columns and 55 rows of whole device units each.
struct PageGrid
{
    static constexpr int Columns = 100;
    static constexpr int Rows = 55;

    int width = 0;
    int height = 0;

    int column(int c) const { return c * (width / Columns); }
    int row(int r) const { return r * (height / Rows); }
    // The shadow of a box, also added to the ends of the bars.
    int shadow() const { return width / 200; }
};

enum class PrintFont
{
    Body,
    Bold,
    Title // "Arial", bold, twice the body size
};

enum class PrintAlign
{
    Left,  // starts at the column
    Right, // ends at the column
    Centre // centred under the heading that starts at the column
};

struct PrintText
{
    QString text;
    PrintFont font = PrintFont::Body;
    int row = -1; // grid anchor; -1 for the title, which is placed by page fractions
    int column = -1;
    PrintAlign align = PrintAlign::Left;
    bool white = false;
    int x = 0; // device position of the text's top left corner
    int y = 0;
};

// Device units; right and bottom are the first units outside.
struct PrintRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const PrintRect&) const = default;
};

// A bar in a colour of its own (0xRRGGBB), such as an extension's colour of the charts.
struct PrintColourFill
{
    PrintRect rect;
    std::uint32_t rgb = 0;
};

struct PrintPage
{
    std::vector<PrintColourFill> colourFills;
    std::vector<PrintRect> fills;  // black: the bars and the boxes' shadows
    std::vector<PrintRect> frames; // box outlines, drawn with a pen of FramePen units
    std::vector<PrintText> texts;
};

// The width of a text in device units in one of the fonts.
using PrintTextWidth = std::function<int(const QString& text, PrintFont font)>;

// Where everything of a printout lies on its pages: the configuration page, then the speed-dial
// page, as far as the content holds them.
namespace PrintLayout {
inline constexpr int FramePen = 5;

std::vector<PrintPage> pages(const PrintContent& content, QSize pageSize, const PrintTextWidth& width);
} // namespace PrintLayout
