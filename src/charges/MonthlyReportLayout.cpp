#include "charges/MonthlyReportLayout.h"

#include "charges/OutgoingRecord.h"
#include "charges/PieChart.h"
#include "common/FormatPicture.h"
#include "config/PrintPageBuilder.h"

#include <algorithm>

namespace {

// The extension box begins below the title bar; the box of the dialled numbers follows it and
// always has room for all of them, so that the page keeps its form.
constexpr int ExtensionBoxTop = 11;
constexpr int BarColumn = 47, BarColumns = 20;

const QString NumberHeading = QStringLiteral("Nebenstelle");

QString money(double value)
{
    return FormatPicture::fixed(value, 0);
}

std::uint32_t rgbOf(int index)
{
    const PieChart::Rgb c = PieChart::extensionColour(index);
    return static_cast<std::uint32_t>(c.r << 16 | c.g << 8 | c.b);
}

void extensionHeadings(PrintPageBuilder& b)
{
    const int group = ExtensionBoxTop + 1, row = ExtensionBoxTop + 2;
    b.text(QStringLiteral("Gebührenzähler"), group, 30, PrintFont::Bold);
    b.text(QStringLiteral("Abgehende Gespräche"), group, 71, PrintFont::Bold);
    b.text(NumberHeading, row, 8, PrintFont::Bold);
    b.text(QStringLiteral("Bezeichnung"), row, 15, PrintFont::Bold);
    b.rightAligned(QStringLiteral("Einheiten"), row, 37, PrintFont::Bold);
    b.rightAligned(QStringLiteral("Kosten"), row, 45, PrintFont::Bold);
    b.text(QStringLiteral("Anteil"), row, BarColumn, PrintFont::Bold);
    b.rightAligned(QStringLiteral("Gespräche"), row, 77, PrintFont::Bold);
    b.rightAligned(QStringLiteral("Einheiten"), row, 85, PrintFont::Bold);
    b.rightAligned(QStringLiteral("Kosten"), row, 92, PrintFont::Bold);
    b.rightAligned(QStringLiteral("Dauer"), row, 98, PrintFont::Bold);
}

void figures(PrintPageBuilder& b, const MonthlyReport::Extension& e, int row)
{
    b.rightAligned(QString::number(e.units), row, 37);
    b.rightAligned(money(e.cost), row, 45);
    b.rightAligned(QString::number(e.calls), row, 77);
    b.rightAligned(QString::number(e.callUnits), row, 85);
    b.rightAligned(money(e.callCost), row, 92);
    b.rightAligned(OutgoingRecord::listDuration(e.seconds), row, 98);
}

// The last row the box uses.
int extensionBox(PrintPageBuilder& b, const MonthlyReport& report)
{
    const int n = static_cast<int>(report.extensions.size());
    const int first = ExtensionBoxTop + 3, sumRow = first + n + 1, bottom = sumRow + 2;
    b.shadowedBox(7, ExtensionBoxTop, 99, bottom);
    extensionHeadings(b);
    const MonthlyReport::Extension total = report.total();
    // The bars share one scale: the extension with the most units fills the column.
    qint64 most = 1;
    for (const MonthlyReport::Extension& e : report.extensions)
        most = std::max(most, e.units);
    const int full = b.grid().column(BarColumns);
    for (int i = 0; i < n; ++i) {
        const MonthlyReport::Extension& e = report.extensions[static_cast<std::size_t>(i)];
        const int row = first + i;
        b.centredUnder(QString::number(e.number), NumberHeading, row, 8);
        b.text(e.name, row, 15);
        figures(b, e, row);
        b.colourBar(row, BarColumn, static_cast<int>(full * e.units / most), rgbOf(i));
        if (total.units > 0)
            b.text(QStringLiteral("%1 %").arg(FormatPicture::fixed(100.0 * e.units / total.units, 0, 1)), row,
                   BarColumn + BarColumns + 1);
    }
    b.text(QStringLiteral("Summe"), sumRow, 8, PrintFont::Bold);
    figures(b, total, sumRow);
    return bottom;
}

int numberBox(PrintPageBuilder& b, const MonthlyReport& report, int top)
{
    const int heading = top + 1, columns = top + 2, first = top + 3;
    const int bottom = first + MonthlyReport::TopCount + 1;
    b.shadowedBox(7, top, 99, bottom);
    b.text(QStringLiteral("Die %1 Rufnummern mit den höchsten Kosten").arg(MonthlyReport::TopCount), heading, 8,
           PrintFont::Bold);
    b.rightAligned(QStringLiteral("Rang"), columns, 11, PrintFont::Bold);
    b.text(QStringLiteral("Rufnummer"), columns, 13, PrintFont::Bold);
    b.text(QStringLiteral("Name"), columns, 30, PrintFont::Bold);
    b.rightAligned(QStringLiteral("Gespräche"), columns, 62, PrintFont::Bold);
    b.rightAligned(QStringLiteral("Einheiten"), columns, 72, PrintFont::Bold);
    b.rightAligned(QStringLiteral("Kosten"), columns, 82, PrintFont::Bold);
    b.rightAligned(QStringLiteral("Dauer"), columns, 92, PrintFont::Bold);
    for (std::size_t i = 0; i < report.topNumbers.size(); ++i) {
        const MonthlyReport::DialledNumber& d = report.topNumbers[i];
        const int row = first + static_cast<int>(i);
        b.rightAligned(QStringLiteral("%1.").arg(i + 1), row, 11);
        b.text(d.number, row, 13);
        b.text(d.name, row, 30);
        b.rightAligned(QString::number(d.calls), row, 62);
        b.rightAligned(QString::number(d.units), row, 72);
        b.rightAligned(money(d.cost), row, 82);
        b.rightAligned(OutgoingRecord::listDuration(d.seconds), row, 92);
    }
    return bottom;
}

} // namespace

namespace MonthlyReportLayout {

QString title(const QDate& month)
{
    return QStringLiteral("Kavex K3/K8 - Monatsbericht ") + MonthlyReport::monthText(month);
}

std::vector<PrintPage> pages(const Content& content, QSize pageSize, const PrintTextWidth& width)
{
    const PageGrid grid{pageSize.width(), pageSize.height()};
    const MonthlyReport& report = content.report;
    PrintPageBuilder b(grid, width);
    const int bottom = numberBox(b, report, extensionBox(b, report) + 2);
    // The side bar ends with the last box.
    b.header(title(report.month), content.withBars, content.printedAt, bottom);
    b.footer(bottom + 1);
    b.rightAligned(QStringLiteral("Preis pro Einheit: %1").arg(money(report.pricePerUnit)), bottom + 1, 99);
    return {b.page()};
}

} // namespace MonthlyReportLayout
