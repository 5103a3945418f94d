#include "ConfigReport.h"
#include "CtlCommand.h"
#include "CtlLink.h"

#include "config/ConfigFile.h"
#include "config/Firmware.h"
#include "shell/MessageTable.h"

namespace {

constexpr int MsgFileNotOpened = 32;
constexpr int MsgFirmwareTooOld = 31;

int runDecode(const CtlOptions& options, const QStringList& args)
{
    QString path;
    bool json = false;
    bool usable = true;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--json"))
            json = true;
        else if (path.isEmpty() && !arg.startsWith(QLatin1String("--")))
            path = arg;
        else
            usable = false;
    }
    if (!usable || path.isEmpty()) {
        ctlError(QStringLiteral("Aufruf: kavexctl decode DATEI.KVX [--json]"));
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
    if (json)
        ctlPrint(QString::fromUtf8(ConfigReport::json(*image)));
    else
        std::fputs(ConfigReport::text(*image, ConfigReport::extensionNames(options)).toUtf8().constData(), stdout);
    return ExitOk;
}

const CtlRegistrar registrar({"decode", "decode DATEI.KVX [--json]", runDecode});

} // namespace
