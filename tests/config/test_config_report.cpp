#include "ConfigReport.h"
#include "Golden.h"
#include "TestImages.h"

#include "config/SpeedDialList.h"

#include <gtest/gtest.h>

namespace {

TEST(ConfigReport, JsonOfAThreeExtensionExchange)
{
    EXPECT_TRUE(
        Golden::matches(QStringLiteral("config-report-200-3.json"), ConfigReport::json(TestImages::make(2, 0, 3))));
}

TEST(ConfigReport, JsonBelowTwoHundredAndItsTexts)
{
    ConfigImage image = TestImages::firmware198();
    image[57] = 1;
    image[3] = 0;
    image[1] = 0;
    const QString json = QString::fromUtf8(ConfigReport::json(image));
    for (const char* part :
         {R"j("firmware": {"major": 1, "minor": 98, "version": 198})j", R"j("protocol": "1TR6")j",
          R"j("connection": "Mehrgeräteanschluß")j", R"j("music_on_hold": "Ja")j", R"j("message_on_hold": "Nein")j",
          R"j({"msn": 1, "number": "701", "rhythm": "n.v.")j",
          R"j({"msn": 5, "number": "", "rhythm": "", "ring": []})j", R"j("forwarding": "23", "forwarding_mode": "")j",
          R"j("forwarding": "0301234", "forwarding_mode": "(sofort)")j"})
        EXPECT_TRUE(json.contains(QString::fromUtf8(part))) << part;
}

TEST(ConfigReport, TextSummary)
{
    const QString text = ConfigReport::text(TestImages::make(2, 0, 3), {QStringLiteral("Küche")});
    const QStringList lines = text.split(QLatin1Char('\n'));
    EXPECT_EQ(lines.at(0), QStringLiteral("Protokoll               DSS1"));
    EXPECT_EQ(lines.at(5), QStringLiteral("Firmware-Version        2.0"));
    EXPECT_TRUE(lines.contains(QStringLiteral("MSN 3  12345       Rhythmus 2  21")));
    EXPECT_TRUE(lines.contains(QStringLiteral("MSN10")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Nebenstelle 21 - Küche")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Nebenstelle 22")));
    EXPECT_TRUE(lines.contains(QStringLiteral("  Rufumleitung          21 (5 Rufe)")));
    EXPECT_FALSE(text.contains(QStringLiteral("Nebenstelle 24")));
    for (const QString& line : lines)
        EXPECT_FALSE(line.endsWith(QLatin1Char(' '))) << line.toStdString();
}

class OneName : public SpeedDialStore
{
public:
    QString name(int entry) const override { return entry == 1 ? QStringLiteral("Oma \"Else\"") : QString(); }
    QString storedNumber(int) const override { return {}; }
    QString sound(int) const override { return {}; }
    bool save(int, const QString&, const QString&, const QString&) override { return true; }
};

TEST(ConfigReport, SpeedDialsJson)
{
    OneName store;
    SpeedDialList list(store);
    list.applyEntry({1, QStringLiteral("0301234"), 0x01010000});
    list.sortByColumn(SpeedDialList::EntryColumn);
    list.sortByColumn(SpeedDialList::EntryColumn); // the report keeps the entry order
    const QString json = QString::fromUtf8(ConfigReport::speedDialsJson(list));
    EXPECT_TRUE(json.startsWith(QStringLiteral(R"j([{"entry": 301, "name": "Oma \"Else\"", "number": "<0301234>", )j"
                                               R"j("attributes": "Kurzwahl, Babyruf", "value": 16842752}, )j"
                                               R"j({"entry": 302, "name": "", "number": "", "attributes": "", )j"
                                               R"j("value": 0}, )j")))
        << json.left(300).toStdString();
    EXPECT_TRUE(
        json.endsWith(QStringLiteral(R"j({"entry": 360, "name": "", "number": "", "attributes": "", "value": 0}])j")));
    const QString text = ConfigReport::speedDialsText(list);
    EXPECT_EQ(
        text.split(QLatin1Char('\n')).at(1),
        QStringLiteral("301      Oma \"Else\"                               <0301234>              Kurzwahl, Babyruf"));
}

} // namespace
