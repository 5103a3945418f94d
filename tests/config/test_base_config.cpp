#include "TestImages.h"

#include "config/BaseConfig.h"
#include "config/ConfigChoices.h"
#include "config/PackedDigits.h"

#include <gtest/gtest.h>

namespace {

ConfigImage withNumberBytes(std::initializer_list<int> bytes)
{
    ConfigImage image = TestImages::firmware200();
    int at = 7;
    for (const int b : bytes)
        image[at++] = static_cast<std::uint8_t>(b);
    return image;
}

TEST(BaseCodec, NumbersDropFillersWhereverTheyStand)
{
    struct Case
    {
        std::initializer_list<int> bytes;
        QString number;
    };
    const Case cases[] = {
        {{0x07, 0xF1, 0xFF, 0xFF, 0xFF}, QStringLiteral("701")},
        {{0xF7, 0x0F, 0xF1, 0xFF, 0xFF}, QStringLiteral("701")},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, QString()},
        {{0x10, 0x32, 0x54, 0x76, 0x98}, QStringLiteral("0123456789")},
        {{0xA1, 0xFF, 0xFF, 0xFF, 0xFF}, QStringLiteral("1:")},
    };
    for (const Case& c : cases) {
        const BaseSettings s = BaseCodec::decode(withNumberBytes(c.bytes));
        EXPECT_EQ(s.numbers[0], c.number);
    }
}

TEST(BaseCodec, NumbersPackLowNibbleFirstWithFillers)
{
    struct Case
    {
        QString typed;
        QByteArray bytes;
    };
    const Case cases[] = {
        {QStringLiteral("12345"), "21 43 F5 FF FF"},
        {QStringLiteral("701"), "07 F1 FF FF FF"},
        {QString(), "FF FF FF FF FF"},
        {QStringLiteral("7 1"), "07 F1 FF FF FF"},          // a blank is stored as 0
        {QStringLiteral("012345678901"), "10 32 54 76 98"}, // cut to ten digits
        {QStringLiteral("7a1"), "F7 F1 FF FF FF"},          // a letter never spills into a neighbour
    };
    for (const Case& c : cases) {
        ConfigImage image = TestImages::firmware200();
        BaseCodec::storeNumber(image, 2, c.typed);
        EXPECT_EQ(TestImages::hex(image, 17, 5), c.bytes) << c.typed.toStdString();
        EXPECT_EQ(TestImages::hex(image, 12, 5), "07 F2 FF FF FF"); // the neighbour stays
    }
}

TEST(BaseCodec, ValueTextsComeFromTheMessageTable)
{
    EXPECT_EQ(BaseCodec::protocolText(0), QStringLiteral("1TR6"));
    EXPECT_EQ(BaseCodec::protocolText(1), QStringLiteral("DSS1"));
    EXPECT_EQ(BaseCodec::protocolText(2), QString());
    EXPECT_EQ(BaseCodec::connectionText(0), QStringLiteral("Mehrgeräteanschluß"));
    EXPECT_EQ(BaseCodec::connectionText(1), QStringLiteral("Anlagenanschluß"));
    EXPECT_EQ(BaseCodec::musicOnHoldText(true), QStringLiteral("Ja"));
    EXPECT_EQ(BaseCodec::musicOnHoldText(false), QStringLiteral("Nein"));
    EXPECT_EQ(BaseCodec::messageOnHoldText(false, 2), QStringLiteral("Anschluß 22"));
    EXPECT_EQ(BaseCodec::messageOnHoldText(true, 2), QStringLiteral("Nein"));
    EXPECT_EQ(BaseCodec::messageOnHoldText(false, 0), QStringLiteral("Nein"));
    EXPECT_EQ(BaseCodec::firmwareText(1, 93), QStringLiteral("1.93"));
    EXPECT_EQ(BaseCodec::firmwareText(2, 0), QStringLiteral("2.0"));
    const QStringList rhythms{"Standard", "Rhythmus 1", "Rhythmus 2", "Keiner", "Rhythmus 3"};
    for (int v = 0; v < 5; ++v)
        EXPECT_EQ(BaseCodec::rhythmText(200, true, v), rhythms[v]);
    EXPECT_EQ(BaseCodec::rhythmText(200, true, 5), QString());
    EXPECT_EQ(BaseCodec::rhythmText(200, false, 1), QString());
    EXPECT_EQ(BaseCodec::rhythmText(195, true, 1), QStringLiteral("n.v."));
}

