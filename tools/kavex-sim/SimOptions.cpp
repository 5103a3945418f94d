#include "SimOptions.h"

#include <QRegularExpression>
#include <unistd.h>

namespace {

constexpr int MaxDemoIntervalSeconds = 3600;

std::optional<int> parseFirmware(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^([1-9])\\.([0-9]{2})$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toInt() * 100 + match.captured(2).toInt();
}

} // namespace

std::optional<SimOptions> SimOptions::parse(const QStringList& args, QString* error)
{
    SimOptions options;
    for (int i = 0; i < args.size(); ++i) {
        const QString& opt = args[i];
        const auto fail = [&](const QString& message) {
            *error = message;
            return std::nullopt;
        };
        if (opt == QLatin1String("--help") || opt == QLatin1String("-h")) {
            options.help = true;
            continue;
        }
        if (opt == QLatin1String("--version")) {
            options.version = true;
            continue;
        }
        if (opt == QLatin1String("--mute")) {
            options.mute = true;
            continue;
        }
        if (opt == QLatin1String("--demo")) {
            options.demo = true;
            continue;
        }
        if (opt == QLatin1String("--verbose")) {
            options.verbose = true;
            continue;
        }
        static const QStringList withValue = {QStringLiteral("--link"),     QStringLiteral("--image"),
                                              QStringLiteral("--firmware"), QStringLiteral("--extensions"),
                                              QStringLiteral("--baud"),     QStringLiteral("--log"),
                                              QStringLiteral("--seed"),     QStringLiteral("--demo-interval")};
        if (!withValue.contains(opt))
            return fail(QStringLiteral("unbekannte Option %1").arg(opt));
        if (i + 1 >= args.size())
            return fail(QStringLiteral("%1 braucht einen Wert").arg(opt));
        const QString value = args[++i];
        bool ok = true;
        if (opt == QLatin1String("--link")) {
            options.linkPath = value;
        } else if (opt == QLatin1String("--image")) {
            options.imagePath = value;
        } else if (opt == QLatin1String("--log")) {
            options.logPath = value;
        } else if (opt == QLatin1String("--firmware")) {
            const auto version = parseFirmware(value);
            if (!version)
                return fail(QStringLiteral("ungültige Firmware-Version %1 (Beispiel: 2.00)").arg(value));
            options.firmware = *version;
        } else if (opt == QLatin1String("--extensions")) {
            options.extensions = value.toInt(&ok);
            if (!ok || options.extensions < 1 || options.extensions > 8)
                return fail(QStringLiteral("ungültige Zahl der Nebenstellen %1 (3 oder 8)").arg(value));
        } else if (opt == QLatin1String("--baud")) {
            options.baud = value.toInt(&ok);
            if (!ok || options.baud < 300 || options.baud > 115200)
                return fail(QStringLiteral("ungültige Baudrate %1 (300 bis 115200)").arg(value));
        } else if (opt == QLatin1String("--seed")) {
            options.seed = value.toUInt(&ok);
            if (!ok)
                return fail(QStringLiteral("ungültiger Startwert %1").arg(value));
        } else if (opt == QLatin1String("--demo-interval")) {
            const int seconds = value.toInt(&ok);
            if (!ok || seconds < 0 || seconds > MaxDemoIntervalSeconds)
                return fail(QStringLiteral("ungültige Pause %1 (0 bis 3600 Sekunden)").arg(value));
            options.demoIntervalSeconds = seconds;
        }
    }
    return options;
}

QString SimOptions::defaultLinkPath()
{
    const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtimeDir.isEmpty())
        return runtimeDir + QStringLiteral("/kavex-sim");
    return QStringLiteral("/tmp/kavex-sim-%1").arg(getuid());
}

