#include "mqtt/MqttClient.h"

#include <QFileInfo>
#include <QThread>

#include <mosquitto.h>

#include <chrono>
#include <thread>

namespace {

constexpr int KeepAliveSeconds = 60;
constexpr unsigned MinReconnectSeconds = 1;
constexpr unsigned MaxReconnectSeconds = 60;
constexpr char SystemCaPath[] = "/etc/ssl/certs";

struct Library
{
    Library() { mosquitto_lib_init(); }
    ~Library() { mosquitto_lib_cleanup(); }
};

void useLibrary()
{
    static Library library;
}

} // namespace

MqttClient::MqttClient(MqttConfig config, Role role, QObject* parent)
    : QObject(parent), m_config(std::move(config)), m_role(role)
{}

MqttClient::~MqttClient()
{
    if (!m_mosq)
        return;
    if (m_connected && m_role == Role::Publisher) {
        const QByteArray topic = (m_config.prefix + QStringLiteral("/status")).toUtf8();
        mosquitto_publish(m_mosq, nullptr, topic.constData(), 7, "offline", 1, true);
        mosquitto_disconnect(m_mosq);
        // The loop sends what is queued before the disconnect; a broker that has gone quiet
        // gets two seconds, not the whole keep-alive.
        for (int i = 0; i < 200 && !m_disconnectDone; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } else {
        mosquitto_disconnect(m_mosq);
    }
    mosquitto_loop_stop(m_mosq, true);
    mosquitto_destroy(m_mosq);
}

QString MqttClient::where() const
{
    return QStringLiteral("%1:%2").arg(m_config.server).arg(m_config.port);
}

bool MqttClient::start()
{
    if (m_mosq || !m_config.enabled())
        return false;
    useLibrary();
    m_mosq = mosquitto_new(nullptr, true, this);
    if (!m_mosq) {
        Q_EMIT statusText(true, QStringLiteral("MQTT: kein Speicher für die Verbindung"));
        return false;
    }
    mosquitto_int_option(m_mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_connect_callback_set(m_mosq, &MqttClient::onConnect);
    mosquitto_disconnect_callback_set(m_mosq, &MqttClient::onDisconnect);
    mosquitto_message_callback_set(m_mosq, &MqttClient::onMessage);
    mosquitto_log_callback_set(m_mosq, &MqttClient::onLog);
    mosquitto_reconnect_delay_set(m_mosq, MinReconnectSeconds, MaxReconnectSeconds, true);
    const QByteArray status = (m_config.prefix + QStringLiteral("/status")).toUtf8();
    if (m_role == Role::Publisher)
        mosquitto_will_set(m_mosq, status.constData(), 7, "offline", 1, true);
    if (!m_config.user.isEmpty()) {
        const QByteArray user = m_config.user.toUtf8();
        const QByteArray password = m_config.password.toUtf8();
        mosquitto_username_pw_set(m_mosq, user.constData(), password.isEmpty() ? nullptr : password.constData());
    }
    if (m_config.tls) {
        const QByteArray ca = QFileInfo(m_config.caFile).absoluteFilePath().toLocal8Bit();
        const int rc = m_config.caFile.isEmpty() ? mosquitto_tls_set(m_mosq, nullptr, SystemCaPath, nullptr, nullptr, nullptr)
                                                 : mosquitto_tls_set(m_mosq, ca.constData(), nullptr, nullptr, nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            Q_EMIT statusText(true, QStringLiteral("MQTT: TLS nicht einrichtbar: %1")
                                        .arg(QString::fromLocal8Bit(mosquitto_strerror(rc))));
            return false;
        }
    }
    const QByteArray host = m_config.server.toUtf8();
    // A first attempt that fails is no end: the loop goes on trying with its back-off.
    const int rc = mosquitto_connect_async(m_mosq, host.constData(), m_config.port, KeepAliveSeconds);
    if (rc != MOSQ_ERR_SUCCESS && !m_reported) {
        m_reported = true;
        Q_EMIT statusText(true, QStringLiteral("MQTT: keine Verbindung zu %1: %2")
                                    .arg(where(), QString::fromLocal8Bit(mosquitto_strerror(rc))));
    }
    if (mosquitto_loop_start(m_mosq) != MOSQ_ERR_SUCCESS) {
        Q_EMIT statusText(true, QStringLiteral("MQTT: Netzwerkfaden nicht startbar"));
        return false;
    }
    return true;
}

void MqttClient::onConnect(mosquitto*, void* self, int rc)
{
    auto* client = static_cast<MqttClient*>(self);
    QMetaObject::invokeMethod(client, [client, rc] { client->connected(rc); }, Qt::QueuedConnection);
}

void MqttClient::onDisconnect(mosquitto*, void* self, int rc)
{
    auto* client = static_cast<MqttClient*>(self);
    if (rc == 0)
        client->m_disconnectDone = true;
    QMetaObject::invokeMethod(client, [client, rc] { client->disconnected(rc); }, Qt::QueuedConnection);
}

void MqttClient::onMessage(mosquitto*, void* self, const mosquitto_message* message)
{
    auto* client = static_cast<MqttClient*>(self);
    const QString topic = QString::fromUtf8(message->topic);
    // Commands are small; anything larger is no command of ours.
    const QByteArray payload(static_cast<const char*>(message->payload), qMin(message->payloadlen, 4096));
    QMetaObject::invokeMethod(client, [client, topic, payload] { Q_EMIT client->received(topic, payload); },
                              Qt::QueuedConnection);
}

// Only the library's log tells why a TLS handshake failed (an unknown authority, a wrong name).
void MqttClient::onLog(mosquitto*, void* self, int level, const char* text)
{
    if ((level & MOSQ_LOG_ERR) == 0 || !text)
        return;
    auto* client = static_cast<MqttClient*>(self);
    const QString reason = QString::fromUtf8(text).left(200);
    QMetaObject::invokeMethod(client, [client, reason] { client->failed(reason); }, Qt::QueuedConnection);
}

void MqttClient::failed(const QString& reason)
{
    if (m_reported || m_connected)
        return;
    m_reported = true;
    Q_EMIT statusText(true, QStringLiteral("MQTT: keine Verbindung zu %1: %2").arg(where(), reason));
}

void MqttClient::connected(int rc)
{
    if (rc != 0) {
        if (!m_reported) {
            m_reported = true;
            Q_EMIT statusText(true, QStringLiteral("MQTT: %1 lehnt die Anmeldung ab: %2")
                                        .arg(where(), QString::fromLocal8Bit(mosquitto_connack_string(rc))));
        }
        return;
    }
    m_connected = true;
    if (m_role == Role::Probe) {
        m_reported = false;
        m_everConnected = true;
        Q_EMIT connectedChanged(true);
        return;
    }
    const QByteArray status = (m_config.prefix + QStringLiteral("/status")).toUtf8();
    mosquitto_publish(m_mosq, nullptr, status.constData(), 6, "online", 1, true);
    for (const MqttPayloads::Message& message : std::as_const(m_announcements))
        send(message);
    for (const MqttPayloads::Message& message : std::as_const(m_states))
        send(message);
    for (const QString& topic : std::as_const(m_subscriptions))
        mosquitto_subscribe(m_mosq, nullptr, topic.toUtf8().constData(), 1);
    while (!m_waiting.empty() && send(m_waiting.front()))
        m_waiting.pop_front();
    if (m_reported || !m_everConnected) {
        Q_EMIT statusText(false, QStringLiteral("MQTT: verbunden mit %1").arg(where()));
        if (m_dropped > 0)
            Q_EMIT statusText(true, QStringLiteral("MQTT: %1 Ereignisse verworfen, während keine Verbindung bestand")
                                        .arg(m_dropped));
    }
    m_reported = false;
    m_everConnected = true;
    Q_EMIT connectedChanged(true);
}

void MqttClient::disconnected(int rc)
{
    if (!m_connected)
        return;
    m_connected = false;
    Q_EMIT connectedChanged(false);
    if (rc != 0 && !m_reported) {
        m_reported = true;
        Q_EMIT statusText(true, QStringLiteral("MQTT: Verbindung zu %1 verloren").arg(where()));
    }
}

bool MqttClient::send(const MqttPayloads::Message& message)
{
    const QByteArray topic = message.topic.toUtf8();
    return mosquitto_publish(m_mosq, nullptr, topic.constData(), static_cast<int>(message.payload.size()),
                             message.payload.constData(), message.qos, message.retain) == MOSQ_ERR_SUCCESS;
}

void MqttClient::publishEvent(const QString& topic, const QByteArray& payload)
{
    const MqttPayloads::Message message{topic, payload, 1, false};
    if (m_connected && m_waiting.empty() && send(message))
        return;
    if (m_waiting.size() >= MaxWaiting) {
        m_waiting.pop_front();
        ++m_dropped;
    }
    m_waiting.push_back(message);
}

void MqttClient::publishState(const QString& topic, const QByteArray& payload)
{
    const MqttPayloads::Message message{topic, payload, 1, true};
    bool replaced = false;
    for (MqttPayloads::Message& state : m_states) {
        if (state.topic == topic) {
            state = message;
            replaced = true;
        }
    }
    if (!replaced)
        m_states << message;
    if (m_connected)
        send(message);
}
