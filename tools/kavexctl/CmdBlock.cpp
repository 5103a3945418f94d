#include "CtlCommand.h"
#include "CtlLink.h"

#include "common/PrintableText.h"
#include "shell/CallBlocking.h"
#include "shell/ProgramDirs.h"
#include "shell/Settings.h"
#include "shell/SettingsLocation.h"

namespace {

// The list of the program directory; a running program reads it again before the next call.
struct BlockFile
{
    explicit BlockFile(const CtlOptions& options)
        : dirs(options.dir), settings(SettingsLocation::resolve(dirs)), blocking(settings, dirs.programDir())
    {}

    ProgramDirs dirs;
    Settings settings;
    CallBlocking blocking;
};

int runBlock(const CtlOptions& options, const QStringList& args)
{
    const QString usage = QStringLiteral("Aufruf: kavexctl block NUMMER [--note TEXT] | block --withheld on|off");
    QString number, note, withheld;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--note") && i + 1 < args.size())
            note = args[++i];
        else if (args[i] == QLatin1String("--withheld") && i + 1 < args.size())
            withheld = args[++i];
        else if (number.isEmpty() && !args[i].startsWith(QLatin1String("--")))
            number = args[i];
        else {
            ctlError(usage);
            return ExitUsage;
        }
    }
    BlockFile file(options);
    if (!withheld.isEmpty()) {
        if (!number.isEmpty() || !note.isEmpty() ||
            (withheld != QLatin1String("on") && withheld != QLatin1String("off"))) {
            ctlError(usage);
            return ExitUsage;
        }
        return file.blocking.setBlockWithheld(withheld == QLatin1String("on")) ? ExitOk : ExitUsage;
    }
    if (number.isEmpty()) {
        ctlError(usage);
        return ExitUsage;
    }
    if (!file.blocking.add({number, note})) {
        ctlError(QStringLiteral("kavexctl: ") + file.blocking.problem());
        return ExitUsage;
    }
    return ExitOk;
}

int runUnblock(const CtlOptions& options, const QStringList& args)
{
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--"))) {
        ctlError(QStringLiteral("Aufruf: kavexctl unblock NUMMER"));
        return ExitUsage;
    }
    BlockFile file(options);
    if (!file.blocking.remove(args[0])) {
        ctlError(QStringLiteral("kavexctl: ") + file.blocking.problem());
        return ExitUsage;
    }
    return ExitOk;
}

// One entry a line, number and note separated by a tab, as the file holds them; the option for
// withheld numbers first.
int runBlocked(const CtlOptions& options, const QStringList& args)
{
    if (!args.isEmpty()) {
        ctlError(QStringLiteral("Aufruf: kavexctl blocked"));
        return ExitUsage;
    }
    BlockFile file(options);
    const BlockList& list = file.blocking.list();
    if (!file.blocking.readProblem().isEmpty()) {
        ctlError(QStringLiteral("kavexctl: ") + file.blocking.readProblem());
        return ExitUsage;
    }
    ctlPrint(QStringLiteral("# Unterdrückte Rufnummern: ") +
             (file.blocking.blockWithheld() ? QStringLiteral("gesperrt") : QStringLiteral("nicht gesperrt")));
    for (const BlockList::Entry& entry : list.entries()) {
        const QString number = PrintableText::escaped(entry.number);
        ctlPrint(entry.note.isEmpty() ? number : number + QLatin1Char('\t') + PrintableText::escaped(entry.note));
    }
    if (list.skipped() > 0)
        ctlError(QStringLiteral("kavexctl: %1 Zeilen ohne Rufnummer in %2").arg(list.skipped()).arg(file.blocking.path()));
    return ExitOk;
}

const CtlRegistrar block({"block", "block NUMMER [--note TEXT] | block --withheld on|off", runBlock});
const CtlRegistrar unblock({"unblock", "unblock NUMMER", runUnblock});
const CtlRegistrar blocked({"blocked", "blocked", runBlocked});

} // namespace
