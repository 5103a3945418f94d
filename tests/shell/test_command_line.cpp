#include "shell/CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct WordCase
{
    QStringList arguments;
    bool autoEnd;
    bool debug;
    bool startInTray;
};

class CommandLineWords : public testing::TestWithParam<WordCase>
{};

TEST_P(CommandLineWords, WordsInAnyCaseAndOrderSetTheirFlags)
{
    const WordCase& c = GetParam();
    const CommandLine line = CommandLine::parse(c.arguments);
    EXPECT_EQ(line.autoEnd, c.autoEnd);
    EXPECT_EQ(line.debug, c.debug);
    EXPECT_EQ(line.startInTray, c.startInTray);
    EXPECT_TRUE(line.error.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineWords,
    testing::Values(WordCase{{}, false, false, false}, WordCase{{"AUTOENDE"}, true, false, false},
                    WordCase{{"autoende"}, true, false, false}, WordCase{{"AutoEnde"}, true, false, false},
                    WordCase{{"icon", "Debug"}, false, true, true},
                    WordCase{{"ICON", "AUTOENDE", "ICON"}, true, false, true},
                    // Compared whole: neither prefixes nor longer words count; unknown words are ignored.
                    WordCase{{"AUTO", "AUTOENDEN", "ICONS", "xyz"}, false, false, false},
                    WordCase{{"/ICON", "-DEBUG"}, false, false, false}));

TEST(CommandLine, OptionsTakeTheirValueSeparateOrAfterAnEqualsSign)
{
    const CommandLine line = CommandLine::parse({"--port", "/dev/ttyUSB0", "ICON", "--dir=/tmp/kavex", "--screenshots",
                                                 "/tmp/shots", "--help-pages=/tmp/help"});
    EXPECT_TRUE(line.error.isEmpty());
    EXPECT_EQ(line.portDevice, "/dev/ttyUSB0");
    EXPECT_EQ(line.dir, "/tmp/kavex");
    EXPECT_EQ(line.screenshotsDir, "/tmp/shots");
    EXPECT_EQ(line.helpPagesDir, "/tmp/help");
    EXPECT_FALSE(line.simulate);
    EXPECT_TRUE(line.startInTray);
    EXPECT_TRUE(CommandLine::parse({"--simulate", "--dir", "/tmp/kavex"}).simulate);
}

// The demo's wake-up calls and daily writes must never reach a real exchange.
TEST(CommandLine, SimulateWithAPortIsRefused)
{
    for (const QStringList& args :
         {QStringList{"--simulate", "--port", "/dev/null"}, {"--port=/dev/ttyUSB0", "--simulate"}})
        EXPECT_TRUE(CommandLine::parse(args).error.contains(QStringLiteral("--simulate")))
            << args.join(' ').toStdString();
}

TEST(CommandLine, AnOptionValueIsNeverTakenForAWord)
{
    const CommandLine line = CommandLine::parse({"--dir", "ICON"});
    EXPECT_EQ(line.dir, "ICON");
    EXPECT_FALSE(line.startInTray);
}

TEST(CommandLine, AnOptionWithoutItsValueIsAUsageError)
{
    EXPECT_FALSE(CommandLine::parse({"--port"}).error.isEmpty());
    EXPECT_FALSE(CommandLine::parse({"--dir="}).error.isEmpty());
    EXPECT_FALSE(CommandLine::parse({"ICON", "--screenshots"}).error.isEmpty());
}

} // namespace

// An argument the locale cannot decode would name another path once decoded: it is found, so
// that the program refuses it; text that decodes is left alone.
TEST(CommandLine, AnArgumentThatDoesNotDecodeIsFound)
{
    const char* valid[] = {"winkavex", "--dir", "/tmp/Geb\xc3\xbchren"};
    const char* invalid[] = {"winkavex", "--dir", "/tmp/Geb\xfchren", "--port", "/dev/ttyS0"};
    EXPECT_FALSE(CommandLine::undecodable(3, valid).has_value());
    EXPECT_EQ(CommandLine::undecodable(5, invalid), QByteArray("/tmp/Geb\xfchren"));
}
