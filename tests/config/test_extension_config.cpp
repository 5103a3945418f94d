#include "TestImages.h"

#include "config/BaseConfig.h"
#include "config/ConfigChoices.h"
#include "config/ExtensionConfig.h"

#include <gtest/gtest.h>

namespace {

struct Models
{
    explicit Models(ConfigImage img) : image(img), base(image), extensions(image, base) {}
    ConfigImage image;
    BaseConfig base;
    ExtensionConfig extensions;
};

TEST(ExtensionCodec, DecodesRecordsAtTheFirmwaresStride)
{
    Models old(TestImages::firmware198());
    EXPECT_EQ(TestImages::record(old.image, 1), 325);
    EXPECT_EQ(old.extensions.permission(1).text, QStringLiteral("Inland"));
    EXPECT_EQ(old.extensions.service(1).text, QStringLiteral("Anrufbeantworter"));
    EXPECT_EQ(old.extensions.forwardingTarget(1).text, QStringLiteral("23"));
    EXPECT_EQ(old.extensions.forwardingMode(1).text, QString()); // below 2.00 an extension target has no text
    EXPECT_EQ(old.extensions.forwardingTarget(2).text, QStringLiteral("0301234"));
    EXPECT_EQ(old.extensions.forwardingMode(2).text, QStringLiteral("(sofort)"));
    EXPECT_EQ(old.extensions.pin(2), QStringLiteral("9876"));

    Models now(TestImages::firmware200());
    EXPECT_EQ(TestImages::record(now.image, 1), 328);
    EXPECT_EQ(now.extensions.permission(7).text, QStringLiteral("Ortsgespräch"));
    EXPECT_EQ(now.extensions.service(7).text, QStringLiteral("Telefon"));
    EXPECT_TRUE(now.extensions.chargePulse(1));
    EXPECT_FALSE(now.extensions.trunkAccess(1));
    EXPECT_EQ(now.extensions.units(0), 4660);
    EXPECT_EQ(now.extensions.pin(6), QStringLiteral("0007"));
}

TEST(ExtensionCodec, ForwardingDecodeFromTwoHundred)
{
    struct Case
    {
        int g;
        QString target, modeText;
        int mode;
    };
    const Case cases[] = {
        {0, "", "", 0},           {1, "23", "(besetzt)", 1}, {2, "21", "(5 Rufe)", 4},
        {5, "22", "(sofort)", 0}, {6, "0301234", "", 0}, // an external target shows no mode text from 2.00 on
    };
    Models m(TestImages::firmware200());
    for (const Case& c : cases) {
        const ExtensionSettings& s = m.extensions.settings(c.g);
        EXPECT_EQ(s.target, c.target) << c.g;
        EXPECT_EQ(s.modeText, c.modeText) << c.g;
        EXPECT_EQ(s.mode, c.mode) << c.g;
    }
}

TEST(ExtensionCodec, ExtensionTargets)
{
    struct Case
    {
        QString target;
        int count;
        bool extension;
    };
    const Case cases[] = {{"23", 8, true},  {"28", 8, true},   {"29", 8, false}, {"24", 3, false}, {"23", 3, true},
                          {"20", 8, false}, {"023", 8, false}, {"2", 8, false},  {"32", 8, false}};
    for (const Case& c : cases)
        EXPECT_EQ(ExtensionCodec::isExtensionTarget(c.target, c.count), c.extension) << c.target.toStdString();
}

// Bytes 3, 23, 24, 25 and the external digits after storing a target with a mode.
TEST(ExtensionConfig, ForwardingKinds)
{
    struct Case
    {
        QString target;
        int mode;
        int count;
        std::array<int, 4> bytes; // 3, 23, 24, 25
        QByteArray external;      // bytes 7..11
        QString modeText;
    };
    const Case cases[] = {
        {"", 0, 8, {0, 0, 0, 0}, "FF FF FF FF FF", ""},
        {"23", 0, 8, {23, 0, 0, 0}, "FF FF FF FF FF", "(sofort)"},
        {"23", 1, 8, {0, 3, 0, 0}, "FF FF FF FF FF", "(besetzt)"},
        {"23", 4, 8, {0, 0, 3, 5}, "FF FF FF FF FF", "(5 Rufe)"},
        {"28", 9, 8, {0, 0, 8, 10}, "FF FF FF FF FF", "(10 Rufe)"},
        {"23", -1, 8, {23, 0, 0, 0}, "FF FF FF FF FF", "(sofort)"},
        {"29", 0, 8, {1, 0, 0, 0}, "92 FF FF FF FF", ""},
        {"24", 0, 3, {1, 0, 0, 0}, "42 FF FF FF FF", ""},
        {"0301234", -1, 8, {1, 0, 0, 0}, "30 10 32 F4 FF", ""},
        {"03 1", -1, 8, {1, 0, 0, 0}, "30 10 FF FF FF", ""},
    };
    for (const Case& c : cases) {
        Models m(TestImages::make(2, 0, c.count));
        ExtensionPageFields fields = m.extensions.select(2, m.extensions.showSelected()); // 23: after 5 rings to 21
        fields.target = c.target;
        fields.mode = c.mode;
        m.extensions.storeSelected(fields);
        const int r = TestImages::record(m.image, 2);
        const std::array<int, 4> bytes{m.image[r + 3], m.image[r + 23], m.image[r + 24], m.image[r + 25]};
        EXPECT_EQ(bytes, c.bytes) << c.target.toStdString() << " " << c.mode;
        EXPECT_EQ(TestImages::hex(m.image, r + 7, 5), c.external) << c.target.toStdString();
        EXPECT_EQ(m.extensions.forwardingMode(2).text, c.modeText) << c.target.toStdString();
        EXPECT_EQ(m.extensions.forwardingTarget(2).changed, true);

        // What was stored reads back as it was typed.
        m.base.decode();
        m.extensions.decode();
        QString expected = c.target;
        expected.replace(QLatin1Char(' '), QLatin1Char('0'));
        EXPECT_EQ(m.extensions.forwardingTarget(2).text, expected);
        EXPECT_EQ(m.extensions.forwardingMode(2).text, c.modeText);
        if (ExtensionCodec::isExtensionTarget(c.target, c.count) && c.mode >= 0) {
            EXPECT_EQ(m.extensions.settings(2).mode, c.mode);
        }
    }
}

TEST(ExtensionConfig, ForwardingBelowTwoHundredNeverTouchesTheNextRecord)
{
    Models m(TestImages::firmware198());
    const ConfigImage before = m.image;
    ExtensionPageFields fields = m.extensions.showSelected();
    fields.target = QStringLiteral("23");
    fields.mode = 4; // a mode the page cannot offer below 2.00 is taken as "sofort"
    m.extensions.storeSelected(fields);
    const int r = TestImages::record(m.image, 0);
    EXPECT_EQ(m.image[r + 3], 23);
    for (int k = 4; k < 24 + 27; ++k)
        EXPECT_EQ(m.image[r + k], before[r + k]) << k;
    fields.target.clear();
    m.extensions.storeSelected(fields);
    EXPECT_EQ(m.image[r + 3], 0);
    EXPECT_EQ(m.image[r + 23], before[r + 23]);
    EXPECT_EQ(m.image[r + 24], before[r + 24]);
}

TEST(ExtensionConfig, UnchangedForwardingIsNotRewritten)
{
    ConfigImage image = TestImages::firmware200();
    const int r = TestImages::record(image, 0);
    image[r + 3] = 0;
    image[r + 7] = 0x12; // digits left behind with no forwarding switched on
    Models m(image);
    EXPECT_EQ(m.extensions.forwardingTarget(0).text, QStringLiteral("21"));
    m.extensions.storeSelected(m.extensions.showSelected());
    EXPECT_EQ(m.image[r + 3], 0);
}

TEST(ExtensionConfig, TargetTypedSwitchesTheModeChoice)
{
    Models m(TestImages::firmware200());
    ExtensionPageFields fields = m.extensions.showSelected();
    EXPECT_FALSE(fields.modeEnabled); // 21 has no forwarding
    fields.target = QStringLiteral("2");
    fields = m.extensions.targetTyped(fields);
    EXPECT_FALSE(fields.modeEnabled);
    EXPECT_EQ(fields.mode, -1);
    EXPECT_EQ(m.extensions.forwardingMode(0).text, QString());
    fields.target = QStringLiteral("23");
    fields = m.extensions.targetTyped(fields);
    EXPECT_TRUE(fields.modeEnabled);
    EXPECT_EQ(fields.mode, 0);
    EXPECT_EQ(m.extensions.forwardingMode(0), (MarkedText{QStringLiteral("(sofort)"), true}));

    Models old(TestImages::firmware198());
    ExtensionPageFields oldFields = old.extensions.showSelected();
    oldFields.target = QStringLiteral("23");
    EXPECT_EQ(old.extensions.targetTyped(oldFields), oldFields);
    EXPECT_FALSE(old.extensions.modeChoiceEnabled(QStringLiteral("23")));
}

TEST(ExtensionConfig, ExternalTargetReplacesInternalForwarding)
{
    Models m(TestImages::firmware200());
    ExtensionPageFields fields = m.extensions.select(1, m.extensions.showSelected()); // 22: busy to 23
    fields.target = QStringLiteral("0301234");
    fields.mode = -1;
    m.extensions.storeSelected(fields);
    m.extensions.decode();
    EXPECT_EQ(m.extensions.forwardingTarget(1).text, QStringLiteral("0301234"));
}

TEST(ExtensionConfig, PinIsPaddedOnTheLeft)
{
    struct Case
    {
        QString typed, shown;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"7", "0007", "00 70"}, {"1234", "1234", "21 43"},  {"12 4", "1204", "21 40"},
        {"", "0000", "00 00"},  {"12345", "1234", "21 43"}, {"12?4", "12?4", "21 4F"},
    };
    for (const Case& c : cases) {
        Models m(TestImages::firmware200());
        ExtensionPageFields fields = m.extensions.showSelected();
        fields.pin = c.typed;
        m.extensions.storeSelected(fields);
        EXPECT_EQ(m.extensions.pin(0), c.shown) << c.typed.toStdString();
        EXPECT_EQ(TestImages::hex(m.image, TestImages::record(m.image, 0) + 5, 2), c.bytes) << c.typed.toStdString();
    }
}

