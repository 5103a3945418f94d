#include "CtlCommand.h"
#include "CtlLink.h"

#include "charges/CallList.h"
#include "charges/CallListExport.h"
#include "charges/CallListFilter.h"
#include "charges/CallLogReader.h"
#include "charges/IncomingCallLog.h"
#include "charges/OutgoingCallLog.h"
#include "common/PrintableText.h"
#include "shell/ProgramDirs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

QDate parseDate(const QString& text)
{
    const QDate german = QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
    return german.isValid() ? german : QDate::fromString(text, Qt::ISODate);
}

// The records of a call log as the lists show them: tab-separated rows, or CSV / JSON for other
// programs; --since keeps the records from that day on, --search those that hold the text.
int runCalls(const CtlOptions& options, const QStringList& args)
{
    const QString usage =
        QStringLiteral("Aufruf: kavexctl calls [--in|--out] [--since TT.MM.JJJJ] [--search TEXT] [--csv|--json]");
    bool incoming = false, csv = false, json = false;
    QDate since;
    QString search;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--in") || arg == QLatin1String("--out")) {
            incoming = arg == QLatin1String("--in");
        } else if (arg == QLatin1String("--csv") || arg == QLatin1String("--json")) {
            (arg == QLatin1String("--csv") ? csv : json) = true;
        } else if (arg == QLatin1String("--since") && i + 1 < args.size()) {
            since = parseDate(args[++i]);
            if (!since.isValid()) {
                ctlError(QStringLiteral("Kein Datum: %1").arg(args[i]));
                return ExitUsage;
            }
        } else if (arg == QLatin1String("--search") && i + 1 < args.size()) {
            search = args[++i];
        } else {
            ctlError(usage);
            return ExitUsage;
        }
    }
    if (csv && json) {
        ctlError(usage);
        return ExitUsage;
    }
    const QString path = ProgramDirs(options.dir).programDir() +
                         (incoming ? QStringLiteral("/WinKavex.in") : QStringLiteral("/WinKavex.out"));
    CallLogReader::Result loaded =
        CallLogReader::load(path, incoming ? CallLogReader::incoming() : CallLogReader::outgoing(), since);
    if (loaded.error != 0 && loaded.error != ENOENT) {
        ctlError(QStringLiteral("%1 nicht lesbar: %2").arg(path, QString::fromLocal8Bit(std::strerror(loaded.error))));
        return ExitComm;
    }
    CallList list(incoming ? IncomingCallLog::columns() : OutgoingCallLog::columns());
    list.replaceAll(std::move(loaded.rows));
    CallListFilter filter(list);
    filter.setSearch(search);
    if (csv || json) {
        const QByteArray bytes = csv ? CallListExport::csv(filter) : CallListExport::json(filter);
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        return ExitOk;
    }
    for (int row = 0; row < filter.rowCount(); ++row) {
        QStringList fields;
        for (int column = 0; column < filter.columnCount(); ++column)
            fields << PrintableText::escaped(filter.index(row, column).data().toString());
        ctlPrint(fields.join(QLatin1Char('\t')));
    }
    return ExitOk;
}

const CtlRegistrar registrar({"calls", "calls [--in|--out] [--since TT.MM.JJJJ] [--search TEXT] [--csv|--json]",
                              runCalls});

} // namespace
