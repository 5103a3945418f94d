#include "charges/CallNotification.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

namespace {

// A notification server on a connection of its own, keeping what it was sent.
class FakeServer : public QDBusVirtualObject
{
public:
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.member() != QLatin1String("Notify"))
            return false;
        received << message;
        connection.send(message.createReply(QVariant::fromValue(7u)));
        return true;
    }
    QString introspect(const QString&) const override { return {}; }

    QList<QDBusMessage> received;
};

IncomingCallLog::Logged call(const char* formatted, const char* place, const char* name, const char* called)
{
    IncomingCallLog::Logged c;
    c.formatted = QString::fromUtf8(formatted);
    c.place = QString::fromUtf8(place);
    c.name = QString::fromUtf8(name);
    c.called = QString::fromUtf8(called);
    return c;
}

} // namespace

TEST(CallNotification, Texts)
{
    struct Case
    {
        IncomingCallLog::Logged call;
        const char* summary;
        const char* body;
    };
    const Case cases[] = {
        {call("(030) 1234567", "Berlin", "Berlin", "4711"), "Anruf von (030) 1234567", "Berlin\nan 4711"},
        {call("(089) 123", "München", "Tante Erna", "4712"), "Anruf von (089) 123", "Tante Erna\nMünchen\nan 4712"},
        {call("", "", "", "4711"), "Anruf mit unterdrückter Nummer", "an 4711"},
        {call("0033142", "", "<b>Müller & Co</b>", ""), "Anruf von 0033142", "&lt;b&gt;Müller &amp; Co&lt;/b&gt;"},
    };
    for (const Case& c : cases) {
        const CallNotification::Text text = CallNotification::textFor(c.call);
        EXPECT_EQ(text.summary.toStdString(), c.summary);
        EXPECT_EQ(text.body.toStdString(), c.body);
    }
}

TEST(CallNotification, SentToTheServerThatRunsAndNeverWaitedFor)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no session bus";
    QDBusConnection serverBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("server"));
    ASSERT_TRUE(serverBus.isConnected());
    const QString name = QStringLiteral("org.freedesktop.Notifications");
    if (serverBus.interface()->isServiceRegistered(name))
        GTEST_SKIP() << "a notification server runs on this bus";

    // Without a server: nothing shown, nothing blocks.
    CallNotification notification;
    notification.notify(call("(030) 1234567", "Berlin", "Berlin", "4711"));

    FakeServer server;
    ASSERT_TRUE(serverBus.registerService(name));
    ASSERT_TRUE(serverBus.registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"), &server));
    notification.notify(call("(030) 1234567", "Berlin", "Berlin", "4711"));
    notification.setEnabled(false);
    notification.notify(call("(0221) 55", "Köln", "Köln", "4712"));
    QDeadlineTimer deadline(10000);
    while (server.received.isEmpty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 200);
    ASSERT_EQ(server.received.size(), 1) << "switched off, the second call is not shown";
    const QList<QVariant> args = server.received.first().arguments();
    ASSERT_EQ(args.size(), 8);
    EXPECT_EQ(args[0].toString(), QStringLiteral("WinKavex"));
    EXPECT_EQ(args[3].toString(), QStringLiteral("Anruf von (030) 1234567"));
    EXPECT_EQ(args[4].toString(), QStringLiteral("Berlin\nan 4711"));
    EXPECT_GT(args[7].toInt(), 0) << "it expires by itself";
    serverBus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    serverBus.unregisterService(name);
}
