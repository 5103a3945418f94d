#include "ConfigReport.h"
#include "CtlCommand.h"
#include "CtlLink.h"

#include "common/MessageTable.h"
#include "config/SpeedDialList.h"
#include "config/SpeedDialTransfer.h"
#include "shell/ProgramDirs.h"
#include "shell/Settings.h"
#include "shell/SettingsLocation.h"
#include "shell/SettingsSpeedDialStore.h"

namespace {

QString withPort(int message, const QString& port)
{
    return MessageTable::text(message, port);
}

// The speed-dial list: a full read (for the firmware and the extension count), then the 60
// entries, named and compared with the stored numbers of the settings file.
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

    CtlLink link(options);
    if (const int status = link.open(); status != ExitOk)
        return status;
    if (const int status = link.read(); status != ExitOk)
        return status;
    // The automatic repeat belongs to the first read only; a later time-out ends with message 4.
    link.link().setFirstRead(false);

    SpeedDialTransfer reader(link.link(), list);
    int result = ExitOk;
    bool done = false;
    QObject::connect(&reader, &SpeedDialTransfer::finished, [&] {
        done = true;
        link.quit();
    });
    QObject::connect(&link.link(), &PbxLink::failed, [&](int message) {
        result = ExitComm;
        done = true;
        ctlError(withPort(message, link.link().portName()));
        link.quit();
    });
    if (reader.start() == SpeedDialTransfer::Start::NotAvailable) {
        ctlError(MessageTable::text(Msg::NoSpeedDials));
        return ExitFirmware;
    }
    if (!done)
        link.run(-1);
    if (!done) { // interrupted
        ctlError(withPort(Msg::CommError, link.link().portName()));
        return ExitComm;
    }
    if (result != ExitOk)
        return result;
    if (json)
        ctlPrint(QString::fromUtf8(ConfigReport::speedDialsJson(list)));
    else
        std::fputs(ConfigReport::speedDialsText(list).toUtf8().constData(), stdout);
    return ExitOk;
}

const CtlRegistrar registrar({"speeddials", "speeddials [--json]", runSpeedDials});

} // namespace
