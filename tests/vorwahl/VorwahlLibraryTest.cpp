#include "shell/VorwahlLibrary.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString builtLibrary()
{
    return QDir(qEnvironmentVariable("KAVEX_BIN_DIR")).filePath(QStringLiteral("libvorwahl.so"));
}

void expectNothing(const VorwahlLibrary& library)
{
    EXPECT_FALSE(library.lookup(QStringLiteral("0301234567")).has_value());
    EXPECT_FALSE(library.version().has_value());
    EXPECT_EQ(library.versionLine(), QString());
}

} // namespace

TEST(VorwahlLibrary, LooksUpThroughTheBuiltLibraryInUnicode)
{
    VorwahlLibrary library;
    ASSERT_TRUE(library.load(builtLibrary()));
    EXPECT_TRUE(library.isLoaded());

    const auto carrier = library.lookup(QStringLiteral("0101908912345"));
    ASSERT_TRUE(carrier.has_value());
    EXPECT_EQ(carrier->formatted, QStringLiteral("(089) 12345"));
    EXPECT_EQ(carrier->place, QStringLiteral("[München (Mobilcom)]"));

    const auto nested = library.lookup(QStringLiteral("03303912"));
    ASSERT_TRUE(nested.has_value());
    EXPECT_EQ(nested->formatted, QStringLiteral("(033039) 12"));
    EXPECT_EQ(nested->place, QStringLiteral("[Groß Behnitz]"));

    // Characters outside Windows-1252 reach the library as '?', and a number too long for a short
    // string is cut to 255 characters rather than overflowing its length byte.
    const auto foreign = library.lookup(QStringLiteral("12ł4"));
    ASSERT_TRUE(foreign.has_value());
    EXPECT_EQ(foreign->formatted, QStringLiteral("12?4"));
    const auto tooLong = library.lookup(QString(300, QLatin1Char('7')));
    ASSERT_TRUE(tooLong.has_value());
    EXPECT_EQ(tooLong->formatted, QString(255, QLatin1Char('7')));
    EXPECT_EQ(tooLong->place, QString());
}

TEST(VorwahlLibrary, BuildsTheVersionLineOfTheInformationPage)
{
    VorwahlLibrary library;
    ASSERT_TRUE(library.load(builtLibrary()));
    const auto version = library.version();
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(version->version, QStringLiteral("1.10"));
    EXPECT_EQ(version->date, QStringLiteral("18. Dezember 1998"));
    EXPECT_EQ(library.versionLine(), QStringLiteral("Vorwahl-Umsetzung Version 1.10 vom 18. Dezember 1998"));

    library.unload();
    EXPECT_FALSE(library.isLoaded());
    expectNothing(library);
}

// The test programs sit beside the library, as the program does.
TEST(VorwahlLibrary, FindsTheLibraryBesideTheExecutable)
{
    VorwahlLibrary library;
    ASSERT_TRUE(library.load());
    EXPECT_EQ(QFileInfo(library.fileName()).canonicalFilePath(), QFileInfo(builtLibrary()).canonicalFilePath());
    EXPECT_TRUE(library.lookup(QStringLiteral("0221")).has_value());
}

TEST(VorwahlLibrary, MissingLibraryYieldsNothing)
{
    QTemporaryDir dir;
    VorwahlLibrary library;
    EXPECT_FALSE(library.load(dir.filePath(QStringLiteral("libvorwahl.so"))));
    EXPECT_FALSE(library.isLoaded());
    expectNothing(library);

    // A file that is no library at all.
    QFile junk(dir.filePath(QStringLiteral("junk.so")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a shared object");
    junk.close();
    EXPECT_FALSE(library.load(junk.fileName()));
    expectNothing(library);
}

// A library that loads but lacks the entry points leaves both absent.
TEST(VorwahlLibrary, LoadedLibraryWithoutEntryPointsYieldsNothing)
{
    VorwahlLibrary library;
    ASSERT_TRUE(library.load(QStringLiteral("libm.so.6")));
    EXPECT_TRUE(library.isLoaded());
    expectNothing(library);
}
