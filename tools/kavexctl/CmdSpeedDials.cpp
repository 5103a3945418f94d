#include "ConfigReport.h"
#include "CtlCommand.h"
#include "CtlLink.h"
#include "CtlSpeedDials.h"

#include "common/PrintableText.h"
#include "config/SpeedDialList.h"
#include "shell/ProgramDirs.h"
#include "shell/Settings.h"
#include "shell/SettingsLocation.h"
#include "shell/SettingsSpeedDialStore.h"

namespace {

// The speed-dial list, named and compared with the stored numbers of the settings file.
int runSpeedDials(const CtlOptions& options, const QStringList& args)
{
    const bool json = args == QStringList{QStringLiteral("--json")};
    if (!args.isEmpty() && !json) {
        ctlError(QStringLiteral("Aufruf: kavexctl speeddials [--json]"));
        return ExitUsage;
    }
    const ProgramDirs dirs(options.dir);
    Settings settings(SettingsLocation::resolve(dirs));
    SettingsSpeedDialStore store(settings);
    SpeedDialList list(store);
    if (const int status = ctlReadSpeedDials(options, list); status != ExitOk)
        return status;
    if (json)
        ctlPrint(QString::fromUtf8(ConfigReport::speedDialsJson(list)));
    else
        std::fputs(PrintableText::escapedLines(ConfigReport::speedDialsText(list)).toUtf8().constData(), stdout);
    return ExitOk;
}

const CtlRegistrar registrar({"speeddials", "speeddials [--json]", runSpeedDials});

} // namespace
