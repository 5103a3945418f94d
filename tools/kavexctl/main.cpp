#include "CtlCommand.h"

#include "common/ProgramVersion.h"
#include "shell/CommandLine.h"
#include "shell/VorwahlLibrary.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <memory>

std::vector<CtlCommand>& CtlRegistry::commands()
{
    static std::vector<CtlCommand> all;
    return all;
}

namespace {

void printUsage(FILE* out)
{
    std::fputs("Aufruf: kavexctl [--port GERÄT] [--dir VERZEICHNIS] [--timeout S] [--simulate] BEFEHL ...\n\n"
               "Befehle:\n",
               out);
    auto commands = CtlRegistry::commands();
    std::sort(commands.begin(), commands.end(),
              [](const CtlCommand& a, const CtlCommand& b) { return qstrcmp(a.name, b.name) < 0; });
    for (const CtlCommand& c : commands)
        std::fprintf(out, "  %s\n", c.synopsis);
    std::fputs(
        "\nExit-Status: 0 Erfolg, 1 Aufruf- oder Dateifehler (auch ein falsches Paßwort), 2 Kommunikationsfehler,\n"
        "3 Firmware zu alt, 128 + Signal nach SIGINT oder SIGTERM\n",
        out);
}

const CtlCommand* findCommand(const QString& name)
{
    for (const CtlCommand& c : CtlRegistry::commands()) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

// A command that draws pages needs fonts, which only a GUI application has; it never needs a
// display, so the platform without one is the default.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv, const CtlCommand* command)
{
    if (!command || !command->drawsPages)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<QByteArray> raw = CommandLine::undecodable(argc, argv)) {
        std::fprintf(stderr, "kavexctl: Argument in der Zeichenkodierung nicht lesbar: %s\n",
                     raw->toPercentEncoding("/.-_~").constData());
        return ExitUsage;
    }
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    CtlOptions options;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString opt = args.takeFirst();
        if (opt == QLatin1String("--help")) {
            printUsage(stdout);
            return ExitOk;
        }
        if (opt == QLatin1String("--version")) {
            std::printf("kavexctl %s (%s)\n", ProgramVersion::Number, ProgramVersion::Date);
            return ExitOk;
        }
        if (opt == QLatin1String("--simulate")) {
            options.simulate = true;
            continue;
        }
        if (args.isEmpty()) {
            std::fprintf(stderr, "kavexctl: %s braucht einen Wert\n", qPrintable(opt));
            return ExitUsage;
        }
        const QString value = args.takeFirst();
        bool ok = true;
        if (opt == QLatin1String("--port"))
            options.port = value;
        else if (opt == QLatin1String("--dir"))
            options.dir = value;
        else if (opt == QLatin1String("--timeout"))
            options.timeoutSeconds = value.toInt(&ok);
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "kavexctl: unbekannte Option %s\n", qPrintable(opt));
            return ExitUsage;
        }
    }
    if (options.simulate && !options.port.isEmpty()) {
        std::fprintf(stderr, "kavexctl: %s\n", CommandLine::simulateWithPortError().toLocal8Bit().constData());
        return ExitUsage;
    }
    if (args.isEmpty()) {
        printUsage(stderr);
        return ExitUsage;
    }
    const QString name = args.takeFirst();
    const CtlCommand* command = findCommand(name);
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv, command);
    if (!command) {
        std::fprintf(stderr, "kavexctl: unbekannter Befehl %s\n", qPrintable(name));
        printUsage(stderr);
        return ExitUsage;
    }
    VorwahlLibrary vorwahl;
    vorwahl.load();
    options.vorwahl = &vorwahl;
    return command->run(options, args);
}
