#include "CommandLine.h"

#include "common/ProgramVersion.h"

#include <cstdio>

namespace {

// Words are compared whole after upper-casing and cutting to 50 characters.
QString normalisedWord(const QString& argument)
{
    return argument.left(50).toUpper();
}

// "--name VALUE" or "--name=VALUE"; advances i past a separate value.
bool takeOption(const QStringList& arguments, int& i, const QString& name, QString& value, QString& error)
{
    const QString& argument = arguments[i];
    if (argument.startsWith(name + QLatin1Char('='))) {
        value = argument.mid(name.size() + 1);
    } else if (argument == name) {
        if (i + 1 >= arguments.size()) {
            error = QStringLiteral("Option %1 braucht einen Wert").arg(name);
            return true;
        }
        value = arguments[++i];
    } else {
        return false;
    }
    if (value.isEmpty() && error.isEmpty())
        error = QStringLiteral("Option %1 braucht einen Wert").arg(name);
    return true;
}

} // namespace

CommandLine CommandLine::parse(const QStringList& arguments)
{
    CommandLine line;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (takeOption(arguments, i, QStringLiteral("--port"), line.portDevice, line.error) ||
            takeOption(arguments, i, QStringLiteral("--dir"), line.dir, line.error) ||
            takeOption(arguments, i, QStringLiteral("--screenshots"), line.screenshotsDir, line.error) ||
            takeOption(arguments, i, QStringLiteral("--help-pages"), line.helpPagesDir, line.error))
            continue;
        if (argument == QLatin1String("--simulate")) {
            line.simulate = true;
        } else if (argument == QLatin1String("--version")) {
            line.version = true;
        } else if (argument == QLatin1String("--headless")) {
            line.headless = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            line.help = true;
        } else {
            const QString word = normalisedWord(argument);
            line.autoEnd |= word == QLatin1String("AUTOENDE");
            line.debug |= word == QLatin1String("DEBUG");
            line.startInTray |= word == QLatin1String("ICON");
        }
    }
    // The demo's schedules ring extensions and write configurations: never on a real exchange.
    if (line.simulate && !line.portDevice.isEmpty() && line.error.isEmpty())
        line.error = simulateWithPortError();
    return line;
}

std::optional<int> CommandLine::answered(const CommandLine& line)
{
    if (line.help) {
        std::printf("%s", usage().toLocal8Bit().constData());
        return 0;
    }
    if (line.version) {
        std::printf("winkavex %s (%s)\n", ProgramVersion::Number, ProgramVersion::Date);
        return 0;
    }
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "%s\n%s\n", line.error.toLocal8Bit().constData(), usage().toLocal8Bit().constData());
        return 1;
    }
    return std::nullopt;
}

QString CommandLine::simulateWithPortError()
{
    return QStringLiteral("--simulate und --port schließen einander aus: die Simulation benutzt nie ein echtes Gerät");
}

QString CommandLine::usage()
{
    return QStringLiteral(
        "Aufruf: winkavex [AUTOENDE] [DEBUG] [ICON] [--headless] [--simulate] [--port GERÄT] [--dir VERZEICHNIS]\n"
        "                 [--screenshots VERZEICHNIS] [--help-pages VERZEICHNIS]\n"
        "\n"
        "  AUTOENDE             nach jedem vollständigen Lesen das Fenster nach 3 s in den Infobereich legen\n"
        "  DEBUG                den Verkehr der Schnittstelle in \"winkavex.debug\" im Programmverzeichnis "
        "protokollieren\n"
        "  ICON                 im Infobereich starten, ohne das Fenster zu zeigen\n"
        "  --headless           ohne Fenster und Anzeige laufen (Dienst für den Rechner an der Anlage);\n"
        "                       Meldungen gehen auf die Standardfehlerausgabe\n"
        "  --simulate           mit einer simulierten Anlage (kavex-sim --demo) arbeiten, nie mit --port\n"
        "  --port GERÄT         dieses Gerät statt des eingestellten Anschlusses öffnen\n"
        "  --dir VERZEICHNIS    Programmverzeichnis (Einstellungen, Protokolle)\n"
        "  --screenshots VERZ.  jede Seite als PNG in VERZ. ablegen und beenden\n"
        "  --help-pages VERZ.   in den Hilfeseiten in VERZ. Bilder und Direkthilfe erneuern und beenden\n");
}

std::optional<QByteArray> CommandLine::undecodable(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        if (QString::fromLocal8Bit(raw).toLocal8Bit() != raw)
            return raw;
    }
    return std::nullopt;
}