TEST(BaseConfig, DecodesTheOverview)
{
    ConfigImage image = TestImages::firmware200();
    BaseConfig base(image);
    EXPECT_EQ(base.protocolText(), QStringLiteral("DSS1"));
    EXPECT_EQ(base.connectionText(), QStringLiteral("Anlagenanschluß"));
    EXPECT_EQ(base.extensionCountText(), QStringLiteral("8"));
    EXPECT_EQ(base.firmwareVersion(), 200);
    EXPECT_EQ(base.musicOnHold(), (MarkedText{QStringLiteral("Nein"), false}));
    EXPECT_EQ(base.messageOnHold(), (MarkedText{QStringLiteral("Anschluß 22"), false}));
    EXPECT_EQ(base.msnNumber(3).text, QStringLiteral("0301234567"));
    EXPECT_EQ(base.msnRhythm(1).text, QStringLiteral("Rhythmus 1"));
    EXPECT_EQ(base.msnRhythm(4).text, QString()); // no number, no rhythm
    EXPECT_TRUE(base.assignment(0, 1).set);
    EXPECT_FALSE(base.assignment(0, 2).set);
    EXPECT_TRUE(base.assignment(3, 7).set);
}

TEST(BaseConfig, FirmwareGates)
{
    struct Case
    {
        int major, minor;
        bool supported, callWaiting, rhythms;
        int recordLength;
    };
    const Case cases[] = {
        {1, 92, false, false, false, 24}, {1, 93, true, false, false, 24}, {1, 95, true, true, false, 24},
        {1, 98, true, true, false, 24},   {2, 0, true, true, true, 27},    {2, 10, true, true, true, 27},
    };
    for (const Case& c : cases) {
        ConfigImage image = TestImages::make(c.major, c.minor, 8);
        BaseConfig base(image);
        EXPECT_EQ(base.firmwareSupported(), c.supported) << c.major << "." << c.minor;
        EXPECT_EQ(base.callWaitingEditable(), c.callWaiting) << c.major << "." << c.minor;
        EXPECT_EQ(base.rhythmsEditable(), c.rhythms) << c.major << "." << c.minor;
        EXPECT_EQ(base.speedDialsAvailable(), c.rhythms) << c.major << "." << c.minor;
        EXPECT_EQ(base.extensionRecordLength(), c.recordLength) << c.major << "." << c.minor;
    }
}

TEST(BaseConfig, OldFirmwareShowsNvAndLeavesTheRhythmAlone)
{
    ConfigImage image = TestImages::make(1, 95, 8);
    BaseConfig base(image);
    for (int m = 0; m < 4; ++m)
        EXPECT_EQ(base.msnRhythm(m).text, QStringLiteral("n.v.")) << m;
    EXPECT_EQ(base.msnRhythm(5).text, QString());
    MsnPageFields fields = base.showSelected();
    EXPECT_EQ(fields.rhythmChoice, -1);
    fields.rhythmChoice = 0; // a page that still sent a choice changes nothing
    base.storeSelected(fields);
    EXPECT_EQ(image[102], 0);
    base.select(3, fields);
    EXPECT_EQ(image[105], 3);
}

TEST(BaseConfig, HoldChoices)
{
    EXPECT_EQ(ConfigChoices::hold(3),
              (QStringList{"Intern (Musik)", "Aus", "Nebenstelle 21", "Nebenstelle 22", "Nebenstelle 23"}));
    EXPECT_EQ(ConfigChoices::hold(8).size(), 10);
    EXPECT_EQ(ConfigChoices::hold(8).last(), QStringLiteral("Nebenstelle 28"));
    EXPECT_EQ(ConfigChoices::msns().first(), QStringLiteral("MSN 1"));
    EXPECT_EQ(ConfigChoices::msns().last(), QStringLiteral("MSN10"));

    struct Case
    {
        int choice;
        int music, message; // bytes 57 and 94 after storing
        QString musicText, messageText;
    };
    // Before: byte 57 = 0, byte 94 = 2 ("Anschluß 22").
    const Case cases[] = {
        {0, 1, 2, "Ja", "Nein"},                                              // music leaves byte 94 as it was
        {1, 0, 0, "Nein", "Nein"},                                            // "Aus"
        {2, 0, 1, "Nein", "Anschluß 21"},                                     // "Nebenstelle 21"
        {3, 0, 2, "Nein", "Anschluß 22"},                                     // unchanged
        {9, 0, 8, "Nein", "Anschluß 28"},  {10, 0, 2, "Nein", "Anschluß 22"}, // outside the list: nothing changes
        {-1, 0, 2, "Nein", "Anschluß 22"},
    };
    for (const Case& c : cases) {
        ConfigImage image = TestImages::firmware200();
        BaseConfig base(image);
        MsnPageFields fields = base.showSelected();
        EXPECT_EQ(fields.holdChoice, 3);
        fields.holdChoice = c.choice;
        base.storeSelected(fields);
        EXPECT_EQ(image[57], c.music) << c.choice;
        EXPECT_EQ(image[94], c.message) << c.choice;
        EXPECT_EQ(base.musicOnHold().text, c.musicText) << c.choice;
        EXPECT_EQ(base.musicOnHold().changed, c.music != 0) << c.choice;
        EXPECT_EQ(base.messageOnHold().text, c.messageText) << c.choice;
        EXPECT_EQ(base.messageOnHold().changed, c.music != 0 || c.message != 2) << c.choice;
        EXPECT_EQ(base.showSelected().holdChoice, c.music ? 0 : c.message + 1) << c.choice;
    }
}

