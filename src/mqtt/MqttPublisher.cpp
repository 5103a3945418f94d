#include "mqtt/MqttPublisher.h"

#include "common/Clock.h"
#include "mqtt/MqttClient.h"
#include "mqtt/MqttPayloads.h"

MqttPublisher::MqttPublisher(MqttClient& client, Clock& clock, QObject* parent)
    : QObject(parent), m_client(client), m_clock(clock)
{
    m_client.publishState(topic("ringing"), "OFF");
}

QString MqttPublisher::topic(const char* path) const
{
    return m_client.config().prefix + QLatin1Char('/') + QLatin1String(path);
}

void MqttPublisher::announce(int extensionCount)
{
    if (!m_client.config().homeAssistant || extensionCount == m_announced)
        return;
    m_announced = extensionCount;
    const QList<MqttPayloads::Message> configs = MqttPayloads::discovery(m_client.config().prefix, extensionCount);
    m_client.setAnnouncements(configs);
    if (m_client.isConnected()) {
        for (const MqttPayloads::Message& config : configs)
            m_client.publishState(config.topic, config.payload);
    }
}

void MqttPublisher::onIncomingCall(const IncomingCallLog::Logged& call)
{
    const QByteArray payload = MqttPayloads::incoming(call);
    m_client.publishEvent(topic("call/incoming"), payload);
    m_client.publishState(topic("call/last_incoming"), payload);
}

void MqttPublisher::onOutgoingBegun(const OutgoingCallLog::Logged& call)
{
    m_client.publishEvent(topic("call/outgoing/begun"), MqttPayloads::outgoingBegun(call));
}

void MqttPublisher::onOutgoingCompleted(const OutgoingCallLog::Logged& call)
{
    m_client.publishEvent(topic("call/outgoing/completed"), MqttPayloads::outgoingCompleted(call));
}

void MqttPublisher::onCharges(const ChargeUpdate& update)
{
    m_client.publishState(topic("charges"), MqttPayloads::charges(update, m_clock.now()));
}

void MqttPublisher::setRinging(bool ringing)
{
    m_client.publishState(topic("ringing"), ringing ? "ON" : "OFF");
}
