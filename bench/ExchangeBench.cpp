// The two transactions whose length the serial line decides, timed as whole kavexctl processes
// against kavex-sim on a pseudo-terminal, beside their floors: the full read against the line
// time of its cells plus the silences and waits it cannot avoid, the configuration write against
// its nominal pacing. Run it from a Release build: bench_exchange [RUNS]

#include "BenchReport.h"
#include "PacedOutput.h"
#include "image/ConfigImage.h"
#include "image/Extensions.h"
#include "link/Cells.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int Baud = 9600;
constexpr double BitsPerByte = 10;
// The receiver ends a chunk after this much silence, so every reply costs it once more.
constexpr double ChunkSilenceS = 0.100;
// The wait before the charge decode.
constexpr double ChargeDecodeWaitS = 0.100;
constexpr int ReadRequests = 3;

QString binDir;

QString program(const char* name)
{
    return binDir + u'/' + QLatin1String(name);
}

// kavex-sim in a private directory, with its cell log.
class Simulator
{
public:
    bool start(const QStringList& args)
    {
        m_process.setProgram(program("kavex-sim"));
        m_process.setArguments(QStringList{QStringLiteral("--link"), path(QStringLiteral("pty")),
                                           QStringLiteral("--log"), path(QStringLiteral("cells.log"))} +
                               args);
        m_process.start();
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 10000 && !m_process.canReadLine() && m_process.state() != QProcess::NotRunning)
            m_process.waitForReadyRead(100);
        m_device = QString::fromLocal8Bit(m_process.readLine().trimmed());
        if (m_device.isEmpty())
            std::fprintf(stderr, "kavex-sim did not start: %s\n", m_process.readAllStandardError().constData());
        return !m_device.isEmpty();
    }
    ~Simulator()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    QString device() const { return m_device; }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString dir() const { return m_dir.path(); }
    int cellCount() const
    {
        QFile log(path(QStringLiteral("cells.log")));
        return log.open(QIODevice::ReadOnly) ? static_cast<int>(log.readAll().count('\n')) : 0;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_device;
};

// Seconds the kavexctl process took from its start to its end; negative when it failed.
double runKavexctl(const Simulator& sim, const QStringList& command)
{
    QProcess process;
    process.setProgram(program("kavexctl"));
    process.setArguments(QStringList{QStringLiteral("--dir"), sim.dir(), QStringLiteral("--port"), sim.device()} +
                         command);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const double start = Bench::monotonicSeconds();
    process.start();
    const bool finished = process.waitForFinished(120000);
    const double seconds = Bench::monotonicSeconds() - start;
    process.readAllStandardOutput();
    if (!finished || process.exitCode() != 0) {
        std::fprintf(stderr, "kavexctl %s failed (exit %d)\n", qPrintable(command.join(u' ')), process.exitCode());
        return -1;
    }
    return seconds;
}

double lineSeconds(int bytes)
{
    return bytes * BitsPerByte / Baud;
}

struct ReadFloor
{
    double line, silences, decodeWait, replyDelays, simulatorGaps;
    double total() const { return line + silences + decodeWait + replyDelays + simulatorGaps; }
};

// Three one-cell requests, the three regions as the exchange sends them, the silence that ends
// each reply, the wait before the charge decode and the exchange's own delay before each reply.
// That delay is the simulator's reply delay after a request, but never less than its gap after
// the message before: the second and third requests go out when the silence has ended the reply
// before, so those replies wait for the gap.
ReadFloor readFloor()
{
    const int requestBytes = ReadRequests * Cells::CellSize;
    const int replyBytes = ConfigImage::length(ConfigImage::Region::Base) +
                           ConfigImage::length(ConfigImage::Region::Extensions) +
                           ConfigImage::length(ConfigImage::Region::Charges);
    const double replyDelay = static_cast<double>(PacedOutput::ReplyDelayUs) / 1e6;
    const double gap = static_cast<double>(PacedOutput::GapUs) / 1e6;
    const double requestToReply = ChunkSilenceS + lineSeconds(Cells::CellSize) + replyDelay;
    return {lineSeconds(requestBytes + replyBytes), ReadRequests * ChunkSilenceS, ChargeDecodeWaitS,
            ReadRequests * replyDelay, (ReadRequests - 1) * std::max(0.0, gap - requestToReply)};
}

