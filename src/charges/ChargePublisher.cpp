#include "charges/ChargePublisher.h"

#include "charges/ChargeUpdate.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>

ChargePublisher::ChargePublisher(const ChargeUpdate& update, QString serviceName, QObject* parent)
    : QObject(parent), m_update(update), m_serviceName(std::move(serviceName))
{
    connect(&update, &ChargeUpdate::updated, this, &ChargePublisher::onUpdated);
}

ChargePublisher::~ChargePublisher()
{
    if (!m_publishing)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(ObjectPath);
    bus.unregisterService(m_serviceName);
}

bool ChargePublisher::start()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    // Never queued behind another holder: a second program would otherwise take over later.
    const auto reply = bus.interface()->registerService(m_serviceName, QDBusConnectionInterface::DontQueueService,
                                                        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered)
        return false;
    new ChargeBusAdaptor(*this);
    if (!bus.registerObject(ObjectPath, this, QDBusConnection::ExportAdaptors)) {
        bus.unregisterService(m_serviceName);
        return false;
    }
    m_publishing = true;
    return true;
}

QString ChargePublisher::units() const
{
    return m_units;
}

QString ChargePublisher::costs() const
{
    return m_costs;
}

void ChargePublisher::onUpdated()
{
    QVariantMap changed;
    if (m_units != m_update.unitsItem()) {
        m_units = m_update.unitsItem();
        changed.insert(QStringLiteral("DDEEinheiten"), m_units);
    }
    if (m_costs != m_update.costsItem()) {
        m_costs = m_update.costsItem();
        changed.insert(QStringLiteral("DDEKosten"), m_costs);
    }
    if (!m_publishing || changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(ObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << Interface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

ChargeBusAdaptor::ChargeBusAdaptor(ChargePublisher& publisher)
    : QDBusAbstractAdaptor(&publisher), m_publisher(publisher)
{}
