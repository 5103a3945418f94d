// A burst of state events through the program's core: 10,000 chunks of 8 records each, as the
// exchange reports calls (handsets, dial tones, digits, trunk lamps, ringing), dispatched by the
// link into the lamp model and the dialled-number displays; every outgoing call begins a record
// of WinKavex.out and, after the charge reading that follows its end, completes it. Time runs
// virtually (the 2 s before a charge reading costs nothing); the wall time of the whole burst is
// measured. Run it from a Release build: bench_events [CHUNKS]

#include "BenchReport.h"

#include "charges/OutgoingCallLog.h"
#include "common/Clock.h"
#include "diagnosis/LampMatrix.h"
#include "image/ConfigImage.h"
#include "link/Cells.h"
#include "link/PbxRequests.h"
#include "link/Transport.h"
#include "shell/AppCore.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <deque>
#include <map>
#include <random>

namespace {

constexpr int RecordsPerChunk = 8;
constexpr quint8 EventKind = 0xDD;
constexpr int SubLine = 2, SubRing = 3, SubHandset = 4, SubDigit = 5;
constexpr int ColumnDialTone = 5;

// Virtual time in one jump: a pause moves the clock on, runs what fell due and handles the posted
// events, as the real pause does after its steps.
class BurstClock : public Clock
{
public:
    QDateTime now() const override { return m_start.addMSecs(m_ms); }
    qint64 elapsedMs() const override { return m_ms; }
    void callAfter(int ms, QObject*, std::function<void()> fn) override { m_due.emplace(m_ms + ms, std::move(fn)); }
    void advance(qint64 ms)
    {
        m_ms += ms;
        QCoreApplication::processEvents();
        while (!m_due.empty() && m_due.begin()->first <= m_ms) {
            auto fn = std::move(m_due.begin()->second);
            m_due.erase(m_due.begin());
            fn();
            QCoreApplication::processEvents();
        }
    }

private:
    QDateTime m_start = QDateTime::currentDateTime();
    qint64 m_ms = 0;
    std::multimap<qint64, std::function<void()>> m_due;
};

// The exchange's side: answers the read requests with the regions of the simulated exchange's
// image, the charge counters counted up as calls are made.
class BurstTransport : public Transport
{
public:
    explicit BurstTransport(const QByteArray& image)
    {
        for (auto r : {ConfigImage::Region::Base, ConfigImage::Region::Extensions, ConfigImage::Region::Charges})
            m_image.copyIntoRegion(r, image.mid(ConfigImage::offset(r), ConfigImage::length(r)));
    }
    bool open(const QString&) override { return m_open = true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    QString errorString() const override { return {}; }
    bool send(const QByteArray& block) override
    {
        if (block == PbxRequests::readBase().constFirst())
            m_replies.push_back(region(ConfigImage::Region::Base, 23));
        else if (block == PbxRequests::readExtensions().constFirst())
            m_replies.push_back(region(ConfigImage::Region::Extensions, 22));
        else if (block == PbxRequests::readCharges().constFirst())
            m_replies.push_back(region(ConfigImage::Region::Charges, 21));
        return true;
    }
    void deliver(const QByteArray& chunk) { Q_EMIT chunkReceived(chunk); }
    // Replies go out after the chunk being handled, as they would arrive.
    void deliverReplies()
    {
        while (!m_replies.empty()) {
            const QByteArray reply = m_replies.front();
            m_replies.pop_front();
            deliver(reply);
        }
    }
    void countUnit(int extension)
    {
        const int at = ConfigImage::offset(ConfigImage::Region::Charges) + 1 + 2 * extension;
        const int units = (m_image[at] | m_image[at + 1] << 8) + 1;
        m_image[at] = static_cast<quint8>(units & 0xFF);
        m_image[at + 1] = static_cast<quint8>(units >> 8 & 0xFF);
    }

private:
    QByteArray region(ConfigImage::Region r, char kind) const
    {
        QByteArray payload = m_image.region(r);
        payload[0] = kind;
        return Cells::regionLineBytes(payload, ConfigImage::length(r));
    }

    bool m_open = false;
    ConfigImage m_image;
    std::deque<QByteArray> m_replies;
};

struct Record
{
    int sub, p1, p2, p3;
};

// Calls as the simulated exchange plays them, three outgoing to one incoming.
class CallScript
{
public:
    std::vector<Record> records(std::size_t count)
    {
        std::vector<Record> out;
        while (out.size() < count) {
            const int extension = below(8);
            if (below(4) != 0)
                outgoing(out, extension);
            else
                incoming(out, extension);
            m_channel = 1 - m_channel;
        }
        out.resize(count);
        return out;
    }

private:
    int below(int n) { return static_cast<int>(m_random() % static_cast<unsigned>(n)); }
    void outgoing(std::vector<Record>& out, int extension)
    {
        static const char* const numbers[] = {"0301234567", "0897654321", "022112345", "017012345678", "305"};
        const QByteArray number = numbers[below(5)];
        out.push_back({SubHandset, extension, 0, 1});
        out.push_back({SubLine, ColumnDialTone, extension, 1});
        out.push_back({SubLine, ColumnDialTone, extension, 0});
        out.push_back({SubLine, m_channel, extension, 1});
        out.push_back({SubLine, m_channel + 2, extension, 1});
        for (char digit : number)
            out.push_back({SubDigit, extension, 0, digit == '0' ? 10 : digit - '0'});
        out.push_back({SubLine, m_channel + 2, extension, 0}); // connected: the record begins
        out.push_back({SubLine, m_channel, extension, 0});     // trunk released: the call ends
        out.push_back({SubHandset, extension, 0, 0});
    }
    void incoming(std::vector<Record>& out, int extension)
    {
        out.push_back({SubLine, m_channel, extension, 1});
        out.push_back({SubRing, extension, 0, 1});
        out.push_back({SubRing, extension, 0, 0});
        out.push_back({SubHandset, extension, 0, 1});
        out.push_back({SubLine, m_channel, extension, 0});
        out.push_back({SubHandset, extension, 0, 0});
    }

