#include "ConfigReport.h"
#include "CtlCommand.h"
#include "CtlConfigFile.h"
#include "CtlLink.h"
#include "common/PrintableText.h"

namespace {

// Extension names come from the settings file: none of their control characters reach the terminal.
QByteArray report(const ConfigImage& image, const CtlOptions& options)
{
    return PrintableText::escapedLines(ConfigReport::text(image, ConfigReport::extensionNames(options))).toUtf8();
}

int runDecode(const CtlOptions& options, const QStringList& args)
{
    const std::optional<CtlFileArgs> parsed = parseFileArgs(args, QStringLiteral("--json"));
    if (!parsed) {
        ctlError(QStringLiteral("Aufruf: kavexctl decode DATEI.KVX [--json]"));
        return ExitUsage;
    }
    const bool json = parsed->flag;
    int loadStatus = ExitOk;
    const std::optional<ConfigImage> image = loadSupportedConfigFile(parsed->path, loadStatus);
    if (!image)
        return loadStatus;
    if (json)
        ctlPrint(QString::fromUtf8(ConfigReport::json(*image)));
    else
        std::fputs(report(*image, options).constData(), stdout);
    return ExitOk;
}

const CtlRegistrar registrar({"decode", "decode DATEI.KVX [--json]", runDecode});

} // namespace
