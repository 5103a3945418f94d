#include "CtlCommand.h"
#include "CtlLink.h"
#include "CtlRemote.h"

#include "charges/ChargeUpdate.h"
#include "charges/PendingCall.h"
#include "common/FormatPicture.h"
#include "common/MessageTable.h"
#include "image/Extensions.h"
#include "shell/ChargeSettings.h"
#include "shell/ProgramDirs.h"
#include "shell/Settings.h"
#include "shell/SettingsLocation.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

QByteArray json(const ChargeUpdate& update)
{
    QJsonArray units, costs;
    for (int value : update.units())
        units.append(value);
    for (int i = 0; i < update.extensionCount(); ++i)
        costs.append(qRound(update.cost(i) * 100) / 100.0);
    const QJsonObject object{{QStringLiteral("units"), units},
                             {QStringLiteral("costs"), costs},
                             {QStringLiteral("total_units"), update.totalUnits()},
                             {QStringLiteral("total_cost"), qRound(update.totalCost() * 100) / 100.0}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// Units per extension, one line each; with --json also the costs with the settings' price and
// carried-over values. --record runs the charge update on the program directory's history, as the
// program does after a reading (a line when the total changed, the backup before it), for
// recording from cron: a history that could not be read or written makes the exit status 1, so
// that the cron job notices, after the reading has been printed.
int runCharges(const CtlOptions& options, const QStringList& args)
{
    const bool asJson = args.contains(QStringLiteral("--json"));
    const bool record = args.contains(QStringLiteral("--record"));
    if (args.size() != int(asJson) + int(record)) {
        ctlError(QStringLiteral("Aufruf: kavexctl charges [--json] [--record]"));
        return ExitUsage;
    }
    const ProgramDirs dirs(options.dir);
    if (const std::optional<QString> refusal = dirs.refusal(); refusal && record) {
        ctlError(*refusal);
        return ExitComm;
    }
    const Settings settings(SettingsLocation::resolve(dirs));
    // The running program records every reading itself, once; its answer says whether it could.
    const std::optional<CtlRemote> remote = CtlRemote::find(options);
    CtlRemote::Answer answer;
    if (remote) {
        answer = remote->call(QStringLiteral("ReadCharges"));
        if (answer.status != ExitOk && answer.status != ExitUsage)
            return answer.reported();
    }
    QTemporaryDir scratch; // without --record the history is not touched
    const QString history = record && !remote ? dirs.programDir() + QStringLiteral("/WinKavex.dat")
                                              : scratch.filePath(QStringLiteral("WinKavex.dat"));
    CtlLink link(options);
    PendingCall call(link.link().stateEvents(), link.link(), SystemClock::instance());
    ChargeUpdate update(link.image(), call, SystemClock::instance(), history);
    update.setPrices(ChargeSettings::read(settings));
    QObject::connect(&link.link(), &PbxLink::chargesReceived, &update, &ChargeUpdate::run);
    bool historyFailed = false;
    QObject::connect(&update, &ChargeUpdate::statusText, [&](StatusLevel level, const QString& text) {
        if (record && level == StatusLevel::Error) {
            historyFailed = true;
            ctlError(text);
        }
    });
    QObject::connect(&update, &ChargeUpdate::status, [&](int number, StatusLevel level, const QString& arg) {
        if (record && level == StatusLevel::Error) {
            historyFailed = true;
            ctlError(MessageTable::text(number, arg));
        }
    });
    if (remote) {
        link.image() = ConfigImage::fromBytes(answer.image);
        update.run();
        if (answer.status == ExitUsage && record) {
            historyFailed = true;
            ctlError(answer.message);
        }
    } else {
        if (const int status = link.open(); status != ExitOk)
            return status;
        if (const int status = link.read(); status != ExitOk)
            return status;
    }
    if (asJson) {
        ctlPrint(QString::fromUtf8(json(update)));
    } else {
        for (int i = 0; i < update.extensionCount(); ++i)
            ctlPrint(QStringLiteral("%1\t%2").arg(Extensions::number(i)).arg(update.units()[i]));
    }
    return historyFailed ? ExitUsage : ExitOk;
}

const CtlRegistrar registrar({"charges", "charges [--json] [--record]", runCharges});

} // namespace
