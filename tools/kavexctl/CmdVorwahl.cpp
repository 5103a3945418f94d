#include "CtlCommand.h"

#include "shell/VorwahlLibrary.h"

#include <cstdio>

namespace {

void printLine(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

// One line per number: the formatted number, a tab, the place. Without the library the number
// stands as given and the place stays empty, as in the program.
int runVorwahl(const CtlOptions& /*options*/, const QStringList& args)
{
    if (args.isEmpty()) {
        std::fputs("Aufruf: kavexctl vorwahl NUMMER ...\n", stderr);
        return ExitUsage;
    }
    VorwahlLibrary library;
    library.load();
    for (const QString& arg : args) {
        const QString number = arg.trimmed();
        const auto result = library.lookup(number);
        printLine(result ? result->formatted + QLatin1Char('\t') + result->place : number + QLatin1Char('\t'));
    }
    std::fflush(stdout);
    return ExitOk;
}

const CtlRegistrar registrar({"vorwahl", "vorwahl NUMMER ...", runVorwahl});

} // namespace
