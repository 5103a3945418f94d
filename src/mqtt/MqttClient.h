#pragma once

#include "mqtt/MqttConfig.h"
#include "mqtt/MqttPayloads.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <deque>

struct mosquitto;
struct mosquitto_message;

// One connection to the broker. The library's network loop runs in a thread of its own, so that a
// slow or unreachable broker never holds up logging or the exchange; its callbacks only hand over
// to this object's thread. Reconnects back off from 1 s to 60 s. While there is no connection,
// call events wait in order (the oldest dropped and counted beyond MaxWaiting) and go out on the
// next connect; retained states are sent again then, the latest of each topic only.
class MqttClient : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxWaiting = 1000;

    // A probe only tries the connection: no will, no status, nothing published, its own client id,
    // so that a test beside the running service never marks the service offline.
    enum class Role
    {
        Publisher,
        Probe
    };

    explicit MqttClient(MqttConfig config, Role role = Role::Publisher, QObject* parent = nullptr);
    // A clean end: "offline" on the status topic, then the disconnect (waiting at most 2 s).
    ~MqttClient() override;

    const MqttConfig& config() const { return m_config; }
    // Starts connecting; false with the reason in statusText when the settings cannot be used.
    bool start();
    bool isConnected() const { return m_connected; }
    int waiting() const { return static_cast<int>(m_waiting.size()); }
    int dropped() const { return m_dropped; }

    // A call event (QoS 1): sent now, or when the connection is back.
    void publishEvent(const QString& topic, const QByteArray& payload);
    // A retained state: sent now if connected, and again after each connect.
    void publishState(const QString& topic, const QByteArray& payload);
    // Retained messages sent after each connect, before the states (discovery configurations).
    void setAnnouncements(QList<MqttPayloads::Message> messages) { m_announcements = std::move(messages); }

Q_SIGNALS:
    void connectedChanged(bool connected);
    // A failure, once until the next successful connect; a success after a failure.
    void statusText(bool error, const QString& text);
    // A message on a subscribed topic (the commands).
    void received(const QString& topic, const QByteArray& payload);

public:
    // Subscribes now and after each connect.
    void subscribe(const QString& topic) { m_subscriptions << topic; }

private:
    static void onConnect(mosquitto*, void* self, int rc);
    static void onDisconnect(mosquitto*, void* self, int rc);
    static void onMessage(mosquitto*, void* self, const mosquitto_message* message);
    static void onLog(mosquitto*, void* self, int level, const char* text);
    void failed(const QString& reason);
    void connected(int rc);
    void disconnected(int rc);
    bool send(const MqttPayloads::Message& message);
    QString where() const;

    MqttConfig m_config;
    Role m_role;
    mosquitto* m_mosq = nullptr;
    bool m_connected = false;
    bool m_reported = false;
    bool m_everConnected = false;
    std::atomic<bool> m_disconnectDone{false};
    std::deque<MqttPayloads::Message> m_waiting;
    int m_dropped = 0;
    QList<MqttPayloads::Message> m_announcements;
    QList<MqttPayloads::Message> m_states;
    QStringList m_subscriptions;
};
