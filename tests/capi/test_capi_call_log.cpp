#include "CapiSimHarness.h"
#include "FakeTransport.h"
#include "MockClock.h"
#include "capi/TCapiAnrufMonitor.h"
#include "charges/IncomingCallLog.h"
#include "shell/AppCore.h"
#include "shell/CallBlocking.h"
#include "shell/VorwahlLibrary.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The program's core on a fake port in virtual time, its files in `dir`.
AppCore::Options options(const QTemporaryDir& dir, MockClock& clock)
{
    AppCore::Options options;
    options.programDir = dir.path();
    options.configHome = dir.filePath(QStringLiteral("config"));
    options.clock = &clock;
    options.transport = std::make_unique<FakeTransport>(clock);
    return options;
}

} // namespace

// From the simulated controller to "WinKavex.in": the program's own start of the monitor, the
// caller's prefix by the type of number, the area-code library, a withheld number.
TEST(CapiCallLog, CallsFromTheControllerReachTheLog)
{
    CapiSim sim;
    qputenv("WINKAVEX_CAPI_LIBRARY", CapiSim::libraryPath().toLocal8Bit());
    QTemporaryDir dir;
    MockClock clock(QDateTime(QDate(2026, 12, 9), QTime(9, 30, 0)));
    AppCore core(options(dir, clock), CommandLine());
    ASSERT_TRUE(core.vorwahl().load(CapiSim::binDir() + QStringLiteral("/libvorwahl.so")));
    core.startCallMonitor();
    ASSERT_NE(core.callMonitor(), nullptr);
    ASSERT_TRUE(waitFor([&] { return core.callMonitor()->listening(); }));

    const QStringList calls[] = {
        {"call", "301234567", "8143210", "--type", "national"},
        {"call", "33142278000", "8143211", "--type", "international"},
        {"call", "-", "8143210"},
    };
    int expected = 0;
    for (const QStringList& call : calls) {
        ASSERT_EQ(sim.command(call), 0) << call.join(' ').toStdString();
        ++expected;
        ASSERT_TRUE(waitFor([&] { return core.incomingCalls().list().rowCount() == expected; }))
            << call.join(' ').toStdString();
        ASSERT_EQ(sim.command({"hangup"}), 0);
        // The controller holds one call at a time: the next one only once this one is cleared.
        ASSERT_TRUE(waitFor([&] { return sim.commands().count("0483") == expected; })) << sim.commands().toStdString();
        clock.advance(60'000);
    }
    const QByteArray log = fileBytes(dir.filePath(QStringLiteral("WinKavex.in")));
    const QList<QByteArray> lines = log.split('\n');
    ASSERT_EQ(lines.size(), 7) << log.toStdString(); // three header lines, three calls, the end
    EXPECT_EQ(lines[3].toStdString(),
              "09.12.2026 09:30:00   8143210          (030) 1234567                        [Berlin]\r");
    EXPECT_EQ(lines[4].toStdString(),
              QByteArray("09.12.2026 09:31:00   8143211          0033142278000").leftJustified(76).toStdString() +
                  "\r");
    EXPECT_EQ(lines[5].toStdString(),
              QByteArray("09.12.2026 09:32:00   8143210").leftJustified(76).toStdString() + "\r");
    qunsetenv("WINKAVEX_CAPI_LIBRARY");
}

// The block list from the controller's side: a number written with the country code, a prefix,
// a withheld caller with the option on and off, and an entry added to the file while the program
// runs. A blocked call is taken off (CONNECT_RESP 0283), every other one only alerted.
TEST(CapiCallLog, BlockedCallersAreTakenOffAndLoggedWithTheirNote)
{
    CapiSim sim;
    qputenv("WINKAVEX_CAPI_LIBRARY", CapiSim::libraryPath().toLocal8Bit());
    QTemporaryDir dir;
    MockClock clock(QDateTime(QDate(2026, 12, 9), QTime(9, 30, 0)));
    AppCore core(options(dir, clock), CommandLine());
    const QString listPath = dir.filePath(QStringLiteral("Sperrliste.txt"));
    {
        QFile file(listPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("# Werbeanrufe\n+49 30 1234567\tWerbung \xC3\xBC" "berall\n0900*\n");
    }
    core.callBlocking().setBlockWithheld(true);
    core.startCallMonitor();
    ASSERT_NE(core.callMonitor(), nullptr);
    ASSERT_TRUE(waitFor([&] { return core.callMonitor()->listening(); }));

    struct Case
    {
        QStringList call;
        bool blocked;
        const char* name;
        std::function<void()> before;
    };
    const Case cases[] = {
        {{"call", "301234567", "8143210", "--type", "national"}, true, "Werbung überall", {}},
        {{"call", "9001234567", "8143210", "--type", "national"}, true, "Gesperrt", {}},
        {{"call", "221998877", "8143210", "--type", "national"}, false, "", {}},
        {{"call", "-", "8143210"}, true, "Gesperrt", {}},
        {{"call", "-", "8143210"}, false, "", [&] { core.callBlocking().setBlockWithheld(false); }},
        {{"call", "221998877", "8143210", "--type", "national"},
         true,
         "Köln?",
         [&] {
             QFile file(listPath);
             ASSERT_TRUE(file.open(QIODevice::Append));
             file.write("0221*\tKöln?\n");
         }},
    };
    int rows = 0;
    int cleared = 0;
    int taken = 0;
    for (const Case& c : cases) {
        const std::string what = c.call.join(' ').toStdString();
        if (c.before)
            c.before();
        ASSERT_EQ(sim.command(c.call), 0) << what;
        ++rows;
        ASSERT_TRUE(waitFor([&] { return core.incomingCalls().list().rowCount() == rows; })) << what;
        if (c.blocked)
            ++taken;
        else
            ASSERT_EQ(sim.command({"hangup"}), 0);
        ++cleared;
        ASSERT_TRUE(waitFor([&] { return sim.commands().count("0483") == cleared; })) << sim.commands().toStdString();
        EXPECT_EQ(sim.commands().count("0283"), taken) << what;
        const QString name = core.incomingCalls().list().text(rows - 1, IncomingCallLog::NameColumn);
        if (c.blocked)
            EXPECT_EQ(name, QString::fromUtf8(c.name)) << what;
        else
            EXPECT_NE(name, QStringLiteral("Gesperrt")) << what;
        clock.advance(60'000);
    }
    qunsetenv("WINKAVEX_CAPI_LIBRARY");
}
