#include "CtlCommand.h"
#include "CtlLink.h"

#include "image/Extensions.h"
#include "image/ImageLayout.h"

#include <limits>
#include <optional>

namespace {

using Kind = StateEvents::Effect::Kind;

int extensionNumber(int index)
{
    return Extensions::number(index);
}

QString jsonLine(const EventRecord& r, const StateEvents::Effect& e)
{
    QString line = QStringLiteral("{\"sub\":%1,\"p1\":%2,\"p2\":%3,\"p3\":%4").arg(r.sub).arg(r.p1).arg(r.p2).arg(r.p3);
    switch (e.kind) {
    case Kind::Lamp:
        line += QStringLiteral(",\"lamp\":{\"extension\":%1,\"column\":%2,\"on\":%3}")
                    .arg(extensionNumber(e.extension))
                    .arg(e.column)
                    .arg(e.on ? QStringLiteral("true") : QStringLiteral("false"));
        break;
    case Kind::AllLampsOff:
        line += QStringLiteral(",\"lampsOff\":{\"extension\":%1}").arg(extensionNumber(e.extension));
        break;
    case Kind::Digit:
        // Displays hold digits and "-" only.
        line += QStringLiteral(",\"digit\":{\"extension\":%1,\"display\":\"%2\"}")
                    .arg(extensionNumber(e.extension))
                    .arg(e.display);
        break;
    case Kind::None:
        break;
    }
    return line + u'}';
}

QString textLine(const EventRecord& r, const StateEvents::Effect& e)
{
    const QString fields = QStringLiteral("sub %1 p1 %2 p2 %3 p3 %4").arg(r.sub).arg(r.p1).arg(r.p2).arg(r.p3);
    switch (e.kind) {
    case Kind::Lamp:
        return fields + QStringLiteral("  Lampe %1 Spalte %2 %3")
                            .arg(extensionNumber(e.extension))
                            .arg(e.column)
                            .arg(e.on ? QStringLiteral("an") : QStringLiteral("aus"));
    case Kind::AllLampsOff:
        return fields + QStringLiteral("  Lampen %1 aus").arg(extensionNumber(e.extension));
    case Kind::Digit:
        return fields + QStringLiteral("  Nummer %1: %2").arg(extensionNumber(e.extension)).arg(e.display);
    case Kind::None:
        break;
    }
    return fields + QStringLiteral("  (ignoriert)");
}

struct EventsArgs
{
    int count = -1;   // -1: no limit
    int seconds = -1; // -1: no limit
    bool json = false;
};

// The run time goes to a millisecond timer, so larger values would overflow it.
constexpr int MaxSeconds = std::numeric_limits<int>::max() / 1000;

// A value of its own: -1 would otherwise pass for "no limit".
std::optional<int> number(const QString& text, int lowest, int highest)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

std::optional<EventsArgs> parse(const QStringList& args)
{
    EventsArgs parsed;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == QLatin1String("--json")) {
            parsed.json = true;
        } else if (args[i] == QLatin1String("--count") && hasValue) {
            const auto count = number(args[++i], 1, std::numeric_limits<int>::max());
            if (!count)
                return std::nullopt;
            parsed.count = *count;
        } else if (args[i] == QLatin1String("--seconds") && hasValue) {
            const auto seconds = number(args[++i], 0, MaxSeconds);
            if (!seconds)
                return std::nullopt;
            parsed.seconds = *seconds;
        } else {
            return std::nullopt;
        }
    }
    return parsed;
}

// Every record counts towards --count, the ignored ones too; records that arrive during the
// start-up read are listed as well.
int runEvents(const CtlOptions& options, const QStringList& args)
{
    const auto parsed = parse(args);
    if (!parsed) {
        ctlError(QStringLiteral("Aufruf: kavexctl events [--count N] [--seconds S] [--json]"));
        return ExitUsage;
    }
    CtlLink link(options);
    if (const int status = link.open(); status != ExitOk)
        return status;
    int listed = 0;
    QObject::connect(&link.link(), &PbxLink::stateEventRecord,
                     [&](const EventRecord& record, const StateEvents::Effect& effect) {
                         if (parsed->count > 0 && listed >= parsed->count)
                             return;
                         ctlPrint(parsed->json ? jsonLine(record, effect) : textLine(record, effect));
                         if (++listed == parsed->count && !link.readPending())
                             link.quit();
                     });
    if (const int status = link.startUp(); status != ExitOk)
        return status;
    if (parsed->count < 0 || listed < parsed->count)
        link.run(parsed->seconds >= 0 ? parsed->seconds * 1000 : -1);
    return ExitOk;
}

const CtlRegistrar registrar({"events", "events [--count N] [--seconds S] [--json]", runEvents});

} // namespace
