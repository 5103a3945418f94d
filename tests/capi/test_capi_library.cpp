#include "CapiSimHarness.h"
#include "MockClock.h"
#include "capi/CapiInfoLines.h"
#include "capi/CapiLibrary.h"
#include "capi/TCapiAnrufMonitor.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

struct Outcome
{
    bool started;
    int error;
    QString errorString;
    int state;
    CapiInfoLines lines;
};

Outcome startListening(CapiLibrary& library)
{
    MockClock clock;
    TCapiAnrufMonitor monitor(clock, library);
    int stateChanges = 0;
    QObject::connect(&monitor, &TCapiAnrufMonitor::stateChange, [&stateChanges] { ++stateChanges; });
    const bool started = monitor.StartListen(1, 32767);
    EXPECT_EQ(monitor.listening(), started);
    if (!started) {
        EXPECT_EQ(stateChanges, 0) << "a monitor that could not register says nothing";
    }
    return {started, monitor.Error(), monitor.ErrorString(), library.state(), capiInfoLines(library)};
}

void expectUnusable(const CapiInfoLines& lines, const char* manufacturer)
{
    EXPECT_EQ(lines.manufacturer, QString::fromUtf8(manufacturer));
    EXPECT_EQ(lines.version, QStringLiteral("??.??"));
    EXPECT_TRUE(lines.red);
}

} // namespace

TEST(CapiLibrary, BeforeTheMonitorStartsNothingCanBeTold)
{
    CapiSim sim;
    const CapiLibrary library(CapiSim::libraryPath());
    EXPECT_EQ(library.state(), CapiLibrary::NotLoaded);
    expectUnusable(capiInfoLines(library), "nicht ermittelbar");
}

TEST(CapiLibrary, WithoutALibraryOrItsEntryPointsTheStateIsNotFound)
{
    CapiSim sim;
    for (const char* file : {"/nonexistent/libcapi20.so.3", "libm.so.6"}) {
        CapiLibrary library(QString::fromLatin1(file));
        const Outcome o = startListening(library);
        EXPECT_FALSE(o.started) << file;
        EXPECT_EQ(o.state, CapiLibrary::NotFound) << file;
        EXPECT_EQ(o.error, 102) << file;
        EXPECT_EQ(o.errorString, QStringLiteral("Datei \"libcapi20.so.3\" nicht gefunden.")) << file;
        expectUnusable(o.lines, "libcapi20.so.3 nicht gefunden");
    }
}

TEST(CapiLibrary, ACapiThatReportsItselfNotInstalledGivesState3)
{
    CapiSim sim;
    qputenv("KAVEX_CAPI_SIM_NOT_INSTALLED", "1");
    CapiLibrary library(CapiSim::libraryPath());
    const Outcome o = startListening(library);
    EXPECT_FALSE(o.started);
    EXPECT_EQ(o.state, CapiLibrary::NotInstalled);
    EXPECT_EQ(o.error, 103);
    EXPECT_EQ(o.errorString, QStringLiteral("CAPI 2.0 (32 Bit) nicht installiert."));
    expectUnusable(o.lines, "CAPI nicht installiert");
}

// Debian's libcapi20 without an ISDN driver: loaded, but the CAPI is not installed.
TEST(CapiLibrary, TheSystemLibraryWithoutIsdnDriverGivesState3)
{
    if (QFile::exists(QStringLiteral("/dev/capi20")))
        GTEST_SKIP() << "an ISDN driver is present";
    CapiLibrary library(QStringLiteral("libcapi20.so.3"));
    if (library.load() == CapiLibrary::NotFound)
        GTEST_SKIP() << "libcapi20.so.3 (package libcapi20-3) is not installed";
    EXPECT_EQ(library.state(), CapiLibrary::NotInstalled);
    expectUnusable(capiInfoLines(library), "CAPI nicht installiert");
}

TEST(CapiLibrary, AFailedRegistrationLeavesTheLibraryUsableAndTellsWhy)
{
    CapiSim sim;
    qputenv("KAVEX_CAPI_SIM_REGISTER_ERROR", "0x1008");
    CapiLibrary library(CapiSim::libraryPath());
    const Outcome o = startListening(library);
    EXPECT_FALSE(o.started);
    EXPECT_EQ(o.error, 200 + 0x1008);
    EXPECT_EQ(o.errorString, QStringLiteral("OS Resource error (e.g. no memory) ($1008)"));
    EXPECT_EQ(o.state, CapiLibrary::Installed);
    EXPECT_EQ(o.lines.manufacturer, QStringLiteral("Kavex CAPI-Simulator"));
    EXPECT_EQ(o.lines.version, QStringLiteral("2.0   (Hersteller: 1.0)"));
    EXPECT_FALSE(o.lines.red);
}

// A controller that does not say who made it or which version it runs: the lines say that nothing
// can be told, not an empty maker and "0.0".
TEST(CapiLibrary, AControllerThatCannotTellItsMakerOrVersionShowsTheUnknownLines)
{
    CapiSim sim;
    qputenv("KAVEX_CAPI_SIM_NO_CONTROLLER_INFO", "1");
    CapiLibrary library(CapiSim::libraryPath());
    const Outcome o = startListening(library);
    qunsetenv("KAVEX_CAPI_SIM_NO_CONTROLLER_INFO");
    EXPECT_TRUE(o.started);
    EXPECT_EQ(o.state, CapiLibrary::Installed);
    expectUnusable(o.lines, "nicht ermittelbar");
}

TEST(CapiLibrary, TheEnvironmentNamesAnotherLibrary)
{
    qunsetenv("WINKAVEX_CAPI_LIBRARY");
    EXPECT_EQ(CapiLibrary::defaultFileName(), QStringLiteral("libcapi20.so.3"));
    qputenv("WINKAVEX_CAPI_LIBRARY", CapiSim::libraryPath().toLocal8Bit());
    EXPECT_EQ(CapiLibrary().fileName(), CapiSim::libraryPath());
    qunsetenv("WINKAVEX_CAPI_LIBRARY");
}
