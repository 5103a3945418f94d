#include "TestImages.h"

#include "config/BaseCodec.h"
#include "config/BaseConfig.h"
#include "config/ExtensionConfig.h"
#include "config/PrintLayout.h"
#include "config/PrintTexts.h"
#include "config/SpeedDialCodec.h"

#include <gtest/gtest.h>

namespace {

// 100 device units a column and a row, a shadow of 50: grid positions read off directly.
const QSize Page(10000, 5500);
const PageGrid Grid{Page.width(), Page.height()};

int widthOf(const QString& text, PrintFont font)
{
    const int perCharacter = font == PrintFont::Title ? 20 : font == PrintFont::Bold ? 12 : 10;
    return static_cast<int>(text.size()) * perCharacter;
}

PrintContent configurationOf(int extensions, bool withBars = true)
{
    PrintConfiguration page;
    page.baseValues = {QStringLiteral("DSS1"), QStringLiteral("Anlagenanschluß"),
                       QStringLiteral("1"),    QStringLiteral("0"),
                       QStringLiteral("3"),    QStringLiteral("2.0"),
                       QStringLiteral("Ja"),   QStringLiteral("Nein")};
    page.msnNumbers[9] = QStringLiteral("4711");
    page.msnRhythms[9] = QStringLiteral("Standard");
    for (int g = 0; g < extensions; ++g) {
        PrintExtensionRow row;
        row.number = QString::number(21 + g);
        row.msns = g == 1 ? QString() : QStringLiteral("1, 3");
        row.chargePulse = g == 0;
        row.units = QStringLiteral("1234");
        row.cost = QStringLiteral("148,08");
        page.extensions.push_back(row);
    }
    page.totalUnits = QStringLiteral("3702");
    page.totalCost = QStringLiteral("444,24");
    PrintContent content;
    content.withBars = withBars;
    content.printedAt = QDateTime(QDate(2026, 12, 9), QTime(7, 5));
    content.configuration = page;
    return content;
}

PrintContent speedDialsOf(bool withBars = true)
{
    PrintContent content;
    content.withBars = withBars;
    std::vector<PrintSpeedDialRow> rows;
    for (int n = 1; n <= 60; ++n)
        rows.push_back({QString::number(300 + n), QStringLiteral("Name"), QStringLiteral("0301234"), {}});
    content.speedDials = rows;
    return content;
}

PrintPage pageOf(const PrintContent& content, std::size_t index = 0)
{
    const std::vector<PrintPage> pages = PrintLayout::pages(content, Page, widthOf);
    return pages.at(index);
}

// The texts at a grid cell.
std::vector<PrintText> at(const PrintPage& page, int row, int column)
{
    std::vector<PrintText> found;
    for (const PrintText& t : page.texts) {
        if (t.row == row && t.column == column)
            found.push_back(t);
    }
    return found;
}

const PrintText* find(const PrintPage& page, const QString& text)
{
    for (const PrintText& t : page.texts) {
        if (t.text == text)
            return &t;
    }
    return nullptr;
}

struct Placed
{
    const char* text;
    int row;
    int column;
    PrintFont font;
    PrintAlign align;
};

} // namespace

// Where each kind of text lands: left texts start at their column, right-aligned ones end there,
// centred ones are centred under the heading's width; every text's top is its row.
TEST(PrintLayout, ConfigurationTextsSitAtTheirGridCells)
{
    const PrintPage page = pageOf(configurationOf(3));
    const std::vector<Placed> table = {
        {"Protokoll", 13, 8, PrintFont::Bold, PrintAlign::Left},
        {"DSS1", 13, 30, PrintFont::Body, PrintAlign::Left},
        {"Message on Hold", 20, 8, PrintFont::Bold, PrintAlign::Left},
        {"Nein", 20, 30, PrintFont::Body, PrintAlign::Left},
        {"MSN 1", 12, 62, PrintFont::Bold, PrintAlign::Left},
        {"MSN 10", 21, 62, PrintFont::Bold, PrintAlign::Left},
        {"4711", 21, 72, PrintFont::Body, PrintAlign::Left},
        {"Standard", 21, 82, PrintFont::Body, PrintAlign::Left},
        {"Spontane Amtsholung", 25, 74, PrintFont::Bold, PrintAlign::Left},
        {"Einheiten", 25, 92, PrintFont::Bold, PrintAlign::Right},
        {"Kosten", 25, 98, PrintFont::Bold, PrintAlign::Right},
        {"23", 29, 8, PrintFont::Body, PrintAlign::Centre},
        {"Summe", 31, 8, PrintFont::Bold, PrintAlign::Left},
        {"3702", 31, 92, PrintFont::Body, PrintAlign::Right},
        {"444,24", 31, 98, PrintFont::Body, PrintAlign::Right},
    };
    for (const Placed& p : table) {
        const PrintText* t = find(page, QString::fromUtf8(p.text));
        ASSERT_NE(t, nullptr) << p.text;
        EXPECT_EQ(t->row, p.row) << p.text;
        EXPECT_EQ(t->column, p.column) << p.text;
        EXPECT_EQ(t->font, p.font) << p.text;
        EXPECT_EQ(t->y, Grid.row(p.row)) << p.text;
        const int w = widthOf(t->text, t->font);
        const int expectedX = p.align == PrintAlign::Left    ? Grid.column(p.column)
                              : p.align == PrintAlign::Right ? Grid.column(p.column) - w
                                                             : -1;
        if (expectedX >= 0) {
            EXPECT_EQ(t->x, expectedX) << p.text;
        }
    }
    // "23" centred under "Nebenstelle" (bold, 11 characters), "Ja" under "Impuls".
    EXPECT_EQ(find(page, QStringLiteral("23"))->x, Grid.column(8) + 66 - 10);
    EXPECT_EQ(at(page, 27, 69).at(0).x, Grid.column(69) + 36 - 10);
    const PrintText* footer = find(page, QStringLiteral("WinKavex - Version 5.19"));
    ASSERT_NE(footer, nullptr);
    EXPECT_EQ(footer->row, 34);
    EXPECT_EQ(footer->x, Grid.column(7) + Grid.shadow());
}

