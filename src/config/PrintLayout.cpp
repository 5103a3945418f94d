#include "config/PrintLayout.h"

#include "config/PrintPageBuilder.h"

namespace {

const QString Title = QStringLiteral("Kavex K3/K8 - Konfiguration");
constexpr int SpeedDialBarRows = 15; // the side bar's extent on the speed-dial page, like 15 extensions
constexpr int EntriesPerColumn = 30;

void baseValues(PrintPageBuilder& b, const PrintConfiguration& c)
{
    static const std::array<QString, 8> labels = {QStringLiteral("Protokoll"),
                                                  QStringLiteral("Anschlußart"),
                                                  QStringLiteral("Externe S0-Anschlüsse"),
                                                  QStringLiteral("Interne S0-Anschlüsse"),
                                                  QStringLiteral("Nebenstellen"),
                                                  QStringLiteral("Firmware-Version"),
                                                  QStringLiteral("Music on Hold"),
                                                  QStringLiteral("Message on Hold")};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const int row = 13 + static_cast<int>(i);
        b.text(labels[i], row, 8, PrintFont::Bold);
        b.text(c.baseValues[i], row, 30);
    }
}

void msns(PrintPageBuilder& b, const PrintConfiguration& c)
{
    b.shadowedBox(53, 11, 99, 23);
    for (std::size_t m = 0; m < c.msnNumbers.size(); ++m) {
        const int row = 12 + static_cast<int>(m);
        b.text(QStringLiteral("MSN %1").arg(m + 1), row, 62, PrintFont::Bold);
        b.text(c.msnNumbers[m], row, 72);
        b.text(c.msnRhythms[m], row, 82);
    }
}

const QString NumberHeading = QStringLiteral("Nebenstelle");
const QString MsnHeading = QStringLiteral("MSN-Zuordnung");
const QString PulseHeading = QStringLiteral("Impuls");
const QString TrunkHeading = QStringLiteral("Spontane Amtsholung");

void extensionRow(PrintPageBuilder& b, const PrintExtensionRow& e, int row)
{
    const QString yes = QStringLiteral("Ja");
    b.centredUnder(e.number, NumberHeading, row, 8);
    b.text(e.name, row, 15);
    b.centredUnder(e.msns, MsnHeading, row, 30);
    b.text(e.forwarding, row, 40);
    b.text(e.permission, row, 50);
    b.text(e.service, row, 60);
    if (e.chargePulse)
        b.centredUnder(yes, PulseHeading, row, 69);
    if (e.trunkAccess)
        b.centredUnder(yes, TrunkHeading, row, 74);
    b.rightAligned(e.units, row, 92);
    b.rightAligned(e.cost, row, 98);
}

void extensions(PrintPageBuilder& b, const PrintConfiguration& c)
{
    const int n = static_cast<int>(c.extensions.size());
    b.shadowedBox(7, 24, 99, n + 30);
    b.text(NumberHeading, 25, 8, PrintFont::Bold);
    b.text(QStringLiteral("Bezeichnung"), 25, 15, PrintFont::Bold);
    b.text(MsnHeading, 25, 30, PrintFont::Bold);
    b.text(QStringLiteral("Rufumleitung"), 25, 40, PrintFont::Bold);
    b.text(QStringLiteral("Berechtigung"), 25, 50, PrintFont::Bold);
    b.text(QStringLiteral("Dienst"), 25, 60, PrintFont::Bold);
    b.text(PulseHeading, 25, 69, PrintFont::Bold);
    b.text(TrunkHeading, 25, 74, PrintFont::Bold);
    b.rightAligned(QStringLiteral("Einheiten"), 25, 92, PrintFont::Bold);
    b.rightAligned(QStringLiteral("Kosten"), 25, 98, PrintFont::Bold);
    for (int g = 0; g < n; ++g)
        extensionRow(b, c.extensions[static_cast<std::size_t>(g)], 27 + g);
    b.text(QStringLiteral("Summe"), n + 28, 8, PrintFont::Bold);
    b.rightAligned(c.totalUnits, n + 28, 92);
    b.rightAligned(c.totalCost, n + 28, 98);
    b.footer(n + 31);
}

PrintPage configurationPage(const PrintContent& content, const PageGrid& grid, const PrintTextWidth& width)
{
    const PrintConfiguration& c = *content.configuration;
    PrintPageBuilder b(grid, width);
    b.header(Title, content.withBars, content.printedAt, static_cast<int>(c.extensions.size()) + 30);
    baseValues(b, c);
    msns(b, c);
    extensions(b, c);
    return b.page();
}

void speedDialHeadings(PrintPageBuilder& b, int first)
{
    b.text(QStringLiteral("Kurzwahl"), 12, first, PrintFont::Bold);
    b.text(QStringLiteral("Bezeichnung"), 12, first + 5, PrintFont::Bold);
    b.text(QStringLiteral("Rufnummer"), 12, first + 17, PrintFont::Bold);
    b.text(QStringLiteral("Attribute"), 12, first + 26, PrintFont::Bold);
}

PrintPage speedDialPage(const PrintContent& content, const PageGrid& grid, const PrintTextWidth& width)
{
    PrintPageBuilder b(grid, width);
    b.header(Title, content.withBars, content.printedAt, SpeedDialBarRows + 30);
    b.shadowedBox(7, 11, 51, 45);
    speedDialHeadings(b, 8);
    speedDialHeadings(b, 54);
    const std::vector<PrintSpeedDialRow>& rows = *content.speedDials;
    for (std::size_t i = 0; i < rows.size() && i < 2 * EntriesPerColumn; ++i) {
        const bool second = i >= EntriesPerColumn;
        const int row = 14 + static_cast<int>(i % EntriesPerColumn);
        const int shift = second ? 46 : 0;
        b.text(rows[i].entry, row, 9 + shift);
        b.text(rows[i].name, row, 13 + shift);
        b.text(rows[i].number, row, 25 + shift);
        b.text(rows[i].attributes, row, 34 + shift);
    }
    b.footer(46);
    return b.page();
}

} // namespace

namespace PrintLayout {

std::vector<PrintPage> pages(const PrintContent& content, QSize pageSize, const PrintTextWidth& width)
{
    const PageGrid grid{pageSize.width(), pageSize.height()};
    std::vector<PrintPage> result;
    if (content.configuration)
        result.push_back(configurationPage(content, grid, width));
    if (content.speedDials)
        result.push_back(speedDialPage(content, grid, width));
    return result;
}

} // namespace PrintLayout
