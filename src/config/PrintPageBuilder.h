#pragma once

#include "config/PrintLayout.h"

#include <QDateTime>
#include <QString>

// Adds the texts and shapes of one printed page in grid terms: the header with its bars, texts
// at columns, shadowed boxes and the footer. Shared by every printout, so that all look alike.
class PrintPageBuilder
{
public:
    PrintPageBuilder(const PageGrid& grid, const PrintTextWidth& width) : m_grid(grid), m_width(width) {}

    void text(const QString& text, int row, int column, PrintFont font = PrintFont::Body);
    void rightAligned(const QString& text, int row, int column, PrintFont font = PrintFont::Body);
    // Centred under the bold heading that starts at the column.
    void centredUnder(const QString& text, const QString& heading, int row, int column);
    void footer(int row);
    // The title bar and the side bar down to `sideBarBottom` (when `withBars`), the title centred
    // on 52 % of the width and the time of printing right-aligned on the title bar.
    void header(const QString& title, bool withBars, const QDateTime& printedAt, int sideBarBottom);
    void shadowedBox(int left, int top, int right, int bottom);
    // A bar in a colour (0xRRGGBB) from column `left` over `width` device units, in the middle
    // three fifths of the row.
    void colourBar(int row, int left, int width, std::uint32_t rgb);

    const PageGrid& grid() const { return m_grid; }
    PrintPage page() const { return m_page; }

private:
    void place(const QString& text, int row, int column, PrintFont font, PrintAlign align, int x);
    void fill(const PrintRect& rect) { m_page.fills.push_back(rect); }

    const PageGrid& m_grid;
    const PrintTextWidth& m_width;
    PrintPage m_page;
};
