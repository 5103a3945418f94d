#include "E2eHarness.h"
#include "charges/ChargePublisher.h"
#include "charges/ChargeUpdate.h"
#include "charges/PendingCall.h"
#include "common/Clock.h"
#include "link/PbxLink.h"
#include "link/TComm32.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Collects the PropertiesChanged signals another connection receives.
class Listener : public QObject
{
    Q_OBJECT
public:
    QList<QVariantMap> changes;

public Q_SLOTS:
    void onChanged(const QString& interface, const QVariantMap& changed, const QStringList&)
    {
        if (interface == ChargePublisher::Interface)
            changes.append(changed);
    }
};

// Runs gdbus as another program would, while this process keeps answering on the bus.
QString gdbus(const QStringList& args)
{
    QProcess process;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    process.start(QStringLiteral("gdbus"), args);
    loop.exec();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString property(const QString& service, const char* name)
{
    return gdbus({QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--dest"), service,
                  QStringLiteral("--object-path"), ChargePublisher::ObjectPath, QStringLiteral("--method"),
                  QStringLiteral("org.freedesktop.DBus.Properties.Get"), ChargePublisher::Interface,
                  QString::fromLatin1(name)});
}

bool waitFor(const std::function<bool()>& done, int ms)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done())
            loop.quit();
    });
    poll.start(20);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

} // namespace

// A charge reading from the simulated exchange reaches other programs on the session bus.
TEST(EndToEnd, ChargeTextsArePublishedOnTheSessionBusAfterAReading)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no session bus";
    SimulatedExchange sim;
    ConfigImage exchange = sampleImage(2, 0, 3);
    for (int i = 0; i < 16; ++i)
        exchange[801 + i] = 0;
    exchange[801] = 12;
    exchange[805] = 7;
    ASSERT_TRUE(writeImageFile(sim.path(QStringLiteral("exchange.kvx")), exchange));
    ASSERT_TRUE(sim.start({QStringLiteral("--image"), sim.path(QStringLiteral("exchange.kvx"))}));

    TComm32 port;
    ConfigImage image;
    PbxLink link(port, SystemClock::instance(), image);
    PendingCall call(link.stateEvents(), link, SystemClock::instance());
    ChargeUpdate update(image, call, SystemClock::instance(), sim.path(QStringLiteral("WinKavex.dat")));
    QObject::connect(&link, &PbxLink::chargesReceived, &update, &ChargeUpdate::run);
    const QString service = QStringLiteral("de.brenvik.WinKavex.Test%1").arg(QCoreApplication::applicationPid());
    ChargePublisher publisher(update, service);
    ASSERT_TRUE(publisher.start());

    QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client"));
    Listener listener;
    ASSERT_TRUE(client.connect(service, ChargePublisher::ObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                               QStringLiteral("PropertiesChanged"), &listener,
                               SLOT(onChanged(QString, QVariantMap, QStringList))));
    EXPECT_EQ(property(service, "DDEEinheiten").trimmed(), QStringLiteral("(<''>,)"));

    bool read = false;
    QObject::connect(&link, &PbxLink::readFinished, [&] { read = true; });
    ASSERT_TRUE(link.openPort(sim.device(), sim.device()));
    link.startRead();
    ASSERT_TRUE(waitFor([&] { return read; }, 15000));
    EXPECT_EQ(property(service, "DDEEinheiten").trimmed(), QStringLiteral("(<'12;0;7;0;0;0;0;0'>,)"));
    EXPECT_EQ(property(service, "DDEKosten").count(QLatin1Char(';')), 2); // three extensions, three costs
    ASSERT_TRUE(waitFor([&] { return !listener.changes.isEmpty(); }, 5000));
    EXPECT_EQ(listener.changes.first().value(QStringLiteral("DDEEinheiten")).toString(),
              QStringLiteral("12;0;7;0;0;0;0;0"));
    EXPECT_TRUE(listener.changes.first().contains(QStringLiteral("DDEKosten")));

    const QString introspection =
        gdbus({QStringLiteral("introspect"), QStringLiteral("--session"), QStringLiteral("--dest"), service,
               QStringLiteral("--object-path"), ChargePublisher::ObjectPath});
    EXPECT_TRUE(introspection.contains(QStringLiteral("interface de.brenvik.WinKavex.Charges")))
        << introspection.toStdString();
    EXPECT_TRUE(introspection.contains(QStringLiteral("readonly s DDEEinheiten")));
    EXPECT_TRUE(introspection.contains(QStringLiteral("readonly s DDEKosten")));
    link.closePort();
    sim.stop();
}

#include "test_e2e_charge_bus.moc"
