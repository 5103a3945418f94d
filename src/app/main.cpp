#include "HelpPages.h"
#include "MainWindow.h"
#include "PageRegistry.h"
#include "Screenshots.h"
#include "capi/SimulatedController.h"
#include "charges/IncomingCallLog.h"
#include "common/TerminationSignals.h"
#include "link/SimulatorProcess.h"
#include "pages/calls/CallPages.h"
#include "pages/charges/ChargePages.h"
#include "pages/config/ConfigPages.h"
#include "pages/shell/ShellPages.h"
#include "shell/AppCore.h"
#include "shell/DiagnosisSignalling.h"
#include "shell/CommandLine.h"
#include "shell/ProgramDirs.h"
#include "shell/Settings.h"
#include "shell/SettingsLocation.h"
#include "shell/SingleInstance.h"
#include "shell/StartUp.h"
#include "shell/StatusLine.h"
#include "sound/GeneratedTone.h"
#include "sound/SoundFilePlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

constexpr int ScreenshotReadTimeoutMs = 60000;
// The simulated controller offers an incoming call this often.
constexpr int DemoCallSeconds = 75;

struct Directories
{
    QString programDir;
    QString configHome;
};

// --simulate without --dir keeps the demo apart from the real settings, logs and password.
Directories directoriesFor(const CommandLine& line)
{
    if (line.simulate && line.dir.isEmpty()) {
        ProgramDirs::Environment env = ProgramDirs::Environment::fromProcess();
        env.winkavexDir.clear();
        const QString demo = ProgramDirs(QString(), env).programDir() + QStringLiteral("-Demo");
        return {demo, demo};
    }
    const ProgramDirs dirs(line.dir);
    return {dirs.programDir(), dirs.configHome()};
}

void printError(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

// The session without a window is a program of its own beside this one, so that no graphics
// library is loaded into the service; this process becomes it.
int runHeadless(char** argv)
{
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        printError(QStringLiteral("winkavex-headless nicht gefunden"));
        return 2;
    }
    self[length] = '\0';
    const QByteArray program = QFileInfo(QFile::decodeName(self)).absolutePath().toLocal8Bit() + "/winkavex-headless";
    execv(program.constData(), argv);
    printError(QStringLiteral("%1 kann nicht gestartet werden: %2")
                   .arg(QFile::decodeName(program), QString::fromLocal8Bit(std::strerror(errno))));
    return 2;
}

// The service leaves its process number in the marker; one left behind by a crash names no
// running service.
bool headlessServiceRuns()
{
    QFile marker(SingleInstance::headlessMarker(SingleInstance::defaultRuntimeDir()));
    if (!marker.open(QIODevice::ReadOnly))
        return false;
    const QByteArray pid = marker.read(32).trimmed();
    if (pid.isEmpty() || pid.toLongLong() <= 0)
        return false;
    return QFileInfo(QStringLiteral("/proc/%1/exe").arg(QString::fromLatin1(pid)))
        .symLinkTarget()
        .endsWith(QStringLiteral("/winkavex-headless"));
}

// Waits until the first read has ended one way or another.
void waitForFirstRead(AppCore& core)
{
    QElapsedTimer timer;
    timer.start();
    while (!core.isReady() && !core.isFirmwareTooOld() && timer.elapsed() < ScreenshotReadTimeoutMs &&
           (core.isTransferLocked() || core.isFirstReadPending()))
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<QByteArray> raw = CommandLine::undecodable(argc, argv)) {
        printError(QStringLiteral("Argument in der Zeichenkodierung nicht lesbar: %1")
                       .arg(QString::fromLatin1(raw->toPercentEncoding("/.-_~"))));
        return 1;
    }
    // Before the application: the usage needs no display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    CommandLine line = CommandLine::parse(arguments);
    if (const std::optional<int> status = CommandLine::answered(line))
        return *status;
    if (line.headless)
        return runHeadless(argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("WinKavex"));
    QApplication::setQuitOnLastWindowClosed(false);
    const bool rendering = line.rendersPages();
    if (rendering && line.portDevice.isEmpty())
        line.simulate = true;

    // Page renders run beside a working instance; everything else is one program per user.
    SingleInstance instance(SingleInstance::defaultRuntimeDir());
    if (!rendering) {
        switch (instance.start()) {
        case SingleInstance::Role::First:
            break;
        case SingleInstance::Role::Signalled:
            if (headlessServiceRuns()) {
                printError(SingleInstance::headlessNotice());
                return 1;
            }
            return 0;
        case SingleInstance::Role::Unreached:
            printError(QStringLiteral("WinKavex läuft bereits, antwortet aber nicht."));
            return 1;
        }
    }

    SimulatorProcess simulator;
    if (line.simulate && line.portDevice.isEmpty()) {
        if (!simulator.start()) {
            printError(simulator.errorString());
            return 2;
        }
        line.portDevice = simulator.devicePath();
    }

    const Directories dirs = directoriesFor(line);
    const ProgramDirs programDirs(dirs.programDir);
    programDirs.ensureProgramDir();
    if (const std::optional<QString> refusal = programDirs.refusal()) {
        printError(*refusal);
        return 1;
    }
    AppCore::Options options;
    options.programDir = dirs.programDir;
    options.configHome = dirs.configHome;
    options.deviceOverride = line.portDevice;
    if (line.simulate) {
        // Before the core binds the CAPI: incoming demo calls from the simulated controller.
        SimulatedController::use(DemoCallSeconds);
        // Before the core reads its settings, so that the names are there from the start.
        Settings demo(SettingsLocation::resolve(options.configHome, options.programDir));
        StartUp::prepareDemoSettings(demo, options.programDir, QTime::currentTime());
        StartUp::prepareDemoHistory(options.programDir, QDate::currentDate());
    }
    // Before the core, which holds it: the speaker tones where the speaker device is closed to us.
    GeneratedTone tone;
    AppCore core(std::move(options), line);
    core.signalling().setToneFallback(&tone);
    SoundFilePlayer sounds;
    QObject::connect(&core.incomingCalls(), &IncomingCallLog::playSound, &sounds, &SoundFilePlayer::play);
    QObject::connect(&sounds, &SoundFilePlayer::failed, &core,
                     [&core](const QString& message) { core.statusLine().showText(StatusLevel::Error, message); });
    if (line.simulate) {
        QObject::connect(&core, &AppCore::readyChanged, &core, [&core](bool ready) {
            if (ready)
                StartUp::saveDemoConfiguration(core);
        });
    }

    PageRegistry registry;
    registerConfigPages(registry);
    registerChargePages(registry);
    registerCallPages(registry);
    registerShellPages(registry);
    MainWindow window(core, registry);
    QObject::connect(&instance, &SingleInstance::activated, &window, &MainWindow::onSecondStart);
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::requested, &window, &MainWindow::quit);

    core.startTimer();
    StartUp(core, window).run();

    if (rendering) {
        window.show();
        waitForFirstRead(core);
        QString error;
        const bool rendered = !line.screenshotsDir.isEmpty() ? Screenshots::render(window, line.screenshotsDir, &error)
                                                             : HelpPages::render(window, line.helpPagesDir, &error);
        if (!rendered)
            printError(error);
        core.shutdown();
        return rendered ? 0 : 1;
    }
    return QApplication::exec();
}
