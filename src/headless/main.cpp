#include "HeadlessView.h"

#include "capi/SimulatedController.h"
#include "common/TerminationSignals.h"
#include "link/SimulatorProcess.h"
#include "shell/AppCore.h"
#include "shell/DiagnosisSignalling.h"
#include "shell/CommandLine.h"
#include "shell/ProgramDirs.h"
#include "shell/Settings.h"
#include "shell/SettingsLocation.h"
#include "shell/SingleInstance.h"
#include "shell/StartUp.h"
#include "shell/StatusLine.h"

#include <QCoreApplication>
#include <QFile>
#include <QScopeGuard>
#include <cstdio>

// winkavex --headless: the session of the desktop program with no window and no display, for the
// machine next to the exchange. It logs both call directions, records the charge readings, runs
// time control and wake-up, publishes on the session bus and runs the hooks as the window does.
namespace {

constexpr int DemoCallSeconds = 75;

void printError(const QString& text)
{
    std::fprintf(stderr, "<3>%s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("WinKavex"));
    CommandLine line = CommandLine::parse(QCoreApplication::arguments().mid(1));
    if (const std::optional<int> status = CommandLine::answered(line))
        return *status;

    // One program owns the port: the window or this service.
    SingleInstance instance(SingleInstance::defaultRuntimeDir());
    if (instance.start() != SingleInstance::Role::First) {
        printError(QStringLiteral("WinKavex läuft bereits (Fenster oder Dienst) und hält die Schnittstelle."));
        return 1;
    }
    // Tells a window started meanwhile why it cannot open; gone with this process.
    QFile marker(SingleInstance::headlessMarker(SingleInstance::defaultRuntimeDir()));
    if (marker.open(QIODevice::WriteOnly | QIODevice::Truncate))
        marker.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n');
    marker.close();
    const auto removeMarker = qScopeGuard([&marker] { marker.remove(); });

    SimulatorProcess simulator;
    if (line.simulate) {
        if (!simulator.start()) {
            printError(simulator.errorString());
            return 2;
        }
        line.portDevice = simulator.devicePath();
    }
    ProgramDirs::Environment env = ProgramDirs::Environment::fromProcess();
    if (line.simulate && line.dir.isEmpty())
        env.winkavexDir.clear();
    const ProgramDirs found(line.dir, env);
    const bool demo = line.simulate && line.dir.isEmpty();
    const QString programDir = demo ? found.programDir() + QStringLiteral("-Demo") : found.programDir();
    const QString configHome = demo ? programDir : found.configHome();
    const ProgramDirs programDirs(programDir);
    programDirs.ensureProgramDir();
    if (const std::optional<QString> refusal = programDirs.refusal()) {
        printError(*refusal);
        return 1;
    }

    AppCore::Options options;
    options.programDir = programDir;
    options.configHome = configHome;
    options.deviceOverride = line.portDevice;
    if (line.simulate) {
        SimulatedController::use(DemoCallSeconds);
        Settings settings(SettingsLocation::resolve(options.configHome, options.programDir));
        StartUp::prepareDemoSettings(settings, options.programDir, QTime::currentTime());
    }
    AppCore core(std::move(options), line);
    HeadlessView view(core.statusLine());
    // A window that is not there is a hidden one: state events signal as they would into the tray.
    core.signalling().setWindowHidden(true);

    TerminationSignals termination;
    bool ending = false;
    QObject::connect(&termination, &TerminationSignals::requested, &core, [&core, &ending] {
        if (std::exchange(ending, true))
            return;
        core.closeQuery(true, true, [&core] { core.shutdown([] { QCoreApplication::quit(); }); });
    });

    core.startTimer();
    const StartUp::Outcome outcome = StartUp(core, view).run();
    if (outcome != StartUp::Outcome::Reading)
        return 2;
    return QCoreApplication::exec();
}