TEST(ExtensionConfig, CallWaitingListOfAnExtension)
{
    Models m(TestImages::firmware200());
    m.extensions.showSelected();
    EXPECT_EQ(m.extensions.waitingList(), (QStringList{"1MSN 1  (701)", "1MSN 3  (12345)", "1Nebenstelle 22",
                                                       "1Nebenstelle 23", "0Nebenstelle 26", "0Nebenstelle 28"}));
    m.extensions.select(2, m.extensions.showSelected());
    EXPECT_EQ(m.extensions.waitingList(), (QStringList{"1MSN 2  (702)", "1Nebenstelle 21", "1Nebenstelle 22",
                                                       "0Nebenstelle 26", "0Nebenstelle 28"}));
}

TEST(ExtensionConfig, ClickingTheListFlipsOneBitAndMarksItsCell)
{
    Models m(TestImages::firmware200());
    m.extensions.showSelected();
    m.extensions.clickWaiting(1); // "1MSN 3  (12345)"
    m.extensions.clickWaiting(4); // "0Nebenstelle 26"
    EXPECT_EQ(m.extensions.waitingList().at(1), QStringLiteral("0MSN 3  (12345)"));
    EXPECT_EQ(m.extensions.waitingList().at(4), QStringLiteral("1Nebenstelle 26"));
    EXPECT_EQ(m.extensions.msnWaiting(2, 0), (MarkedFlag{false, true}));
    EXPECT_EQ(m.extensions.extensionWaiting(5, 0), (MarkedFlag{true, true}));
    EXPECT_EQ(m.extensions.msnWaiting(0, 0), (MarkedFlag{true, false}));
    m.extensions.clickWaiting(99); // no such row
    m.extensions.storeSelected(m.extensions.showSelected());
    EXPECT_EQ(TestImages::hex(m.image, TestImages::record(m.image, 0) + 18, 3), "26 00 01");
}

