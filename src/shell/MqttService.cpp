#include "shell/MqttService.h"

#include "charges/ChargeUpdate.h"
#include "charges/IncomingCallLog.h"
#include "charges/OutgoingCallLog.h"
#include "mqtt/MqttClient.h"
#include "mqtt/MqttPublisher.h"
#include "shell/MqttSettings.h"
#include "shell/StatusLine.h"

MqttService::MqttService(Sources sources, QObject* parent) : QObject(parent), m_sources(sources) {}

MqttService::~MqttService() = default;

void MqttService::start()
{
    if (m_client)
        return;
    const MqttSettings::Read read = MqttSettings::read(m_sources.settings);
    if (!read.config.enabled())
        return;
    StatusLine& status = m_sources.status;
    if (!read.problem.isEmpty())
        status.showText(StatusLevel::Error, QStringLiteral("MQTT: ") + read.problem);
    m_client = std::make_unique<MqttClient>(read.config);
    connect(m_client.get(), &MqttClient::statusText, this, [&status](bool error, const QString& text) {
        status.showText(error ? StatusLevel::Error : StatusLevel::Normal, text);
    });
    m_publisher = std::make_unique<MqttPublisher>(*m_client, m_sources.clock);
    MqttPublisher* publisher = m_publisher.get();
    connect(&m_sources.incoming, &IncomingCallLog::logged, publisher, &MqttPublisher::onIncomingCall);
    connect(&m_sources.outgoing, &OutgoingCallLog::begun, publisher, &MqttPublisher::onOutgoingBegun);
    connect(&m_sources.outgoing, &OutgoingCallLog::completed, publisher, &MqttPublisher::onOutgoingCompleted);
    ChargeUpdate& charges = m_sources.charges;
    connect(&charges, &ChargeUpdate::updated, publisher, [publisher, &charges] { publisher->onCharges(charges); });
    m_client->start();
}

void MqttService::stop()
{
    m_publisher.reset();
    m_client.reset();
}

void MqttService::announce(int extensionCount)
{
    if (m_publisher)
        m_publisher->announce(extensionCount);
}

void MqttService::setRinging(bool ringing)
{
    if (m_publisher)
        m_publisher->setRinging(ringing);
}
