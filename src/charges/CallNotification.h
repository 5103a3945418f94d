#pragma once

#include "charges/IncomingCallLog.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

// A desktop notification for each incoming call that is logged (org.freedesktop.Notifications on
// the session bus): the caller as formatted, the name or place, the called MSN. It expires by
// itself; without a notification server the call is simply not shown, and never waited for.
class CallNotification : public QObject
{
    Q_OBJECT

public:
    static constexpr int ExpireMs = 15000;

    struct Text
    {
        QString summary;
        QString body; // plain text, escaped for servers that read markup
    };
    static Text textFor(const IncomingCallLog::Logged& call);

    explicit CallNotification(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    // "Benachrichtigung bei Anruf".
    void setEnabled(bool on) { m_enabled = on; }
    bool isEnabled() const { return m_enabled; }
    void notify(const IncomingCallLog::Logged& call);

private:
    QDBusConnection m_bus;
    bool m_enabled = true;
};
