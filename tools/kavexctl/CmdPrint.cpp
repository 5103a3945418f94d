#include "ConfigReport.h"
#include "CtlCommand.h"
#include "CtlConfigFile.h"
#include "CtlLink.h"
#include "CtlSpeedDials.h"

#include "PrintoutPainter.h"
#include "charges/ChargeCosts.h"
#include "common/MessageTable.h"
#include "config/BaseConfig.h"
#include "config/ExtensionConfig.h"
#include "config/SpeedDialCodec.h"
#include "config/SpeedDialList.h"
#include "shell/ChargeSettings.h"
#include "shell/PrintoutContent.h"
#include "shell/ProgramDirs.h"
#include "shell/Settings.h"
#include "shell/SettingsLocation.h"
#include "shell/SettingsSpeedDialStore.h"

#include <QDateTime>

namespace {

const QString Usage =
    QStringLiteral("Aufruf: kavexctl print DATEI.KVX --pdf AUSGABE.pdf [--mode 0|1|2] [--speeddials-from-settings]");

struct PrintArgs
{
    QString file;
    QString pdf;
    PrintMode mode = PrintMode::Configuration;
    bool speedDialsFromSettings = false;
};

std::optional<PrintArgs> parse(const QStringList& args)
{
    PrintArgs parsed;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--pdf") && i + 1 < args.size()) {
            parsed.pdf = args[++i];
        } else if (arg == QLatin1String("--mode") && i + 1 < args.size()) {
            bool ok = false;
            const int mode = args[++i].toInt(&ok);
            if (!ok || mode < 0 || mode > 2)
                return std::nullopt;
            parsed.mode = static_cast<PrintMode>(mode);
        } else if (arg == QLatin1String("--speeddials-from-settings")) {
            parsed.speedDialsFromSettings = true;
        } else if (parsed.file.isEmpty() && !arg.startsWith(QLatin1String("--"))) {
            parsed.file = arg;
        } else {
            return std::nullopt;
        }
    }
    if (parsed.file.isEmpty() || parsed.pdf.isEmpty())
        return std::nullopt;
    return parsed;
}

// The list as the settings file names it, with its stored numbers and no attributes.
void fillFromSettings(SpeedDialList& list, const SpeedDialStore& store)
{
    for (int n = 1; n <= SpeedDialCodec::EntryCount; ++n)
        list.applyEntry({n, store.storedNumber(n), 0});
}

// The configuration file's pages into a PDF: units and costs from its charge region at the
// settings' price; the speed dials from the exchange, or from the settings file.
int runPrint(const CtlOptions& options, const QStringList& args)
{
    const std::optional<PrintArgs> parsed = parse(args);
    if (!parsed) {
        ctlError(Usage);
        return ExitUsage;
    }
    int loadStatus = ExitOk;
    std::optional<ConfigImage> image = loadSupportedConfigFile(parsed->file, loadStatus);
    if (!image)
        return loadStatus;
    BaseConfig base(*image);
    ExtensionConfig extensions(*image, base);
    base.decode();
    extensions.decode();
    if (parsed->mode == PrintMode::SpeedDials && !base.speedDialsAvailable()) {
        ctlError(MessageTable::text(Msg::NoSpeedDials));
        return ExitFirmware;
    }

    const ProgramDirs dirs(options.dir);
    Settings settings(SettingsLocation::resolve(dirs));
    SettingsSpeedDialStore store(settings);
    SpeedDialList list(store);
    const bool withSpeedDials = printsSpeedDials(parsed->mode) && base.speedDialsAvailable();
    if (withSpeedDials && parsed->speedDialsFromSettings) {
        fillFromSettings(list, store);
    } else if (withSpeedDials) {
        if (const int status = ctlReadSpeedDials(options, list); status != ExitOk)
            return status;
    }

    const ChargeCosts charges =
        ChargeCosts::holdsCharges(*image) ? ChargeCosts(*image, ChargeSettings::read(settings)) : ChargeCosts();
    const PrintoutContent::Sources sources{base,
                                           extensions,
                                           charges,
                                           withSpeedDials ? &list : nullptr,
                                           ConfigReport::extensionNames(options),
                                           settings.printWithBorder(),
                                           QDateTime::currentDateTime()};
    if (!PrintoutPainter::writePdf(PrintoutContent::compose(parsed->mode, sources), parsed->pdf)) {
        ctlError(MessageTable::text(Msg::FileNotOpened, parsed->pdf));
        return ExitUsage;
    }
    return ExitOk;
}

const CtlRegistrar registrar({"print", "print DATEI.KVX --pdf AUSGABE.pdf [--mode 0|1|2] [--speeddials-from-settings]",
                              runPrint, true});

} // namespace
