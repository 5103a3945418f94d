#include "charges/CallNotification.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QStringList>
#include <QVariantMap>

CallNotification::Text CallNotification::textFor(const IncomingCallLog::Logged& call)
{
    Text text;
    text.summary = call.formatted.isEmpty() ? QStringLiteral("Anruf mit unterdrückter Nummer")
                                            : QStringLiteral("Anruf von ") + call.formatted;
    QStringList lines;
    if (!call.name.isEmpty())
        lines << call.name;
    if (!call.place.isEmpty() && call.place != call.name)
        lines << call.place;
    if (!call.called.isEmpty())
        lines << QStringLiteral("an ") + call.called;
    text.body = lines.join(QLatin1Char('\n')).toHtmlEscaped();
    text.summary = text.summary.toHtmlEscaped();
    return text;
}

CallNotification::CallNotification(QDBusConnection bus, QObject* parent) : QObject(parent), m_bus(std::move(bus)) {}

void CallNotification::notify(const IncomingCallLog::Logged& call)
{
    // A blocked caller has been taken off: nobody is to be called to the phone.
    if (!m_enabled || !m_bus.isConnected() || call.blocked)
        return;
    const Text text = textFor(call);
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("winkavex")}};
    message << QStringLiteral("WinKavex") << 0u << QStringLiteral("call-start") << text.summary << text.body
            << QStringList() << hints << ExpireMs;
    // No reply is awaited: a missing server must never hold up the call log.
    m_bus.asyncCall(message);
}