// The best of `runs`: on a shared machine the other runs measure the neighbours.
template <typename F> double best(int runs, F&& run)
{
    double result = 1e300;
    for (int i = 0; i < runs; ++i) {
        const double seconds = run();
        if (seconds < 0)
            return -1;
        std::printf("    run %d: %.3f s\n", i + 1, seconds);
        result = std::min(result, seconds);
    }
    return result;
}

bool benchRead(int runs)
{
    Simulator sim;
    if (!sim.start({}))
        return false;
    const ReadFloor parts = readFloor();
    const double floor = parts.total();
    std::printf("full read, kavexctl read, firmware 2.00, 8 extensions, %d baud:\n", Baud);
    std::printf("  floor: line %.3f s + silences %.3f s + charge decode wait %.3f s + reply delays %.3f s"
                " + the simulator's gap between messages %.3f s\n",
                parts.line, parts.silences, parts.decodeWait, parts.replyDelays, parts.simulatorGaps);
    const double seconds = best(runs, [&] { return runKavexctl(sim, {QStringLiteral("read")}); });
    if (seconds < 0)
        return false;
    std::printf("  floor %.3f s, measured %.3f s (best of %d), ratio %.3f\n", floor, seconds, runs, seconds / floor);
    return Bench::budget("read-vs-floor", seconds / floor, 1.05, "ratio");
}

// Cells at 40 ms each (200 ms on old firmware: a wait before the header and before each byte), a
// pause after the base, after each extension and after the end of configuration, and the wait at
// the end. The cells are the ones the exchange received.
double writeNominalSeconds(bool fast, int cells, int extensions)
{
    const double cellS = fast ? 0.040 : 0.200;
    const double pauseS = fast ? 0.100 : 1.000;
    const double endWaitS = 0.250;
    return cells * cellS + (1 + extensions + 1) * pauseS + endWaitS;
}

bool benchWrite(const char* firmware, bool fast, int runs, const char* budgetName)
{
    Simulator sim;
    if (!sim.start({QStringLiteral("--firmware"), QLatin1String(firmware), QStringLiteral("--extensions"),
                    QString::number(Extensions::Max)}))
        return false;
    const QString file = sim.path(QStringLiteral("exchange.KVX"));
    if (runKavexctl(sim, {QStringLiteral("read"), QStringLiteral("--save"), file}) < 0)
        return false;
    std::printf("configuration write with charge units, kavexctl write --units, firmware %s, %d extensions:\n",
                firmware, Extensions::Max);
    int cells = 0;
    const double seconds = best(runs, [&] {
        const int before = sim.cellCount();
        const double s = runKavexctl(sim, {QStringLiteral("write"), file, QStringLiteral("--units")});
        cells = sim.cellCount() - before;
        return s;
    });
    if (seconds < 0)
        return false;
    const double nominal = writeNominalSeconds(fast, cells, Extensions::Max);
    std::printf("  %d cells; nominal %.3f s, measured %.3f s (best of %d), ratio %.3f\n", cells, nominal, seconds, runs,
                seconds / nominal);
    return Bench::budget(budgetName, seconds / nominal, 1.03, "ratio");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    binDir = QCoreApplication::applicationDirPath();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    bool ok = benchRead(runs);
    ok = benchWrite("2.00", true, runs, "write-2.00-vs-nominal") && ok;
    ok = benchWrite("1.98", false, 1, "write-1.98-vs-nominal") && ok;
    return ok ? 0 : 1;
}