// Three extensions: rows 27 to 29 and nothing below; the side bar and the extension box end at
// row 33, an extension without MSNs leaves its cell empty, "Ja" only where the option is on.
TEST(PrintLayout, ThreeExtensionsEndTheBoxAndSideBarAtRow33)
{
    const PrintPage page = pageOf(configurationOf(3));
    for (int row = 27; row <= 29; ++row)
        EXPECT_EQ(at(page, row, 8).size(), 1u) << row;
    EXPECT_TRUE(at(page, 30, 8).empty());
    EXPECT_EQ(at(page, 27, 30).size(), 1u);
    EXPECT_TRUE(at(page, 28, 30).empty());
    EXPECT_EQ(at(page, 27, 69).size(), 1u);
    EXPECT_TRUE(at(page, 28, 69).empty());
    EXPECT_TRUE(at(page, 27, 74).empty());

    const int d = Grid.shadow();
    const PrintRect box{Grid.column(7), Grid.row(24), Grid.column(99), Grid.row(33)};
    ASSERT_EQ(page.frames.size(), 2u);
    EXPECT_EQ(page.frames[0], (PrintRect{Grid.column(53), Grid.row(11), Grid.column(99), Grid.row(23)}));
    EXPECT_EQ(page.frames[1], box);
    const std::vector<PrintRect> expectedFills = {
        {Grid.column(3), Grid.row(7), Grid.column(99) + d, Grid.row(10)}, // title bar
        {Grid.column(3), Grid.row(7), Grid.column(6), Grid.row(33) + d},  // side bar
        {Grid.column(53) + d, Grid.row(23), Grid.column(99) + d, Grid.row(23) + d},
        {Grid.column(99), Grid.row(11) + d, Grid.column(99) + d, Grid.row(23) + d},
        {box.left + d, box.bottom, box.right + d, box.bottom + d},
        {box.right, box.top + d, box.right + d, box.bottom + d},
    };
    EXPECT_EQ(page.fills, expectedFills);
}

// The header: white title and date on the bars, black without them, and then no bars at all.
TEST(PrintLayout, HeaderWithAndWithoutBars)
{
    for (const bool withBars : {true, false}) {
        for (const PrintContent& content : {configurationOf(8, withBars), speedDialsOf(withBars)}) {
            const PrintPage page = pageOf(content);
            const PrintText* title = find(page, QStringLiteral("Kavex K3/K8 - Konfiguration"));
            ASSERT_NE(title, nullptr);
            EXPECT_EQ(title->font, PrintFont::Title);
            EXPECT_EQ(title->x, Page.width() * 52 / 100 - widthOf(title->text, PrintFont::Title) / 2);
            EXPECT_EQ(title->y, Page.height() * 15 / 110);
            EXPECT_EQ(title->white, withBars);
            const std::size_t shadows = 2 * page.frames.size();
            EXPECT_EQ(page.fills.size(), shadows + (withBars ? 2 : 0));
        }
    }
    const PrintPage page = pageOf(configurationOf(8));
    const std::vector<PrintText> date = at(page, 8, 99);
    ASSERT_EQ(date.size(), 1u);
    EXPECT_EQ(date[0].text, QStringLiteral("09.12.2026     07:05"));
    EXPECT_EQ(date[0].x + widthOf(date[0].text, PrintFont::Body), Grid.column(99));
    EXPECT_TRUE(date[0].white);
    EXPECT_EQ(page.fills[1].bottom, Grid.row(38) + Grid.shadow()); // side bar of eight extensions
}