QString SimOptions::helpText()
{
    return QStringLiteral(
        "Aufruf: kavex-sim [--link PFAD] [--image DATEI.KVX] [--firmware 1.93|1.95|1.98|2.00]\n"
        "                  [--extensions 3|8] [--baud 9600] [--log DATEI] [--mute] [--demo] [--seed N]\n"
        "                  [--demo-interval S] [--verbose]\n"
        "\n"
        "Eine simulierte Telefonanlage Kavex K3/K8 an einem Pseudo-Terminal.\n"
        "\n"
        "Optionen:\n"
        "  --link PFAD        symbolischer Link auf das Pseudo-Terminal, das das Programm als\n"
        "                     serielle Schnittstelle öffnet. Vorgabe: $XDG_RUNTIME_DIR/kavex-sim,\n"
        "                     ohne XDG_RUNTIME_DIR /tmp/kavex-sim-UID. Ein alter Link wird ersetzt,\n"
        "                     eine andere Datei dort nicht.\n"
        "  --image DATEI.KVX  mit dieser Konfigurationsdatei beginnen (die ersten 1024 Bytes); ohne:\n"
        "                     die eingebaute Anlage (MSNs mit Zuordnung, Rufumleitungen, PINs,\n"
        "                     Anklopfen, Gebührenzähler, Kurzwahlen 301-308).\n"
        "  --firmware X.YY    Firmware-Version (Grundkonfiguration Bytes 4 und 5); unter 2.00\n"
        "                     Endgerätedaten im 24-Byte-Raster und keine Kurzwahlen. Vorgabe 2.00\n"
        "                     (mit --image: die der Datei).\n"
        "  --extensions N     Zahl der Nebenstellen 1-8 (Byte 2). Vorgabe 8 (mit --image: die der\n"
        "                     Datei).\n"
        "  --baud N           Baudrate; die Anlage sendet 10 Bitzeiten je Byte. Vorgabe 9600.\n"
        "  --log DATEI        jede empfangene 4-Byte-Zelle als eine Zeile \"hh:mm:ss.zzz 83 0A 00 00\":\n"
        "                     Ortszeit des ersten Bytes der Zelle mit Millisekunden, dann die Bytes\n"
        "                     hexadezimal. Der Empfang wird ab dem ersten Byte in Zellen zu 4 Bytes\n"
        "                     geteilt; bleibt eine Zelle 500 ms unvollständig, wird sie als kürzere\n"
        "                     Zeile geschrieben und die Zählung beginnt neu. Die Datei wird beim\n"
        "                     Start geleert; jede Zeile wird sofort geschrieben.\n"
        "  --mute             empfangen und protokollieren, aber nie antworten.\n"
        "  --demo             ab und zu Gespräche mit Zustandsmeldungen: Hörer abgenommen (4),\n"
        "                     Wählton (2, Spalte 5), Ziffern (5), Amt belegt (2, Spalte 0/1 und 2/3),\n"
        "                     verbunden, Einheiten zählen hoch, Amt frei, aufgelegt; oder ein\n"
        "                     ankommender Ruf (3).\n"
        "  --seed N           Startwert des Zufalls für --demo (sonst zufällig).\n"
        "  --demo-interval S  feste Pause von S Sekunden (0-3600) vor dem ersten und zwischen zwei\n"
        "                     Gesprächen von --demo; ohne: 5-15 s vor dem ersten, 15-60 s danach.\n"
        "                     Derselbe Startwert gibt bei jeder festen Pause dieselben Gespräche.\n"
        "  --verbose          auf stderr melden, was die Anlage tut.\n"
        "\n"
        "Ablauf: Nach dem Start steht der Pfad des Pseudo-Terminals (/dev/pts/N) als erste Zeile auf\n"
        "stdout. SIGTERM, SIGINT und SIGHUP beenden die Anlage; der Link wird dann entfernt.\n"
        "Schließt das Programm die Schnittstelle, verwirft die Anlage Angefangenes und Ungesendetes,\n"
        "schaltet die Zustandsmeldungen aus und wartet, bis die Schnittstelle wieder geöffnet wird.\n"
        "\n"
        "Protokoll: Zellen zu 4 Bytes (Kopf 3 = weitere folgen, 0x80 + n = letzte mit n Bytes).\n"
        "  0A 00 00 / 08 00 00 / 06 00 00  Antwort mit Grund-, Endgeräte- bzw. Gebührenbereich als\n"
        "                     300, 500 bzw. 224 Bytes (Art 23, 22, 21; letzte Zelle 0x83).\n"
        "  02 02 00           Quittung 81 12 00 00 (ab Firmware 2.00).\n"
        "  CC 06 03 n FF      Kurzwahl n (1-60): CC 08 03 n d, Ziffern (erste im oberen Halbbyte),\n"
        "                     Babyruf, Kurzwahl, Rufrhythmus, Wahlsperre, mit Nullen auf 33 Bytes\n"
        "                     = 44 Bytes auf der Leitung (ab Firmware 2.00).\n"
        "  DD 00 4E 2B C7 19  Zustandsmeldungen ein (nur mit genau diesem Code); DD 01 ... aus.\n"
        "  DD 03 e 00 s 00    Nebenstelle e (0-7) klingeln lassen (s = 1) oder nicht (s = 0);\n"
        "                     gemeldet als Zustandsmeldung 3.\n"
        "  09 ... (112 Bytes) Grundkonfiguration; Bytes 2, 4 und 5 bleiben die der Anlage.\n"
        "  07 ...             Endgerätedaten, der Reihe nach ab Nebenstelle 21 nach der\n"
        "                     Grundkonfiguration (27 Bytes ab Firmware 2.00, sonst 22).\n"
        "  0C                 Ende: erst jetzt gilt die geschriebene Konfiguration.\n"
        "  05 ...             Gebühreneinheiten (17 Bytes ab Firmware 2.00, sonst 129).\n"
        "  CC 05 09 n d ...   Kurzwahl n speichern.\n"
        "  Nutzdaten anderer Art oder Länge werden ignoriert. Die Antwort beginnt 20 ms nach der\n"
        "  Anfrage; zwischen zwei Sendungen der Anlage liegen mindestens 150 ms Pause.\n"
        "\n"
        "Exit-Status: 0 beendet, 1 Aufruf- oder Dateifehler, 2 Pseudo-Terminal nicht verfügbar.\n");
}
