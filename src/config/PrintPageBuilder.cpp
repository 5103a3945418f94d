#include "config/PrintPageBuilder.h"

#include "common/ProgramVersion.h"

namespace {
const QString Footer = QStringLiteral("WinKavex - Version ") + QString::fromUtf8(ProgramVersion::Number);
}

void PrintPageBuilder::text(const QString& text, int row, int column, PrintFont font)
{
    place(text, row, column, font, PrintAlign::Left, m_grid.column(column));
}

void PrintPageBuilder::rightAligned(const QString& text, int row, int column, PrintFont font)
{
    place(text, row, column, font, PrintAlign::Right, m_grid.column(column) - m_width(text, font));
}

void PrintPageBuilder::centredUnder(const QString& text, const QString& heading, int row, int column)
{
    const int x = m_grid.column(column) + m_width(heading, PrintFont::Bold) / 2 - m_width(text, PrintFont::Body) / 2;
    place(text, row, column, PrintFont::Body, PrintAlign::Centre, x);
}

void PrintPageBuilder::footer(int row)
{
    place(Footer, row, 7, PrintFont::Body, PrintAlign::Left, m_grid.column(7) + m_grid.shadow());
}

void PrintPageBuilder::header(const QString& title, bool withBars, const QDateTime& printedAt, int sideBarBottom)
{
    const int d = m_grid.shadow();
    if (withBars) {
        fill({m_grid.column(3), m_grid.row(7), m_grid.column(99) + d, m_grid.row(10)});
        fill({m_grid.column(3), m_grid.row(7), m_grid.column(6), m_grid.row(sideBarBottom) + d});
    }
    PrintText heading{title, PrintFont::Title};
    heading.align = PrintAlign::Centre;
    heading.white = withBars;
    heading.x = m_grid.width * 52 / 100 - m_width(title, PrintFont::Title) / 2;
    heading.y = m_grid.height * 15 / 110;
    m_page.texts.push_back(heading);
    const QString when = printedAt.toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral("     ") +
                         printedAt.toString(QStringLiteral("HH:mm"));
    rightAligned(when, 8, 99);
    // The date lies on the title bar as well: black on black could not be read.
    m_page.texts.back().white = withBars;
}

void PrintPageBuilder::shadowedBox(int left, int top, int right, int bottom)
{
    const PrintRect box{m_grid.column(left), m_grid.row(top), m_grid.column(right), m_grid.row(bottom)};
    const int d = m_grid.shadow();
    m_page.frames.push_back(box);
    fill({box.left + d, box.bottom, box.right + d, box.bottom + d});
    fill({box.right, box.top + d, box.right + d, box.bottom + d});
}

void PrintPageBuilder::colourBar(int row, int left, int width, std::uint32_t rgb)
{
    if (width <= 0)
        return;
    const int top = m_grid.row(row) + m_grid.row(1) / 5;
    const int bottom = m_grid.row(row + 1) - m_grid.row(1) / 5;
    m_page.colourFills.push_back({{m_grid.column(left), top, m_grid.column(left) + width, bottom}, rgb});
}

void PrintPageBuilder::place(const QString& text, int row, int column, PrintFont font, PrintAlign align, int x)
{
    if (text.isEmpty())
        return;
    m_page.texts.push_back({text, font, row, column, align, false, x, m_grid.row(row)});
}