TEST(ExtensionConfig, MsnTenIsNotTakenForMsnOne)
{
    ConfigImage image = TestImages::firmware200();
    image[7 + 45] = 0x19; // MSN10 "91"
    image[93] = 0x01;     // rings at 21
    Models m(image);
    m.extensions.showSelected();
    ASSERT_EQ(m.extensions.waitingList().at(2), QStringLiteral("0MSN 10  (91)"));
    m.extensions.clickWaiting(2);
    EXPECT_EQ(m.extensions.settings(0).msnMask, 0x0205);
}

TEST(ExtensionConfig, ServicesWithoutCallWaitingLoseTheirBits)
{
    for (const int service : {1, 2, 3}) {
        ConfigImage image = TestImages::firmware200();
        const int r = TestImages::record(image, 0);
        image[r + 2] = static_cast<std::uint8_t>(service);
        Models m(image);
        m.extensions.showSelected();
        EXPECT_TRUE(m.extensions.waitingList().isEmpty()) << service;
        EXPECT_FALSE(m.extensions.msnWaiting(0, 0).set) << service;
        m.extensions.storeSelected(m.extensions.showSelected());
        EXPECT_EQ(TestImages::hex(m.image, r + 18, 3), "00 00 00") << service;
    }
}

TEST(ExtensionConfig, DecodeClearsBitsOfMsnsWithoutANumber)
{
    ConfigImage image = TestImages::firmware200();
    const int r = TestImages::record(image, 5);
    image[r + 19] = 0x02; // MSN10, which has no number
    image[r + 20] = 0x14; // MSN 3 and MSN 5 (no number)
    Models m(image);
    EXPECT_EQ(m.extensions.settings(5).msnMask, 0x0004);
    EXPECT_TRUE(m.extensions.msnWaiting(2, 5).set);
    EXPECT_FALSE(m.extensions.msnWaiting(4, 5).set);
}

