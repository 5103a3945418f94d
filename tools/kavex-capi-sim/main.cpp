#include "CallOffer.h"
#include "SimClient.h"
#include "SimEnvironment.h"
#include "common/ProgramVersion.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char HelpText[] =
    "Aufruf: kavex-capi-sim call NUMMER MSN [--cip N] [--type national|international|unknown]\n"
    "                       [--ring S]\n"
    "        kavex-capi-sim hangup [NUMMER]\n"
    "\n"
    "Steuert den simulierten CAPI-Controller, eine Bibliothek mit der Schnittstelle von\n"
    "libcapi20.so.3 (libkavex-capi-sim.so neben diesem Programm). WinKavex lädt sie statt der\n"
    "echten CAPI mit WINKAVEX_CAPI_LIBRARY=PFAD/libkavex-capi-sim.so. Der Controller 1\n"
    "(\"Kavex CAPI-Simulator\", CAPI 2.0) meldet ankommende Rufe, wie ein ISDN-Controller es tut:\n"
    "CONNECT_IND, ALERT_CONF, nach Annahme CONNECT_ACTIVE_IND und CONNECT_B3_IND, nach Abweisen,\n"
    "Ignorieren oder Auflegen des Anrufers DISCONNECT_IND.\n"
    "\n"
    "Befehle:\n"
    "  call NUMMER MSN    ein ankommender Ruf von NUMMER an MSN. NUMMER \"-\" unterdrückt die\n"
    "                     Rufnummer. Ohne --type entscheidet die Vorwahl: \"+\" oder \"00\"\n"
    "                     international, \"0\" national, sonst unbekannt; sie wird wie im ISDN\n"
    "                     weggelassen (0221 4711 kommt als national 2214711 an).\n"
    "    --cip N          Dienst (CIP-Wert), Vorgabe 1 (Sprache); 16 Telefonie, 17 Fax G2/G3.\n"
    "    --type T         Art der Nummer: national, international oder unknown.\n"
    "    --ring S         der Anrufer legt nach S Sekunden auf; ohne: erst bei \"hangup\".\n"
    "  hangup [NUMMER]    alle Anrufer legen auf (DISCONNECT_IND, Normal call clearing), mit\n"
    "                     NUMMER nur dieser (geschrieben wie bei call, \"-\" der ohne Nummer).\n"
    "\n"
    "Umgebung (gelesen von der Bibliothek):\n"
    "  KAVEX_CAPI_SIM_SOCKET     Steuer-Socket; Vorgabe $XDG_RUNTIME_DIR/kavex-capi-sim, ohne\n"
    "                            XDG_RUNTIME_DIR /tmp/kavex-capi-sim-UID. Gilt auch für diesen Befehl.\n"
    "  KAVEX_CAPI_SIM_DEMO=S     alle S Sekunden ein Ruf aus einer kleinen Liste von Anrufern an\n"
    "                            die MSNs von kavex-sim; der Anrufer legt nach S/2 Sekunden (2-8)\n"
    "                            auf. Läuft noch ein Ruf, fällt der nächste aus.\n"
    "  KAVEX_CAPI_SIM_LOG=DATEI  jede Nachricht der Anwendung als Zeile \"hh:mm:ss.zzz 1D 00 ...\"\n"
    "                            (Ortszeit, Bytes hexadezimal); geleert beim ersten Schreiben.\n"
    "  KAVEX_CAPI_SIM_NOT_INSTALLED=1       capi20_isinstalled meldet $1009.\n"
    "  KAVEX_CAPI_SIM_REGISTER_ERROR=CODE   capi20_register scheitert mit CODE (z. B. 0x1008).\n"
    "  KAVEX_CAPI_SIM_RELEASE_ERROR=CODE    capi20_release scheitert mit CODE.\n"
    "  KAVEX_CAPI_SIM_HANG_ON_RELEASE=1     ein Warten auf Nachrichten kehrt nach dem Abmelden\n"
    "                                       nie zurück.\n"
    "  KAVEX_CAPI_SIM_SILENT_RELEASE=1      das Abmelden weckt kein Warten auf Nachrichten: eines\n"
    "                                       mit Zeitgrenze kehrt erst nach ihr zurück, eines ohne nie.\n"
    "  KAVEX_CAPI_SIM_NO_CONTROLLER_INFO=1  capi20_get_manufacturer und capi20_get_version\n"
    "                                       scheitern.\n"
    "\n"
    "Ende: 0 ausgeführt, 1 vom Controller abgelehnt oder falscher Aufruf, 2 kein Controller am\n"
    "Socket.\n";

int usage(const std::string& error)
{
    std::fprintf(stderr, "kavex-capi-sim: %s\n(kavex-capi-sim --help zeigt den Aufruf)\n", error.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return usage("Befehl fehlt");
    if (args[0] == "--help" || args[0] == "-h") {
        std::fputs(HelpText, stdout);
        return 0;
    }
    if (args[0] == "--version") {
        std::printf("kavex-capi-sim %s (%s)\n", ProgramVersion::Number, ProgramVersion::Date);
        return 0;
    }
    std::string line;
    if (args[0] == "hangup" && args.size() <= 2) {
        line = "hangup";
        if (args.size() == 2) {
            const auto caller = parseCallArguments({args[1], "0"}, nullptr);
            if (!caller)
                return usage("NUMMER besteht aus Ziffern");
            line += ' ' + (caller->number.empty() ? std::string("-") : caller->number);
        }
    } else if (args[0] == "call") {
        std::string error;
        const auto call = parseCallArguments(std::vector<std::string>(args.begin() + 1, args.end()), &error);
        if (!call)
            return usage(error);
        line = toLine(*call);
    } else {
        return usage("unbekannter Befehl " + args[0]);
    }
    std::string problem;
    const std::string socketPath = SimEnvironment::socketPath(&problem);
    if (socketPath.empty()) {
        std::fprintf(stderr, "kavex-capi-sim: kein Steuer-Socket: %s\n", problem.c_str());
        return 2;
    }
    const auto answer = sendToController(socketPath, line);
    if (!answer) {
        std::fprintf(stderr, "kavex-capi-sim: kein simulierter CAPI-Controller an %s\n", socketPath.c_str());
        return 2;
    }
    std::printf("%s\n", answer->c_str());
    return answer->rfind("ok", 0) == 0 ? 0 : 1;
}
