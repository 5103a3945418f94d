#include "CtlRemote.h"
#include "CtlLink.h"

#include "charges/ChargePublisher.h"
#include "common/TerminationSignals.h"
#include "shell/ProgramDirs.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>

namespace {

const QString Interface = QStringLiteral("de.brenvik.WinKavex.Exchange");
const QString ObjectPath = QStringLiteral("/WinKavex");
// A ring of a minute behind a full read with its repeat: the program answers well within this.
constexpr int CallTimeoutMs = 10 * 60 * 1000;

QString canonical(const QString& path)
{
    const QString resolved = QFileInfo(path).canonicalFilePath();
    return resolved.isEmpty() ? QFileInfo(path).absoluteFilePath() : resolved;
}

} // namespace

std::optional<CtlRemote> CtlRemote::find(const CtlOptions& options)
{
    if (!options.port.isEmpty() || options.simulate)
        return std::nullopt;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(ChargePublisher::ServiceName))
        return std::nullopt;
    // A plain Properties.Get: an interface object would introspect the program first, and its
    // cached description outlives the process.
    QDBusMessage get = QDBusMessage::createMethodCall(ChargePublisher::ServiceName, ObjectPath,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get.setArguments({Interface, QStringLiteral("ProgramDir")});
    const QDBusMessage answer = bus.call(get);
    if (answer.type() != QDBusMessage::ReplyMessage || answer.arguments().isEmpty())
        return std::nullopt;
    const QString dir = qvariant_cast<QDBusVariant>(answer.arguments().constFirst()).variant().toString();
    if (dir.isEmpty() || canonical(dir) != canonical(ProgramDirs(options.dir).programDir()))
        return std::nullopt;
    qDBusRegisterMetaType<QList<QByteArray>>();
    return CtlRemote();
}

int CtlRemote::Answer::reported() const
{
    if (status != ExitOk && !message.isEmpty())
        ctlError(message);
    return status;
}

CtlRemote::Answer CtlRemote::call(const QString& method, const QVariantList& arguments) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(ChargePublisher::ServiceName, ObjectPath, Interface, method);
    message.setArguments(arguments);
    QDBusPendingCallWatcher watcher(QDBusConnection::sessionBus().asyncCall(message, CallTimeoutMs));
    TerminationSignals termination;
    bool interrupted = false;
    QObject::connect(&termination, &TerminationSignals::requested, [&interrupted] {
        interrupted = true;
        QCoreApplication::exit(0);
    });
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, [] { QCoreApplication::exit(0); });
    if (!watcher.isFinished())
        QCoreApplication::exec();
    if (interrupted)
        return {128 + TerminationSignals::signalNumber(), {}, {}, {}};
    const QDBusMessage reply = watcher.reply();
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() < 2)
        return {ExitComm, QStringLiteral("kavexctl: WinKavex antwortet nicht (%1)").arg(reply.errorMessage()), {}, {}};
    const QVariantList values = reply.arguments();
    Answer answer{values.at(0).toInt(), values.at(1).toString(), {}, {}};
    if (values.size() > 2)
        answer.image = values.at(2).toByteArray();
    if (values.size() > 3)
        answer.speedDials = qdbus_cast<QList<QByteArray>>(values.at(3));
    return answer;
}
