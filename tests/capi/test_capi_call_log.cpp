#include "CapiSimHarness.h"
#include "FakeTransport.h"
#include "MockClock.h"
#include "capi/TCapiAnrufMonitor.h"
#include "charges/IncomingCallLog.h"
#include "shell/AppCore.h"
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

} // namespace

// From the simulated controller to "WinKavex.in": the program's own start of the monitor, the
// caller's prefix by the type of number, the area-code library, a withheld number.
TEST(CapiCallLog, CallsFromTheControllerReachTheLog)
{
    CapiSim sim;
    qputenv("WINKAVEX_CAPI_LIBRARY", CapiSim::libraryPath().toLocal8Bit());
    QTemporaryDir dir;
    MockClock clock(QDateTime(QDate(2026, 12, 9), QTime(9, 30, 0)));
    AppCore::Options options;
    options.programDir = dir.path();
    options.configHome = dir.filePath(QStringLiteral("config"));
    options.clock = &clock;
    options.transport = std::make_unique<FakeTransport>(clock);
    AppCore core(std::move(options), CommandLine());
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
