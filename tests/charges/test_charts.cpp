#include "charges/CounterLine.h"
#include "charges/Histogram.h"
#include "charges/PieChart.h"

#include <gtest/gtest.h>

namespace {

// A history data line (columns as the file has them) for a date and the eight counters.
QString historyLine(const QString& date, const Units& units)
{
    QString line = QStringLiteral("| %1 12:00 |").arg(date);
    for (int v : units)
        line += QStringLiteral("%1 |").arg(v, 6);
    return line;
}

PeriodList periods(const QList<PeriodList::Entry>& entries)
{
    PeriodList list;
    for (const auto& e : entries)
        list.append(e);
    return list;
}

const QStringList Names = {"Wohnzimmer", "Büro", "", "", "", "", "", ""};

} // namespace

TEST(PieChart, SlicesOfAPeriodInDegrees)
{
    const PeriodList list = periods({
        {"Januar 2026", historyLine(QStringLiteral("31.01.2026"), {30, 10})},
        {"Februar 2026", historyLine(QStringLiteral("28.02.2026"), {35, 25})},
        {"März 2026", historyLine(QStringLiteral("31.03.2026"), {2, 25})}, // extension 21 reset
        {"Gesamtübersicht", CounterLine::overview({2, 25})},
    });
    const auto first = PieChart::forPeriod(list, 0, Names);
    ASSERT_EQ(first.size(), 2);
    EXPECT_EQ(first[0].value, 270);
    EXPECT_EQ(first[1].value, 90);
    EXPECT_EQ(first[0].text, QStringLiteral("Wohnzimmer: 30 Gebühreneinheiten"));
    EXPECT_EQ(first[1].colour, (PieChart::Rgb{255, 0, 0}));

    const auto february = PieChart::forPeriod(list, 1, Names); // the month's own units: 5 and 15
    ASSERT_EQ(february.size(), 2);
    EXPECT_EQ(february[0].value, 90);
    EXPECT_EQ(february[1].text, QStringLiteral("Büro: 15 Gebühreneinheiten"));
    EXPECT_TRUE(PieChart::forPeriod(list, 2, Names).isEmpty()); // a reset and no use: nothing to draw
    EXPECT_EQ(PieChart::forPeriod(list, 3, Names).size(), 2);   // the overall counters

    const PieChart::Layout layout = PieChart::layout(first, QSize(420, 300), 10, 2);
    EXPECT_EQ(layout.rx, 200);
    EXPECT_EQ(layout.ry, 100);
    ASSERT_EQ(layout.slices.size(), 2);
    // The small slice lies at the back (nine to twelve o'clock) and is drawn first.
    EXPECT_EQ(layout.slices[0].item, 1);
    EXPECT_EQ(layout.slices[1].item, 0);
    EXPECT_EQ(layout.slices[1].spanAngle16, -270 * 16);
    EXPECT_EQ(layout.slices[0].spanAngle16, -90 * 16);
    // Just before twelve o'clock: 0.1 radians ahead of the vertical.
    EXPECT_EQ(layout.slices[1].startAngle16, qRound((90.0 + 0.1 * 180 / M_PI) * 16));
    EXPECT_EQ(layout.slices[1].side, (PieChart::Rgb{0, 0, 191}));

    const QPoint top = QRect(QPoint(0, 0), QSize(420, 300)).adjusted(10, 10, -10, -10).center() - QPoint(0, 5);
    EXPECT_EQ(PieChart::itemAt(layout, top + QPoint(0, 60)), 0);     // six o'clock
    EXPECT_EQ(PieChart::itemAt(layout, top + QPoint(-120, -30)), 1); // about ten o'clock
    EXPECT_EQ(PieChart::itemAt(layout, top + QPoint(0, 130)), -1);   // below the pie
}

TEST(Histogram, ScaleBarsAndYears)
{
    struct Case
    {
        const char* what;
        int entries;
        int monthly; // units per month
        int step, top, bars;
    };
    const Case cases[] = {
        {"one entry: axes and grid only", 1, 400, 100, 400, 0},
        {"a first entry of 1001", 2, 1001, 250, 1250, 1},
        {"70 entries: the last 60, the first of them as it is", 70, 30, 100, 400, 59},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PeriodList list;
        for (int k = 0; k < c.entries; ++k) {
            const QDate month = QDate(2020, 1, 31).addMonths(k);
            list.append({QStringLiteral("x"),
                         historyLine(month.toString(QStringLiteral("dd.MM.yyyy")), {c.monthly * (k + 1)})});
        }
        const Histogram::Layout h = Histogram::layout(list);
        EXPECT_EQ(h.step, c.step);
        EXPECT_EQ(h.top, c.top);
        EXPECT_EQ(h.bars.size(), c.bars);
        EXPECT_EQ(h.ticks.first().y, 278);
        EXPECT_EQ(h.ticks.last().y, 10);
        EXPECT_EQ(h.ticks.size(), c.top / c.step + 1);
    }
}