TEST(ExtensionConfig, ChoicesAndOverviewMarks)
{
    EXPECT_EQ(ConfigChoices::permissions(), (QStringList{"Vollamt", "Inland", "Ortsgespräch", "Ankommend", "Keine"}));
    EXPECT_EQ(ConfigChoices::services(),
              (QStringList{"Telefon", "Fax G3", "Daten", "T-Online", "Anrufbeantworter", "Kombidienst"}));
    EXPECT_EQ(ConfigChoices::forwardingModes().size(), 10);
    EXPECT_EQ(ConfigChoices::forwardingModes().at(4), QStringLiteral("nach fünf Rufen"));
    EXPECT_EQ(ConfigChoices::extensions(3, {"Küche", "", "Büro"}), (QStringList{"21 - Küche", "22", "23 - Büro"}));

    Models m(TestImages::firmware200());
    ExtensionPageFields fields = m.extensions.showSelected();
    fields.permission = 4;
    fields.chargePulse = true;
    fields.units = QStringLiteral("300");
    m.extensions.storeSelected(fields);
    const int r = TestImages::record(m.image, 0);
    EXPECT_EQ(m.image[r + 1], 4);
    EXPECT_EQ(m.image[r + 4], 1);
    EXPECT_EQ(m.extensions.permission(0), (MarkedText{QStringLiteral("Keine"), true}));
    EXPECT_FALSE(m.extensions.service(0).changed);
    EXPECT_TRUE(m.extensions.chargePulse(0));
    EXPECT_EQ(TestImages::hex(m.image, 801, 2), "2C 01");
    EXPECT_TRUE(m.extensions.unitsChanged(0));
    fields.units = QStringLiteral("70000");
    m.extensions.storeSelected(fields);
    EXPECT_EQ(m.extensions.units(0), 300);
    m.base.decode();
    m.extensions.decode();
    EXPECT_FALSE(m.extensions.permission(0).changed);
    EXPECT_FALSE(m.extensions.unitsChanged(0));
}

TEST(ExtensionConfig, NothingBeyondTheCount)
{
    Models m(TestImages::firmware193());
    EXPECT_EQ(m.extensions.permission(3).text, QString());
    EXPECT_FALSE(m.extensions.chargePulse(3));
    EXPECT_FALSE(m.extensions.extensionWaiting(3, 0).set);
    const ConfigImage before = m.image;
    m.extensions.select(5, m.extensions.showSelected());
    EXPECT_EQ(m.extensions.selectedExtension(), 0);
    EXPECT_EQ(m.image, before);
}

// Decoding and storing every MSN and extension without edits reproduces the image.
TEST(RoundTrip, UneditedPagesReproduceTheImage)
{
    for (const ConfigImage& original :
         {TestImages::firmware193(), TestImages::firmware198(), TestImages::firmware200(), TestImages::make(2, 0, 3)}) {
        Models m(original);
        MsnPageFields msn = m.base.showSelected();
        for (int k = 1; k < 10; ++k)
            msn = m.base.select(k, msn);
        m.base.storeSelected(msn);
        ExtensionPageFields ext = m.extensions.showSelected();
        for (int g = 1; g < m.extensions.extensionCount(); ++g)
            ext = m.extensions.select(g, ext);
        m.extensions.storeSelected(ext);
        for (int i = 0; i < ConfigImage::Size; ++i)
            ASSERT_EQ(m.image[i], original[i]) << "byte " << i << " firmware " << original[4] * 100 + original[5];
    }
}

} // namespace
