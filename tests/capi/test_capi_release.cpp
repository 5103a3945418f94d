#include "CapiSimHarness.h"
#include "MockClock.h"
#include "capi/TCapiAnrufMonitor.h"

#include <QDir>
#include <QElapsedTimer>
#include <gtest/gtest.h>

// Ending the monitor releases the application and waits at most 41 × 100 ms for its receive
// thread. These run in real time, with wide margins.
namespace {

constexpr qint64 ReleaseWaitMs = 4100;
constexpr qint64 Margin = 3000;

struct Ending
{
    qint64 ms;
    QStringList notices;
};

// With a fault of the controller switched on (name and value of its environment variable).
Ending endListening(const char* fault = nullptr, const char* value = nullptr,
                    const std::function<void(CapiSim&)>& before = {})
{
    CapiSim sim;
    if (fault)
        qputenv(fault, value);
    MockClock clock;
    CapiLibrary library(CapiSim::libraryPath());
    auto monitor = std::make_unique<TCapiAnrufMonitor>(clock, library);
    Ending ending;
    QObject::connect(monitor.get(), &TCapiAnrufMonitor::notice,
                     [&ending](const QString& text) { ending.notices << text; });
    int stateChanges = 0;
    QObject::connect(monitor.get(), &TCapiAnrufMonitor::stateChange, [&stateChanges] { ++stateChanges; });
    EXPECT_TRUE(monitor->StartListen(1, 32767));
    // Once LISTEN_CONF is through, the receive thread waits in the library again.
    EXPECT_TRUE(waitFor([&stateChanges] { return stateChanges == 2; }));
    if (before)
        before(sim);
    QElapsedTimer timer;
    timer.start();
    monitor.reset();
    ending.ms = timer.elapsed();
    if (fault)
        qunsetenv(fault);
    return ending;
}

} // namespace

TEST(CapiRelease, TheReleaseWakesTheReceiveThreadAndTheEndIsPrompt)
{
    const Ending ending = endListening();
    EXPECT_LT(ending.ms, ReleaseWaitMs - 1000);
    EXPECT_TRUE(ending.notices.isEmpty());
}

// The call arrives while the main thread is busy; the thread waits to hand it over when the end comes.
TEST(CapiRelease, AMessageInTransitDoesNotHoldUpTheEnd)
{
    const Ending ending = endListening(nullptr, nullptr, [](CapiSim& sim) {
        EXPECT_EQ(sim.command({QStringLiteral("call"), QStringLiteral("02214711815"), QStringLiteral("8143210")}), 0);
        QThread::msleep(200);
    });
    EXPECT_LT(ending.ms, ReleaseWaitMs - 1000);
}

// As the system's library: the release closes the descriptor the thread waits on without waking
// it. The thread's short waits end it anyway, and it is joined, not left running.
TEST(CapiRelease, AReleaseThatWakesNoWaiterStillEndsPromptlyWithTheThreadJoined)
{
    const auto threads = [] {
        return QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
    };
    const qsizetype before = threads();
    const Ending ending = endListening("KAVEX_CAPI_SIM_SILENT_RELEASE", "1");
    EXPECT_LT(ending.ms, 1000);
    EXPECT_TRUE(ending.notices.isEmpty());
    EXPECT_EQ(threads(), before);
}

TEST(CapiRelease, AReceiveThreadThatNeverReturnsIsGivenUpAfter41Steps)
{
    const Ending ending = endListening("KAVEX_CAPI_SIM_HANG_ON_RELEASE", "1");
    EXPECT_GE(ending.ms, ReleaseWaitMs - 100);
    EXPECT_LT(ending.ms, ReleaseWaitMs + Margin);
    EXPECT_TRUE(ending.notices.isEmpty());
}

TEST(CapiRelease, AFailedReleaseIsReportedAndTheEndStillComes)
{
    const Ending ending = endListening("KAVEX_CAPI_SIM_RELEASE_ERROR", "0x1101");
    EXPECT_EQ(ending.notices,
              QStringList{QStringLiteral("Anwendung konnt nicht ordnungsgemäß abgemeldet werden. (illegal application "
                                         "number ($1101))")});
    EXPECT_LT(ending.ms, ReleaseWaitMs + Margin);
}
