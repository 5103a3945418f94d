#include "BlockLog.h"
#include "DefaultImage.h"
#include "DemoCalls.h"
#include "Exchange.h"
#include "PtyLink.h"
#include "SimOptions.h"
#include "common/ProgramVersion.h"
#include "image/Firmware.h"
#include "image/ImageLayout.h"
#include "common/FileMessages.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <random>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onStopSignal(int)
{
    g_stop = 1;
}

qint64 monotonicUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void complain(const QString& text)
{
    std::fprintf(stderr, "kavex-sim: %s\n", qPrintable(text));
}

std::optional<ConfigImage> loadImage(const SimOptions& options)
{
    if (options.imagePath.isEmpty()) {
        return DefaultImage::build(options.firmware < 0 ? Firmware::NewFeatures : options.firmware,
                                   options.extensions < 0 ? 8 : options.extensions);
    }
    QFile file(options.imagePath);
    if (!file.open(QIODevice::ReadOnly)) {
        complain(QStringLiteral("Datei %1 konnte nicht geöffnet werden").arg(options.imagePath));
        return std::nullopt;
    }
    const QByteArray bytes = file.read(ConfigImage::Size);
    if (bytes.size() < ConfigImage::Size) {
        complain(QStringLiteral("Datei %1 hat weniger als 1024 Bytes").arg(options.imagePath));
        return std::nullopt;
    }
    ConfigImage image;
    std::copy_n(bytes.constData(), ConfigImage::Size, reinterpret_cast<char*>(image.data()));
    const int firmware = options.firmware < 0 ? Firmware::version(image) : options.firmware;
    const int extensions = options.extensions < 0 ? ImageLayout::extensionCount(image) : options.extensions;
    DefaultImage::setHardware(image, firmware, extensions);
    return image;
}

// SIGINT, SIGTERM and SIGHUP are blocked except while waiting, so a stop request is never lost
// between the check and the wait.
sigset_t installSignals()
{
    struct sigaction action
    {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigset_t blocked;
    sigemptyset(&blocked);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(s, &action, nullptr);
        sigaddset(&blocked, s);
    }
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t waitMask;
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    return waitMask;
}

QTime wallTimeOf(qint64 eventUs)
{
    return QDateTime::currentDateTime().addMSecs(-(monotonicUs() - eventUs) / 1000).time();
}

int run(const SimOptions& options)
{
    const auto image = loadImage(options);
    if (!image)
        return 1;
    const int firmware = Firmware::version(*image);
    Exchange exchange(*image, DefaultImage::speedDials(firmware, ImageLayout::extensionCount(*image)), options.baud);
    exchange.setMute(options.mute);
    if (options.verbose)
        exchange.setNoticeSink([](const QString& text) { complain(text); });

    BlockLog log;
    if (!options.logPath.isEmpty()) {
        if (!log.open(options.logPath)) {
            complain(FileMessages::cannotWrite(options.logPath, log.errorString()));
            return 1;
        }
        exchange.setCellObserver(
            [&log](const QByteArray& cell, qint64 firstByteUs) { log.record(wallTimeOf(firstByteUs), cell); });
    }

    const sigset_t waitMask = installSignals();
    PtyLink pty;
    const QString linkPath = options.linkPath.isEmpty() ? SimOptions::defaultLinkPath() : options.linkPath;
    if (!pty.open(linkPath, options.baud)) {
        complain(pty.errorString());
        return 2;
    }
    std::printf("%s\n", qPrintable(pty.slavePath()));
    std::fflush(stdout);

    DemoCalls demo(options.seed ? *options.seed : std::random_device{}(), options.demoIntervalSeconds);
    if (options.demo)
        demo.start(monotonicUs());

    while (!g_stop) {
        qint64 now = monotonicUs();
        qint64 deadline = now + 1'000'000;
        if (const auto d = exchange.nextDeadlineUs())
            deadline = std::min(deadline, *d);
        if (const auto d = demo.nextDeadlineUs(); options.demo && d)
            deadline = std::min(deadline, *d);
        const QByteArray received = pty.waitAndRead(deadline - now, &waitMask);
        now = monotonicUs();
        if (pty.takeHangUp())
            exchange.hangUp();
        if (!received.isEmpty())
            exchange.receive(received, now);
        exchange.expire(now);
        if (options.demo)
            demo.tick(now, exchange);
        pty.write(exchange.takeOutput(now));
    }
    pty.close();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString error;
    const auto options = SimOptions::parse(app.arguments().mid(1), &error);
    if (!options) {
        complain(error);
        std::fputs("Hilfe: kavex-sim --help\n", stderr);
        return 1;
    }
    if (options->help) {
        std::fputs(qPrintable(SimOptions::helpText()), stdout);
        return 0;
    }
    if (options->version) {
        std::printf("kavex-sim %s (%s)\n", ProgramVersion::Number, ProgramVersion::Date);
        return 0;
    }
    return run(*options);
}
