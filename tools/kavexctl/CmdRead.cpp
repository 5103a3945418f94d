#include "ConfigReport.h"
#include "CtlCommand.h"
#include "CtlLink.h"
#include "CtlRemote.h"

#include "common/PrintableText.h"
#include "config/ConfigFile.h"
#include "image/Firmware.h"
#include "image/ImageLayout.h"

namespace {

// What a finished read prints: one line of JSON, or the summary after the version lines.
void printRead(const ConfigImage& image, bool json, const QStringList& names)
{
    if (json) {
        ctlPrint(QString::fromUtf8(ConfigReport::json(image)));
        return;
    }
    const int firmware = Firmware::version(image);
    ctlPrint(QStringLiteral("Firmware\t%1.%2").arg(firmware / 100).arg(firmware % 100, 2, 10, QLatin1Char('0')));
    ctlPrint(QStringLiteral("Nebenstellen\t%1").arg(ImageLayout::extensionCount(image)));
    ctlPrint(QString());
    std::fputs(PrintableText::escapedLines(ConfigReport::text(image, names)).toUtf8().constData(), stdout);
}

int runRead(const CtlOptions& options, const QStringList& args)
{
    QString savePath;
    bool json = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--save") && i + 1 < args.size()) {
            savePath = args[++i];
        } else if (args[i] == QLatin1String("--json")) {
            json = true;
        } else {
            ctlError(QStringLiteral("Aufruf: kavexctl read [--save DATEI.KVX] [--json]"));
            return ExitUsage;
        }
    }
    ConfigImage image;
    if (const std::optional<CtlRemote> remote = CtlRemote::find(options)) {
        const CtlRemote::Answer answer = remote->call(QStringLiteral("Read"));
        if (answer.status != ExitOk)
            return answer.reported();
        image = ConfigImage::fromBytes(answer.image);
    } else {
        CtlLink link(options);
        if (const int status = link.open(); status != ExitOk)
            return status;
        if (const int status = link.read(); status != ExitOk)
            return status;
        image = link.image();
    }
    if (!savePath.isEmpty()) {
        if (const auto error = ConfigFile::save(savePath, image)) {
            ctlError(*error);
            return ExitUsage;
        }
    }
    printRead(image, json, ConfigReport::extensionNames(options));
    return ExitOk;
}

const CtlRegistrar registrar({"read", "read [--save DATEI.KVX] [--json]", runRead});

} // namespace