TEST(Histogram, BarRectanglesAndTheYearOverTheJanuaryBar)
{
    const PeriodList list = periods({
        {"Dezember 2025", historyLine(QStringLiteral("31.12.2025"), {100})},
        {"Januar 2026", historyLine(QStringLiteral("31.01.2026"), {150})},
        {"Februar 2026", historyLine(QStringLiteral("28.02.2026"), {350})},
        {"Gesamtübersicht", CounterLine::overview({360})},
    });
    const Histogram::Layout h = Histogram::layout(list);
    EXPECT_EQ(h.top, 200); // differences 100 (first, as it is), 50, 200, 10
    ASSERT_EQ(h.bars.size(), 3);
    EXPECT_EQ(h.bars[0], QRect(QPoint(32, 278 - 134), QPoint(38, 278)));
    EXPECT_EQ(h.bars[1], QRect(QPoint(40, 278 - 67), QPoint(46, 278)));
    EXPECT_EQ(h.bars[2].top(), 10);
    ASSERT_EQ(h.years.size(), 1);
    EXPECT_EQ(h.years[0].year, 2026);
    EXPECT_EQ(h.years[0].tickX, 16 + 23);
    EXPECT_EQ(h.years[0].centreX, 16 + 71);
}

// The legend beside the pie: every present extension, also one without units, with its share.
TEST(PieChart, LegendOfThePresentExtensions)
{
    const PeriodList list = periods({
        {"Januar 2026", historyLine(QStringLiteral("31.01.2026"), {30, 10})},
        {"Februar 2026", historyLine(QStringLiteral("28.02.2026"), {35, 25})},
        {"März 2026", historyLine(QStringLiteral("31.03.2026"), {2, 25})}, // extension 21 reset
        {"Gesamtübersicht", CounterLine::overview({2, 25, 0, 0, 0, 0, 0, 3})},
    });
    const QList<PieChart::LegendRow> february = PieChart::legend(list, 1, Names, 3);
    const QList<PieChart::LegendRow> expected = {
        {21, QStringLiteral("Wohnzimmer"), 5, QStringLiteral("25,0 %"), {0, 0, 255}},
        {22, QStringLiteral("Büro"), 15, QStringLiteral("75,0 %"), {255, 0, 0}},
        {23, QString(), 0, QStringLiteral("0,0 %"), {255, 255, 0}},
    };
    EXPECT_EQ(february, expected);
    for (const PieChart::LegendRow& row : PieChart::legend(list, 2, Names, 3)) // a reset and no use
        EXPECT_EQ(row.share, QStringLiteral("0,0 %")) << row.extension;
    const QList<PieChart::LegendRow> overall = PieChart::legend(list, 3, Names, 8);
    ASSERT_EQ(overall.size(), 8);
    EXPECT_EQ(overall[7].units, 3);
    EXPECT_EQ(overall[7].share, QStringLiteral("10,0 %"));
    EXPECT_TRUE(PieChart::legend(list, 4, Names, 8).isEmpty());
}

// Under every bar its month's initial, also for the month whose entry holds the latest reading;
// over every bar a hint with the period and the bar's units (a counter reset shows none).
TEST(Histogram, MonthInitialsAndHintsOfTheBars)
{
    const PeriodList list = periods({
        {"Dezember 2025", historyLine(QStringLiteral("31.12.2025"), {100})},
        {"Januar 2026", historyLine(QStringLiteral("31.01.2026"), {150})},
        {"Februar 2026", historyLine(QStringLiteral("28.02.2026"), {20})},
        {"März 2026", CounterLine::overview({80})},
        {"Gesamtübersicht", CounterLine::overview({80})},
    });
    const Histogram::Layout h = Histogram::layout(list);
    QStringList initials, hints;
    for (const Histogram::MonthLabel& m : h.months)
        initials << QStringLiteral("%1@%2").arg(m.initial).arg(m.centreX);
    for (const Histogram::BarHint& b : h.hints)
        hints << b.text;
    EXPECT_EQ(initials, QStringList({"D@35", "J@43", "F@51", "M@59"}));
    EXPECT_EQ(hints, QStringList({"Dezember 2025: 100 Gebühreneinheiten", "Januar 2026: 50 Gebühreneinheiten",
                                  "Februar 2026: 0 Gebühreneinheiten", "März 2026: 60 Gebühreneinheiten"}));
    const struct
    {
        QPoint at;
        int hint;
    } points[] = {
        {{31, 200}, -1},                                                 // left of the first bar
        {{32, 200}, 0},  {{39, 200}, 0}, {{40, 200}, 1}, {{59, 300}, 3}, // the label rows count
        {{35, 5}, -1},                                                   // above the scale
        {{67, 200}, -1},                                                 // right of the last bar
    };
    for (const auto& p : points)
        EXPECT_EQ(Histogram::hintAt(h, p.at), p.hint) << p.at.x() << "," << p.at.y();
}
