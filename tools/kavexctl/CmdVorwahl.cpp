#include "CtlCommand.h"
#include "CtlLink.h"

#include "shell/VorwahlLibrary.h"

#include <cstdio>

namespace {

// One line per number: the formatted number, a tab, the place. Without the library the number
// stands as given and the place stays empty, as in the program.
int runVorwahl(const CtlOptions& options, const QStringList& args)
{
    if (args.isEmpty()) {
        std::fputs("Aufruf: kavexctl vorwahl NUMMER ...\n", stderr);
        return ExitUsage;
    }
    for (const QString& arg : args) {
        const QString number = arg.trimmed();
        const auto result = options.vorwahl ? options.vorwahl->lookup(number) : std::nullopt;
        ctlPrint(result ? result->formatted + QLatin1Char('\t') + result->place : number + QLatin1Char('\t'));
    }
    return ExitOk;
}

const CtlRegistrar registrar({"vorwahl", "vorwahl NUMMER ...", runVorwahl});

} // namespace
