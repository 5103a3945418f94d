// Start-up with large call logs and a long charge history: the time from process start until the
// lists "Abgehende Gespräche" and "Ankommende Gespräche" are filled, the peak resident size above
// an empty start, how the time grows when the data doubles, and the clean-up rewrite of the
// outgoing log beside a plain cp of the same file.
//
//   bench_startup [RUNS]                    generates the data in a temporary directory, measures
//   bench_startup generate DIR SCALE        the logs alone (SCALE 1: 1,000,000 records each)
//   bench_startup child DIR T0              one start on DIR; T0 is the parent's monotonic time

#include "BenchReport.h"
#include "LogGenerator.h"

#include "charges/CallList.h"
#include "charges/IncomingCallLog.h"
#include "charges/LogRetention.h"
#include "charges/OutgoingCallLog.h"
#include "shell/AppCore.h"
#include "shell/VorwahlLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <clocale>
#include <cstdio>

namespace {

struct Start
{
    double seconds = -1;
    double peakMb = 0;
    int outgoingRows = 0;
    int incomingRows = 0;
};

// What start-up does before the lists are filled, through the core's own operations: the library,
// the prices and the period list of the history, the address book, then the incoming list, the
// clean-up of the outgoing log and the outgoing list.
int child(const QString& dir, double t0)
{
    AppCore::Options options;
    options.programDir = dir;
    options.configHome = dir;
    AppCore core(std::move(options), CommandLine{});
    core.vorwahl().load();
    core.loadCharges();
    core.loadAddressBook();
    core.loadCallLogs();
    const double seconds = Bench::monotonicSeconds() - t0;
    std::printf("filled %.4f %.1f %d %d\n", seconds, Bench::peakRssMb(), core.outgoingCalls().list().rowCount(),
                core.incomingCalls().list().rowCount());
    std::fflush(stdout);
    return 0;
}

Start runChild(const QString& dir)
{
    QProcess process;
    process.setProgram(QCoreApplication::applicationFilePath());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const double t0 = Bench::monotonicSeconds();
    process.setArguments({QStringLiteral("child"), dir, QString::number(t0, 'f', 6)});
    process.start();
    process.waitForFinished(600000);
    Start start;
    const QList<QByteArray> words = process.readAllStandardOutput().trimmed().split(' ');
    if (words.size() == 5 && words[0] == "filled") {
        start.seconds = words[1].toDouble();
        start.peakMb = words[2].toDouble();
        start.outgoingRows = words[3].toInt();
        start.incomingRows = words[4].toInt();
    }
    return start;
}

// The best time of `runs` starts after one that warms the page cache (and does the first clean-up,
// which drops the internal calls); the peak memory of the last.
Start bestStart(const QString& dir, int runs, const char* label)
{
    runChild(dir);
    Start best;
    for (int i = 0; i < runs; ++i) {
        const Start s = runChild(dir);
        if (s.seconds < 0)
            return s;
        std::printf("    %s run %d: %.3f s, peak %.1f MB, %d outgoing and %d incoming rows\n", label, i + 1, s.seconds,
                    s.peakMb, s.outgoingRows, s.incomingRows);
        if (best.seconds < 0 || s.seconds < best.seconds)
            best = s;
        best.peakMb = s.peakMb;
    }
    return best;
}

bool generate(const QString& dir, int scale)
{
    LogGenerator::Sizes sizes;
    sizes.outgoing *= scale;
    sizes.incoming *= scale;
    sizes.historyLines *= scale;
    QDir().mkpath(dir);
    // An hour ago, so that the clock never runs past the last record while measuring.
    return LogGenerator::generate(dir, sizes, QDateTime::currentDateTime().addSecs(-3600));
}

double fileMb(const QString& path)
{
    return static_cast<double>(QFileInfo(path).size()) / 1e6;
}

// The rewrite the clean-up does (a new file beside the old one, synced, renamed into place) and
// a plain cp, on copies of the same log, after a read that puts it in the page cache.
void rewriteBesideCopy(const QString& dir)
{
    const QString log = dir + QStringLiteral("/WinKavex.out");
    const QString work = dir + QStringLiteral("/rewrite/WinKavex.out");
    QDir().mkpath(dir + QStringLiteral("/rewrite"));
    QFile::remove(work);
    QFile::copy(log, work);
    const double mb = fileMb(work);
    double t = Bench::monotonicSeconds();
    const LogRetention::Outcome outcome = LogRetention::rewriteOutgoing(work, {}, {}, false);
    const double rewriteS = Bench::monotonicSeconds() - t;
    t = Bench::monotonicSeconds();
    QProcess::execute(QStringLiteral("cp"), {log, work + QStringLiteral(".cp")});
    const double copyS = Bench::monotonicSeconds() - t;
    std::printf("  clean-up rewrite of WinKavex.out (%.1f MB): %.3f s, %.0f MB/s%s; cp of the same file: %.3f s, "
                "%.0f MB/s\n",
                mb, rewriteS, mb / rewriteS, outcome.rewritten ? "" : " (FAILED)", copyS, mb / copyS);
    QDir(dir + QStringLiteral("/rewrite")).removeRecursively();
}

int measure(int runs)
{
    QTemporaryDir temp;
    const QString empty = temp.filePath(QStringLiteral("empty"));
    const QString single = temp.filePath(QStringLiteral("single"));
    const QString twice = temp.filePath(QStringLiteral("double"));
    QDir().mkpath(empty);
    std::printf("generating 1,000,000 outgoing and 1,000,000 incoming records, 100,000 history lines, and twice "
                "that ...\n");
    if (!generate(single, 1) || !generate(twice, 2)) {
        std::fprintf(stderr, "bench_startup: cannot write the logs in %s\n", qPrintable(temp.path()));
        return 1;
    }
    std::printf("  WinKavex.out %.1f MB, WinKavex.in %.1f MB, WinKavex.dat %.1f MB\n",
                fileMb(single + QStringLiteral("/WinKavex.out")), fileMb(single + QStringLiteral("/WinKavex.in")),
                fileMb(single + QStringLiteral("/WinKavex.dat")));
    std::printf("start-up until the lists are filled (best of %d):\n", runs);
    const Start none = bestStart(empty, runs, "empty");
    const Start one = bestStart(single, runs, "1M");
    const Start two = bestStart(twice, runs, "2M");
    if (none.seconds < 0 || one.seconds < 0 || two.seconds < 0) {
        std::fprintf(stderr, "bench_startup: a start failed\n");
        return 1;
    }
    std::printf("  empty start %.3f s, %.1f MB; 1M records %.3f s, %.1f MB; 2M records %.3f s, %.1f MB\n", none.seconds,
                none.peakMb, one.seconds, one.peakMb, two.seconds, two.peakMb);
    rewriteBesideCopy(single);
    bool ok = Bench::budget("startup-1M-filled", one.seconds, 1.5, "s");
    ok = Bench::budget("startup-1M-peak-rss-above-empty", one.peakMb - none.peakMb, 150, "MB") && ok;
    ok = Bench::budget("startup-doubling", two.seconds / one.seconds, 2.2, "ratio") && ok;
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    // The costs in the logs as a German user's program writes them, with a decimal comma.
    qputenv("LC_ALL", "de_DE.UTF-8");
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // the figures printed here are read back by the parent
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 3 && args[0] == QLatin1String("child"))
        return child(args[1], args[2].toDouble());
    if (args.size() == 3 && args[0] == QLatin1String("generate"))
        return generate(args[1], std::max(1, args[2].toInt())) ? 0 : 1;
    return measure(args.isEmpty() ? 3 : std::max(1, args[0].toInt()));
}
