#include "CtlCommand.h"
#include "CtlLink.h"

#include "MonthlyReportPainter.h"
#include "charges/MonthlyReportExport.h"
#include "common/FileMessages.h"
#include "common/PrintableText.h"
#include "shell/MonthlyReportInputs.h"
#include "shell/ProgramDirs.h"
#include "shell/Settings.h"
#include "shell/SettingsLocation.h"

#include <QDateTime>
#include <QFileInfo>

#include <cstdio>

namespace {

const QString Usage = QStringLiteral("Aufruf: kavexctl report [--month JJJJ-MM] [--csv|--json|--pdf AUSGABE.pdf]");

enum class Output
{
    Text,
    Csv,
    Json,
    Pdf
};

struct ReportArgs
{
    QDate month = QDate::currentDate().addMonths(-1); // the previous calendar month
    Output output = Output::Text;
    QString pdf;
};

// Nothing, after the reason has been printed.
std::optional<ReportArgs> parse(const QStringList& args)
{
    ReportArgs parsed;
    bool chosen = false;
    auto choose = [&](Output output) {
        const bool twice = chosen;
        chosen = true;
        parsed.output = output;
        return !twice;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        bool ok = true;
        if (arg == QLatin1String("--month") && i + 1 < args.size()) {
            parsed.month = MonthlyReport::parseMonth(args[++i]);
            if (!parsed.month.isValid()) {
                ctlError(QStringLiteral("Kein Monat: %1 (erwartet JJJJ-MM, etwa 2026-11)")
                             .arg(PrintableText::escaped(args[i])));
                return std::nullopt;
            }
        } else if (arg == QLatin1String("--csv")) {
            ok = choose(Output::Csv);
        } else if (arg == QLatin1String("--json")) {
            ok = choose(Output::Json);
        } else if (arg == QLatin1String("--pdf") && i + 1 < args.size()) {
            ok = choose(Output::Pdf);
            parsed.pdf = args[++i];
        } else {
            ok = false;
        }
        if (!ok) {
            ctlError(Usage);
            return std::nullopt;
        }
    }
    return parsed;
}

bool writeOut(const QByteArray& bytes)
{
    const bool written = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout) ==
                         static_cast<size_t>(bytes.size());
    return std::fflush(stdout) == 0 && written;
}

// A month's units and costs per extension from the history, its outgoing calls and the dialled
// numbers that cost the most; as a table, CSV, JSON or a PDF page in the printout's look.
int runReport(const CtlOptions& options, const QStringList& args)
{
    const std::optional<ReportArgs> parsed = parse(args);
    if (!parsed)
        return ExitUsage;
    const ProgramDirs dirs(options.dir);
    if (!QFileInfo(dirs.programDir()).isDir()) {
        ctlError(QStringLiteral("Programmverzeichnis %1 nicht gefunden").arg(dirs.programDir()));
        return ExitUsage;
    }
    const Settings settings(SettingsLocation::resolve(dirs));
    const MonthlyReportResult result =
        MonthlyReport::read(MonthlyReportInputs::of(dirs.programDir(), settings, parsed->month));
    if (!result.report) {
        ctlError(result.error);
        return ExitUsage;
    }
    const MonthlyReport& report = *result.report;
    if (parsed->output == Output::Pdf) {
        if (MonthlyReportPainter::writePdf({report, settings.printWithBorder(), QDateTime::currentDateTime()},
                                           parsed->pdf))
            return ExitOk;
        ctlError(FileMessages::cannotWrite(parsed->pdf));
        return ExitUsage;
    }
    const QByteArray bytes = parsed->output == Output::Csv    ? MonthlyReportExport::csv(report)
                             : parsed->output == Output::Json ? MonthlyReportExport::json(report)
                                                              : MonthlyReportExport::text(report).toUtf8();
    if (writeOut(bytes))
        return ExitOk;
    ctlError(FileMessages::cannotWrite(QStringLiteral("die Standardausgabe")));
    return ExitUsage;
}

// Pages are drawn only for --pdf, but the command is one: it always runs with fonts.
const CtlRegistrar registrar({"report",
                              "report [--month JJJJ-MM (sonst der Vormonat)] [--csv|--json|--pdf AUSGABE.pdf]",
                              runReport, true});

} // namespace