    std::mt19937 m_random{4711};
    int m_channel = 0;
};

QByteArray chunkOf(const Record* records, int count)
{
    QByteArray chunk;
    for (int i = 0; i < count; ++i) {
        const Record& r = records[i];
        const char payload[] = {static_cast<char>(EventKind), static_cast<char>(r.sub), static_cast<char>(r.p1),
                                static_cast<char>(r.p2),      static_cast<char>(r.p3),  0};
        chunk += Cells::encodeCells(QByteArrayView(payload, sizeof payload));
    }
    return chunk;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int chunkCount = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    QTemporaryDir dir;
    BurstClock clock;
    QFile imageFile(QStringLiteral(KAVEX_EXCHANGE_IMAGE));
    if (!imageFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "bench_events: no exchange image at %s\n", KAVEX_EXCHANGE_IMAGE);
        return 1;
    }
    auto owned = std::make_unique<BurstTransport>(imageFile.readAll());
    BurstTransport& transport = *owned;
    AppCore::Options options;
    options.programDir = dir.path();
    options.configHome = dir.path();
    options.clock = &clock;
    options.transport = std::move(owned);
    AppCore core(std::move(options), CommandLine{});
    core.openPort(QStringLiteral("COM1"));
    core.loadCharges();
    core.loadCallLogs();
    // The first read, so that the extensions, their trunk access and the charge layout are known.
    core.startRead();
    for (int step = 0; step < 3; ++step) {
        transport.deliverReplies();
        clock.advance(1000);
    }
    if (!core.isReady()) {
        std::fprintf(stderr, "bench_events: the first read did not complete\n");
        return 1;
    }

    const std::vector<Record> records = CallScript().records(static_cast<std::size_t>(chunkCount) * RecordsPerChunk);
    std::vector<QByteArray> chunks;
    for (int c = 0; c < chunkCount; ++c)
        chunks.push_back(chunkOf(&records[static_cast<std::size_t>(c) * RecordsPerChunk], RecordsPerChunk));
    int begun = 0, completed = 0, lampChanges = 0, displayChanges = 0;
    QObject::connect(&core.outgoingCalls(), &OutgoingCallLog::begun, [&] { ++begun; });
    QObject::connect(&core.outgoingCalls(), &OutgoingCallLog::completed, [&] { ++completed; });
    QObject::connect(&core.lamps(), &LampMatrix::lampChanged, [&] { ++lampChanges; });
    QObject::connect(&core, &AppCore::dialledNumberChanged, [&] { ++displayChanges; });
    // Every outgoing call counts a unit at the exchange, so each charge reading changes the total.
    QObject::connect(&core.outgoingCalls(), &OutgoingCallLog::begun,
                     [&](const OutgoingCallLog::Logged& call) { transport.countUnit(call.extension - 21); });

    const double start = Bench::monotonicSeconds();
    for (const QByteArray& chunk : chunks) {
        transport.deliver(chunk);
        // Virtual time is free: enough between two chunks for the charge reading that follows a
        // call's end by 2 s, so that each call is completed before the next one begins.
        clock.advance(2500);
        transport.deliverReplies();
        QCoreApplication::processEvents();
    }
    clock.advance(3000);
    transport.deliverReplies();
    const double seconds = Bench::monotonicSeconds() - start;
    std::printf("%d chunks, %zu records: %.3f s, %.1f us per record\n", chunkCount, records.size(), seconds,
                seconds * 1e6 / static_cast<double>(records.size()));
    std::printf("  %d outgoing records begun, %d completed; %d lamp changes, %d display changes; WinKavex.out %lld "
                "bytes, WinKavex.dat %lld bytes\n",
                begun, completed, lampChanges, displayChanges,
                static_cast<long long>(QFileInfo(dir.filePath(QStringLiteral("WinKavex.out"))).size()),
                static_cast<long long>(QFileInfo(dir.filePath(QStringLiteral("WinKavex.dat"))).size()));
    const bool logged = begun > 0 && completed > 0;
    if (!logged)
        std::printf("  no outgoing record was logged: the burst did not reach the log\n");
    return Bench::budget("state-event-burst-10k", seconds, 1.0, "s") && logged ? 0 : 1;
}
