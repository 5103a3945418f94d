#include "CtlCommand.h"
#include "CtlConfigFile.h"
#include "CtlLink.h"
#include "CtlPassword.h"
#include "CtlRemote.h"

#include "common/MessageTable.h"

namespace {

// Writes a configuration file to the exchange. The paces, record lengths and charge bytes follow
// the firmware in the file's base region; with --units the unit counters sent are the file's,
// since kavexctl keeps no counters of its own. A configuration password, when set, is asked for
// first (on the terminal, or from standard input with --password-stdin); nothing is sent without it.
int runWrite(const CtlOptions& options, const QStringList& arguments)
{
    QStringList args = arguments;
    const bool passwordFromStdin = args.removeAll(QStringLiteral("--password-stdin")) > 0;
    const std::optional<CtlFileArgs> parsed = parseFileArgs(args, QStringLiteral("--units"));
    if (!parsed) {
        ctlError(QStringLiteral("Aufruf: kavexctl write DATEI.KVX [--units] [--password-stdin]"));
        return ExitUsage;
    }
    const bool units = parsed->flag;
    int loadStatus = ExitOk;
    const std::optional<ConfigImage> image = loadSupportedConfigFile(parsed->path, loadStatus);
    if (!image)
        return loadStatus;
    const CtlPassword::WritePassword password = CtlPassword::checkForWrite(options, passwordFromStdin);
    if (password.status != ExitOk)
        return password.status;
    if (const std::optional<CtlRemote> remote = CtlRemote::find(options)) {
        return remote->call(QStringLiteral("Write"), {image->toByteArray(), units, password.text}).reported();
    }
    CtlLink link(options);
    if (const int status = link.open(); status != ExitOk)
        return status;
    link.image() = *image;
    std::optional<bool> written;
    QObject::connect(&link.link(), &PbxLink::writeFinished, [&](bool ok) {
        written = ok;
        link.quit();
    });
    link.link().write(units);
    if (!written)
        link.run(-1);
    if (link.interrupted())
        return link.interruptedStatus();
    if (!written || !*written) {
        ctlError(MessageTable::text(Msg::CannotWritePort, link.link().portName()));
        return ExitComm;
    }
    return ExitOk;
}

const CtlRegistrar registrar({"write", "write DATEI.KVX [--units] [--password-stdin]", runWrite});

} // namespace
