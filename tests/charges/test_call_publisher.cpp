#include "FakeTransport.h"
#include "MapSpeedDialStore.h"
#include "MockClock.h"
#include "charges/CallPublisher.h"
#include "charges/ChargePublisher.h"
#include "charges/ChargeUpdate.h"
#include "charges/IncomingCallLog.h"
#include "charges/OutgoingCallLog.h"
#include "charges/PendingCall.h"
#include "link/PbxLink.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// What another program on the bus receives.
class Client : public QObject
{
    Q_OBJECT
public:
    QList<QDBusMessage> received;
public Q_SLOTS:
    void onSignal(const QDBusMessage& message) { received << message; }
};

} // namespace

// Beside the charges on the same object; introspectable; each logged incoming call is one signal
// with the fields of its log line.
TEST(CallPublisher, IncomingCallsOnTheBus)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        GTEST_SKIP() << "no session bus";
    QTemporaryDir dir;
    MockClock clock(QDateTime(QDate(2026, 12, 9), QTime(9, 30, 0)));
    FakeTransport transport(clock);
    ConfigImage image;
    PbxLink link(transport, clock, image);
    PendingCall call(link.stateEvents(), link, clock);
    ChargeUpdate update(image, call, clock, dir.filePath(QStringLiteral("WinKavex.dat")));
    MapSpeedDialStore speedDials;
    IncomingCallLog incoming(clock, speedDials, dir.filePath(QStringLiteral("WinKavex.in")));
    OutgoingCallLog outgoing(call, update, clock, speedDials, dir.filePath(QStringLiteral("WinKavex.out")));
    const QString service = QStringLiteral("de.brenvik.WinKavex.Test%1").arg(QCoreApplication::applicationPid());
    ChargePublisher charges(update, service);
    CallPublisher calls(incoming, outgoing);
    calls.attachTo(charges);
    ASSERT_TRUE(charges.start());

    QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client"));
    Client client;
    ASSERT_TRUE(other.connect(service, ChargePublisher::ObjectPath, CallPublisher::Interface,
                              QStringLiteral("IncomingCall"), &client, SLOT(onSignal(QDBusMessage))));
    // Answered by this very thread: the call is asynchronous and the events run meanwhile.
    QDBusPendingCall pending = other.asyncCall(QDBusMessage::createMethodCall(
        service, ChargePublisher::ObjectPath, QStringLiteral("org.freedesktop.DBus.Introspectable"),
        QStringLiteral("Introspect")));
    QDeadlineTimer answered(10000);
    while (!pending.isFinished() && !answered.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const QDBusMessage introspection = pending.reply();
    const QString xml = introspection.arguments().value(0).toString();
    for (const char* part : {"de.brenvik.WinKavex.Calls", "de.brenvik.WinKavex.Charges", "\"IncomingCall\"",
                             "\"OutgoingCallBegun\"", "\"OutgoingCallCompleted\""})
        EXPECT_TRUE(xml.contains(QLatin1String(part))) << part << "\n" << xml.toStdString();

    incoming.onIncomingCall(QStringLiteral("301234567"), QStringLiteral("4711"), 0x21);
    incoming.onIncomingCall(QStringLiteral("9001234"), QStringLiteral("4711"), 0x21, QStringLiteral("Werbung"));
    QDeadlineTimer deadline(10000);
    while (client.received.size() < 2 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(client.received.size(), 2);
    EXPECT_EQ(client.received[0].arguments(),
              (QList<QVariant>{QStringLiteral("09.12.2026 09:30:00"), QStringLiteral("4711"),
                               QStringLiteral("0301234567"), QStringLiteral("0301234567"), QString(), QString(),
                               false}));
    EXPECT_EQ(client.received[1].arguments().mid(5), (QList<QVariant>{QStringLiteral("Werbung"), true}));
}

#include "test_call_publisher.moc"
