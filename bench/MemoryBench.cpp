// Resident size of the desktop program on the simulated exchange: `winkavex --simulate` (offscreen)
// after its first complete read, and again after 1,000 incoming calls offered one after another by
// the simulated CAPI controller, each logged, listed and hung up before the next. Before it, the
// headless service (`winkavex --headless --simulate`) after its first read, for the small machine
// next to the exchange. Run it from a Release build: bench_memory [CALLS]

#include "BenchReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

// One command to the simulated controller, as kavex-capi-sim sends it; its answer line.
QByteArray tellController(const QString& socket, const QByteArray& line)
{
    QLocalSocket client;
    client.connectToServer(socket);
    if (!client.waitForConnected(5000))
        return {};
    client.write(line + '\n');
    client.waitForBytesWritten(5000);
    while (!client.canReadLine() && client.waitForReadyRead(5000)) {
    }
    return client.readLine().trimmed();
}

qint64 sizeOf(const QString& path)
{
    return QFileInfo(path).size();
}

// Polls until `done` or the time is up.
template <typename F> bool waitUntil(int timeoutMs, F&& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QThread::msleep(5);
    }
    return true;
}

// The service's first read ends with the charge reading's history line; its size a second later.
double headlessRss(const QProcessEnvironment& env, const QString& programDir)
{
    QDir().mkpath(programDir);
    QProcess service;
    service.setProcessEnvironment(env);
    service.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/winkavex-headless"));
    service.setArguments({QStringLiteral("--simulate"), QStringLiteral("--dir"), programDir});
    service.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    service.setStandardErrorFile(QProcess::nullDevice());
    service.start();
    if (!service.waitForStarted(10000)) {
        std::fprintf(stderr, "bench_memory: winkavex-headless does not start\n");
        return -1;
    }
    const QString history = programDir + QStringLiteral("/WinKavex.dat");
    double rss = -1;
    if (waitUntil(60000, [&] { return sizeOf(history) > 0; })) {
        QThread::msleep(1000);
        rss = Bench::rssMbOf(static_cast<pid_t>(service.processId()));
        std::printf("winkavex --headless --simulate: %.1f MB resident after the first read\n", rss);
    } else {
        std::fprintf(stderr, "bench_memory: the service's first read did not complete\n");
    }
    service.terminate();
    if (!service.waitForFinished(10000))
        service.kill();
    return rss;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int calls = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    QTemporaryDir temp;
    const QString programDir = temp.filePath(QStringLiteral("program"));
    const QString socket = temp.filePath(QStringLiteral("capi.sock"));
    QDir().mkpath(programDir);
    QDir().mkpath(temp.filePath(QStringLiteral("run")));
    QFile::setPermissions(temp.filePath(QStringLiteral("run")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), temp.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), temp.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), temp.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("KAVEX_CAPI_SIM_SOCKET"), socket);
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));

    const double headless = headlessRss(env, temp.filePath(QStringLiteral("service")));

    QProcess program;
    program.setProcessEnvironment(env);
    program.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/winkavex"));
    program.setArguments({QStringLiteral("--simulate"), QStringLiteral("--dir"), programDir});
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start();
    if (!program.waitForStarted(10000)) {
        std::fprintf(stderr, "bench_memory: winkavex does not start\n");
        return 1;
    }
    const auto pid = static_cast<pid_t>(program.processId());
    // The demo saves the exchange's configuration once the first read is complete.
    const QString demoFile = programDir + QStringLiteral("/Demo.KVX");
    if (!waitUntil(60000, [&] { return QFileInfo::exists(demoFile); })) {
        std::fprintf(stderr, "bench_memory: the first read did not complete\n");
        program.kill();
        return 1;
    }
    QThread::msleep(1000);
    const double afterRead = Bench::rssMbOf(pid);
    std::printf("winkavex --simulate: %.1f MB resident after the first read\n", afterRead);

    const QString log = programDir + QStringLiteral("/WinKavex.in");
    static const char* const callers[] = {"0301234567",    "08912345678", "022198765",  "017012345678",
                                          "0033142278000", "04055667788", "07111234567"};
    double afterTenth = 0;
    int logged = 0;
    const double start = Bench::monotonicSeconds();
    for (int i = 0; i < calls; ++i) {
        const qint64 before = sizeOf(log);
        const QByteArray call = QByteArray("call ") + callers[i % std::size(callers)] + " 4711 --ring 5";
        if (!tellController(socket, call).startsWith("ok")) {
            std::fprintf(stderr, "bench_memory: the simulated controller refused call %d\n", i + 1);
            break;
        }
        logged += waitUntil(10000, [&] { return sizeOf(log) > before; }) ? 1 : 0;
        tellController(socket, "hangup");
        if (i + 1 == calls / 10)
            afterTenth = Bench::rssMbOf(pid);
    }
    const double callSeconds = Bench::monotonicSeconds() - start;
    QThread::msleep(1000);
    const double afterCalls = Bench::rssMbOf(pid);
    std::printf("  %d calls offered, %d logged in %.1f s; %.1f MB after %d calls, %.1f MB after %d\n", calls, logged,
                callSeconds, afterTenth, calls / 10, afterCalls, calls);
    program.terminate();
    if (!program.waitForFinished(10000))
        program.kill();
    bool ok = Bench::budget("winkavex-rss-after-first-read", afterRead, 80, "MB");
    ok = headless >= 0 && Bench::budget("winkavex-headless-rss-after-first-read", headless, 30, "MB") && ok;
    ok = Bench::budget("winkavex-rss-growth-1000-calls", afterCalls - afterRead, 5, "MB") && ok;
    if (logged != calls)
        std::printf("  not every call was logged: the growth does not cover %d calls\n", calls);
    return ok && logged == calls ? 0 : 1;
}
