#include "CtlCommand.h"
#include "CtlLink.h"
#include "CtlRemote.h"

#include "common/MessageTable.h"
#include "image/Extensions.h"
#include "shell/WakeUp.h"

#include <optional>

namespace {

struct RingArgs
{
    int extension = 0;
    int seconds = 10;
};

std::optional<RingArgs> parseRingArgs(const QStringList& args)
{
    RingArgs parsed;
    bool ok = args.size() == 1 || (args.size() == 3 && args.at(1) == QLatin1String("--seconds"));
    if (ok)
        parsed.extension = args.at(0).toInt(&ok);
    if (ok && args.size() == 3)
        parsed.seconds = args.at(2).toInt(&ok);
    if (!ok || !Extensions::isNumber(parsed.extension) || parsed.seconds < WakeUp::MinDuration ||
        parsed.seconds > WakeUp::MaxDuration)
        return std::nullopt;
    return parsed;
}

// Rings one extension as a wake-up call does: select and start, the duration, select and stop.
// Every command is tried; each refused one is reported and makes the exit status 2.
int runRing(const CtlOptions& options, const QStringList& args)
{
    const std::optional<RingArgs> parsed = parseRingArgs(args);
    if (!parsed) {
        ctlError(QStringLiteral("Aufruf: kavexctl ring NEBENSTELLE [--seconds 5..60] (Nebenstelle 21..28)"));
        return ExitUsage;
    }
    if (const std::optional<CtlRemote> remote = CtlRemote::find(options)) {
        return remote->call(QStringLiteral("Ring"), {parsed->extension, parsed->seconds}).reported();
    }
    CtlLink link(options);
    if (const int status = link.open(); status != ExitOk)
        return status;
    int refused = 0;
    QObject::connect(&link.link(), &PbxLink::status, [&refused](int number, StatusLevel, const QString& arg) {
        if (number == Msg::CannotWritePort) {
            ++refused;
            ctlError(MessageTable::text(number, arg));
        }
    });
    bool finished = false;
    QObject::connect(&link.link(), &PbxLink::ringFinished, [&] {
        finished = true;
        link.quit();
    });
    link.link().ring({Extensions::index(parsed->extension)}, parsed->seconds);
    if (!finished)
        link.run(-1);
    if (link.interrupted())
        return link.interruptedStatus();
    return refused == 0 ? ExitOk : ExitComm;
}

const CtlRegistrar registrar({"ring", "ring NEBENSTELLE [--seconds S]", runRing});

} // namespace