TEST(PrintLayout, SpeedDialPageHasTwoColumnsOfThirty)
{
    PrintContent content = speedDialsOf();
    const PrintPage page = pageOf(content);
    const std::vector<std::tuple<int, int, const char*>> table = {
        {12, 8, "Kurzwahl"}, {12, 34, "Attribute"}, {12, 54, "Kurzwahl"}, {12, 80, "Attribute"},
        {14, 9, "301"},      {43, 9, "330"},        {14, 55, "331"},      {43, 55, "360"},
        {14, 13, "Name"},    {14, 25, "0301234"},   {43, 71, "0301234"},
    };
    for (const auto& [row, column, text] : table) {
        const std::vector<PrintText> found = at(page, row, column);
        ASSERT_EQ(found.size(), 1u) << text;
        EXPECT_EQ(found[0].text, QString::fromUtf8(text));
    }
    EXPECT_TRUE(at(page, 44, 9).empty());
    ASSERT_EQ(page.frames.size(), 1u);
    EXPECT_EQ(page.frames[0], (PrintRect{Grid.column(7), Grid.row(11), Grid.column(51), Grid.row(45)}));
    EXPECT_EQ(page.fills[1].bottom, Grid.row(45) + Grid.shadow());
    EXPECT_EQ(find(page, QStringLiteral("WinKavex - Version 5.19"))->row, 46);

    content.configuration = configurationOf(3).configuration;
    const std::vector<PrintPage> both = PrintLayout::pages(content, Page, widthOf);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_NE(find(both[0], QStringLiteral("Summe")), nullptr);
    EXPECT_NE(find(both[1], QStringLiteral("360")), nullptr);
}

TEST(PrintTexts, SpeedDialAttributes)
{
    struct Case
    {
        std::uint8_t baby, permission;
        int extensions;
        const char* text;
    };
    const std::vector<Case> table = {
        {0, 0, 8, ""},
        {0x05, 0, 8, "Baby 21, 23 "},
        {0, 0x03, 8, "KW 21, 22, "},
        {0x05, 0x03, 8, "Baby 21, 23 KW 21, 22, "},
        {0x88, 0x08, 3, ""}, // only the present extensions are examined
        {0xFF, 0xFF, 8, "Baby 21, 22, 23, 24, 25, 26, 27, 28 KW 21, 22, 23, 24, 25, 26, 27, 28, "},
    };
    for (const Case& c : table) {
        const std::uint32_t value = SpeedDialCodec::attributeValue(c.baby, c.permission, 0, 0);
        EXPECT_EQ(PrintTexts::speedDialAttributes(value, c.extensions), QString::fromUtf8(c.text)) << c.text;
    }
}

// The configuration page's texts come from the models as the pages show them.
TEST(PrintTexts, ConfigurationFromTheModels)
{
    ConfigImage image = TestImages::make(2, 0, 3);
    BaseSettings settings = BaseCodec::decode(image);
    // Extension 22 rings for no MSN.
    for (int m = 0; m < BaseSettings::MsnCount; ++m) {
        std::array<bool, Extensions::Max> assigned{};
        for (int i = 0; i < 3; ++i)
            assigned[static_cast<std::size_t>(i)] = i != 1 && settings.rings(m, i);
        BaseCodec::storeRing(image, m, assigned, 3);
    }
    BaseConfig base(image);
    ExtensionConfig extensions(image, base);
    base.decode();
    extensions.decode();
    const PrintConfiguration page =
        PrintTexts::configuration(base, extensions, {QStringLiteral("Büro"), QString(), QStringLiteral("Küche")});
    ASSERT_EQ(page.extensions.size(), 3u);
    EXPECT_EQ(page.extensions[1].msns, QString());
    EXPECT_EQ(page.extensions[0].name, QStringLiteral("Büro"));
    EXPECT_EQ(page.extensions[2].name, QStringLiteral("Küche"));
    EXPECT_EQ(page.baseValues[4], QStringLiteral("3"));
    EXPECT_EQ(page.baseValues[5], base.firmwareText());
    for (int g = 0; g < 3; ++g) {
        const PrintExtensionRow& row = page.extensions[static_cast<std::size_t>(g)];
        EXPECT_EQ(row.permission, extensions.permission(g).text);
        const QString target = extensions.forwardingTarget(g).text;
        EXPECT_TRUE(row.forwarding.startsWith(target)) << g;
        if (!target.isEmpty() && !extensions.forwardingMode(g).text.isEmpty()) {
            EXPECT_EQ(row.forwarding, target + QLatin1Char(' ') + extensions.forwardingMode(g).text);
        }
    }
}
