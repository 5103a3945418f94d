#include "CtlCommand.h"
#include "CtlLink.h"

#include "charges/CallPublisher.h"
#include "charges/ChargePublisher.h"
#include "charges/OutgoingRecord.h"
#include "common/PrintableText.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const char* const Usage = "follow [--json]";

// Prints each call signal of the running program as it comes, one line or one JSON object.
class CallFollower : public QObject
{
    Q_OBJECT

public:
    explicit CallFollower(bool json) : m_json(json) {}

public Q_SLOTS:
    void onIncoming(const QDBusMessage& message)
    {
        const QList<QVariant> a = message.arguments();
        if (a.size() < 6)
            return;
        if (m_json) {
            print({{"event", "IncomingCall"},
                   {"time", a[0].toString()},
                   {"msn", a[1].toString()},
                   {"caller", a[2].toString()},
                   {"formatted", a[3].toString()},
                   {"place", a[4].toString()},
                   {"name", a[5].toString()},
                   {"blocked", a.value(6).toBool()}});
            return;
        }
        const QString caller = a[3].toString().isEmpty() ? QStringLiteral("unbekannt") : a[3].toString();
        show(QStringLiteral("%1  Anruf von %2 an %3%4%5")
                 .arg(a[0].toString(), caller, a[1].toString(), named(a[5].toString()),
                      a.value(6).toBool() ? QStringLiteral(" (gesperrt)") : QString()));
    }
    void onBegun(const QDBusMessage& message)
    {
        const QList<QVariant> a = message.arguments();
        if (a.size() < 4)
            return;
        if (m_json) {
            print({{"event", "OutgoingCallBegun"},
                   {"time", a[0].toString()},
                   {"extension", a[1].toInt()},
                   {"number", a[2].toString()},
                   {"name", a[3].toString()}});
            return;
        }
        show(QStringLiteral("%1  NSt. %2 wählt %3%4")
                 .arg(a[0].toString(), QString::number(a[1].toInt()), a[2].toString(), named(a[3].toString())));
    }
    void onCompleted(const QDBusMessage& message)
    {
        const QList<QVariant> a = message.arguments();
        if (a.size() < 7)
            return;
        if (m_json) {
            print({{"event", "OutgoingCallCompleted"},
                   {"time", a[0].toString()},
                   {"extension", a[1].toInt()},
                   {"number", a[2].toString()},
                   {"name", a[3].toString()},
                   {"units", a[4].toInt()},
                   {"cost", a[5].toString()},
                   {"duration", a[6].toInt()}});
            return;
        }
        show(QStringLiteral("%1  NSt. %2 an %3: %4 Einheiten, Kosten %5, Dauer %6%7")
                 .arg(a[0].toString(), QString::number(a[1].toInt()), a[2].toString(), QString::number(a[4].toInt()),
                      a[5].toString(), OutgoingRecord::listDuration(a[6].toInt()), named(a[3].toString())));
    }

private:
    // The name (speed dial, or the bracketed place of the area code) closes the line.
    static QString named(const QString& name) { return name.isEmpty() ? QString() : QStringLiteral("  ") + name; }
    // What the caller or a vCard sent may hold control characters: none reach the terminal.
    static void show(const QString& line) { ctlPrint(PrintableText::escaped(line)); }
    static void print(const QJsonObject& object)
    {
        ctlPrint(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
    }

    bool m_json;
};

int runFollow(const CtlOptions&, const QStringList& args)
{
    bool json = false;
    for (const QString& arg : args) {
        if (arg != QLatin1String("--json")) {
            ctlError(QStringLiteral("Aufruf: kavexctl %1").arg(QLatin1String(Usage)));
            return ExitUsage;
        }
        json = true;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) {
        ctlError(QStringLiteral("Kein Sitzungsbus (D-Bus) erreichbar"));
        return ExitComm;
    }
    const QString service = ChargePublisher::ServiceName;
    if (!bus.interface()->isServiceRegistered(service)) {
        ctlError(QStringLiteral("WinKavex läuft nicht (%1 ist nicht auf dem Sitzungsbus)").arg(service));
        return ExitComm;
    }
    CallFollower follower(json);
    const QString path = ChargePublisher::ObjectPath;
    const QString interface = CallPublisher::Interface;
    bus.connect(service, path, interface, QStringLiteral("IncomingCall"), &follower, SLOT(onIncoming(QDBusMessage)));
    bus.connect(service, path, interface, QStringLiteral("OutgoingCallBegun"), &follower, SLOT(onBegun(QDBusMessage)));
    bus.connect(service, path, interface, QStringLiteral("OutgoingCallCompleted"), &follower,
                SLOT(onCompleted(QDBusMessage)));
    // The program ending ends the following too.
    QDBusServiceWatcher watcher(service, bus, QDBusServiceWatcher::WatchForUnregistration);
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, [] {
        ctlError(QStringLiteral("WinKavex wurde beendet"));
        QCoreApplication::exit(ExitOk);
    });
    return QCoreApplication::exec();
}

const CtlRegistrar registrar({"follow", Usage, runFollow});

} // namespace

#include "CmdFollow.moc"
