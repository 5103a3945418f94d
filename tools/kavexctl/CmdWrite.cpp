#include "CtlCommand.h"
#include "CtlLink.h"

#include "config/ConfigFile.h"
#include "config/Firmware.h"
#include "shell/MessageTable.h"

namespace {

constexpr int MsgFileNotOpened = 32;
constexpr int MsgFirmwareTooOld = 31;

// Writes a configuration file to the exchange. The paces, record lengths and charge bytes follow
// the firmware in the file's base region; with --units the unit counters sent are the file's,
// since kavexctl keeps no counters of its own.
int runWrite(const CtlOptions& options, const QStringList& args)
{
    QString path;
    bool units = false;
    bool usable = true;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--units"))
            units = true;
        else if (path.isEmpty() && !arg.startsWith(QLatin1String("--")))
            path = arg;
        else
            usable = false;
    }
    if (!usable || path.isEmpty()) {
        ctlError(QStringLiteral("Aufruf: kavexctl write DATEI.KVX [--units]"));
        return ExitUsage;
    }
    const std::optional<ConfigImage> image = ConfigFile::read(path);
    if (!image) {
        ctlError(MessageTable::text(MsgFileNotOpened).replace(QLatin1String("%s"), path));
        return ExitUsage;
    }
    if (!Firmware::supported(Firmware::version(*image))) {
        ctlError(MessageTable::text(MsgFirmwareTooOld));
        return ExitFirmware;
    }
    CtlLink link(options);
    if (const int status = link.open(); status != ExitOk)
        return status;
    link.image() = *image;
    if (!link.link().write(units)) {
        ctlError(MessageTable::text(36).replace(QLatin1String("%s"), link.link().portName()));
        return ExitComm;
    }
    return ExitOk;
}

const CtlRegistrar registrar({"write", "write DATEI.KVX [--units]", runWrite});

} // namespace
