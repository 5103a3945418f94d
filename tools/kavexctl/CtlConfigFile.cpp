#include "CtlConfigFile.h"

#include "CtlCommand.h"
#include "CtlLink.h"

#include "common/MessageTable.h"
#include "config/ConfigFile.h"
#include "image/Firmware.h"

std::optional<CtlFileArgs> parseFileArgs(const QStringList& args, const QString& flag)
{
    CtlFileArgs parsed;
    for (const QString& arg : args) {
        if (arg == flag)
            parsed.flag = true;
        else if (parsed.path.isEmpty() && !arg.startsWith(QLatin1String("--")))
            parsed.path = arg;
        else
            return std::nullopt;
    }
    if (parsed.path.isEmpty())
        return std::nullopt;
    return parsed;
}

std::optional<ConfigImage> loadSupportedConfigFile(const QString& path, int& exitStatus)
{
    const std::optional<ConfigImage> image = ConfigFile::read(path);
    if (!image) {
        ctlError(MessageTable::text(Msg::FileNotOpened).replace(QLatin1String("%s"), path));
        exitStatus = ExitUsage;
        return std::nullopt;
    }
    if (!Firmware::supported(Firmware::version(*image))) {
        ctlError(MessageTable::text(Msg::FirmwareTooOld));
        exitStatus = ExitFirmware;
        return std::nullopt;
    }
    exitStatus = ExitOk;
    return image;
}