TEST(BaseConfig, RhythmChoiceOrder)
{
    EXPECT_EQ(ConfigChoices::rhythms(), (QStringList{"Keiner", "Standard", "Rhytmus 1", "Rhytmus 2", "Rhytmus 3"}));
    const int bytes[] = {3, 0, 1, 2, 4};
    for (int choice = 0; choice < 5; ++choice) {
        ConfigImage image = TestImages::firmware200();
        BaseConfig base(image);
        MsnPageFields fields = base.showSelected();
        fields.rhythmChoice = choice;
        base.storeSelected(fields);
        EXPECT_EQ(image[102], bytes[choice]) << choice;
        EXPECT_EQ(base.showSelected().rhythmChoice, choice);
        EXPECT_EQ(base.msnRhythm(0).changed, bytes[choice] != 0) << choice;
    }
}

TEST(BaseConfig, CountThreeLimitsHoldAndAssignment)
{
    ConfigImage image = TestImages::firmware193();
    BaseConfig base(image);
    EXPECT_EQ(ConfigChoices::hold(base.extensionCount()).size(), 5);
    MsnPageFields fields = base.showSelected();
    fields.assigned.fill(true);
    base.storeSelected(fields);
    EXPECT_EQ(image[84], 0x07); // only the three extensions there are
    EXPECT_TRUE(base.assignment(0, 2).set);
    EXPECT_FALSE(base.assignment(0, 3).set);
    EXPECT_FALSE(base.assignment(0, 3).changed);
}

TEST(BaseConfig, ChangeMarksUntilTheNextDecode)
{
    ConfigImage image = TestImages::firmware200();
    BaseConfig base(image);
    MsnPageFields fields = base.select(1, base.showSelected());
    fields.number = QStringLiteral("7020");
    fields.rhythmChoice = 0; // "Keiner" -> 3 (was 1)
    fields.assigned[2] = false;
    fields.assigned[4] = true;
    base.select(0, fields);
    EXPECT_EQ(base.msnNumber(1), (MarkedText{QStringLiteral("7020"), true}));
    EXPECT_EQ(base.msnRhythm(1), (MarkedText{QStringLiteral("Keiner"), true}));
    EXPECT_EQ(base.assignment(1, 2), (MarkedFlag{false, true}));
    EXPECT_EQ(base.assignment(1, 4), (MarkedFlag{true, true}));
    EXPECT_EQ(base.assignment(1, 3), (MarkedFlag{false, false}));
    EXPECT_EQ(base.msnNumber(0).changed, false);
    EXPECT_EQ(TestImages::hex(image, 12, 5), "07 02 FF FF FF");
    EXPECT_EQ(image[85], 0x10);

    base.decode();
    EXPECT_EQ(base.msnNumber(1), (MarkedText{QStringLiteral("7020"), false}));
    EXPECT_EQ(base.assignment(1, 4), (MarkedFlag{true, false}));
    EXPECT_EQ(base.selectedMsn(), 0);
}

TEST(BaseConfig, EmptyingANumberClearsItsRhythmAndANewNumberGetsItBack)
{
    ConfigImage image = TestImages::firmware200();
    BaseConfig base(image);
    MsnPageFields fields = base.showSelected();
    fields.number.clear();
    base.storeSelected(fields);
    EXPECT_EQ(base.msnRhythm(0).text, QString());
    EXPECT_EQ(TestImages::hex(image, 7, 5), "FF FF FF FF FF");
    fields.number = QStringLiteral("9");
    base.storeSelected(fields);
    EXPECT_EQ(base.msnRhythm(0).text, QStringLiteral("Standard"));
}

TEST(BaseConfig, WatchFlagIsWrittenForTheSelectedMsn)
{
    ConfigImage image = TestImages::firmware200();
    BaseConfig base(image);
    QList<std::pair<int, bool>> written;
    base.setWatchWriter([&written](int m, bool on) { written.append({m, on}); });
    MsnPageFields fields = base.select(4, base.showSelected());
    fields.watched = false;
    base.select(5, fields);
    EXPECT_EQ(written, (QList<std::pair<int, bool>>{{0, true}, {4, false}}));
    EXPECT_FALSE(base.watched(4));
    EXPECT_TRUE(base.watched(5));
    EXPECT_FALSE(base.select(4, base.showSelected()).watched);
}

} // namespace
