#include "shell/MqttProbe.h"

#include "common/Clock.h"
#include "mqtt/MqttClient.h"

MqttProbe::MqttProbe(Clock& clock, QObject* parent) : QObject(parent), m_clock(clock) {}

MqttProbe::~MqttProbe() = default;

void MqttProbe::start(const MqttSettings::Read& read)
{
    m_done = false;
    if (!read.config.enabled()) {
        finish(false, QStringLiteral("MQTT: kein Server eingestellt"));
        return;
    }
    if (!read.problem.isEmpty()) {
        finish(false, QStringLiteral("MQTT: ") + read.problem);
        return;
    }
    m_client = std::make_unique<MqttClient>(read.config, MqttClient::Role::Probe);
    const QString where = QStringLiteral("%1:%2").arg(read.config.server).arg(read.config.port);
    connect(m_client.get(), &MqttClient::statusText, this, [this](bool error, const QString& text) {
        if (error)
            finish(false, text);
    });
    connect(m_client.get(), &MqttClient::connectedChanged, this, [this, where](bool connected) {
        if (connected)
            finish(true, QStringLiteral("MQTT: verbunden mit %1").arg(where));
    });
    m_timeout = std::make_unique<QObject>();
    m_clock.callAfter(TimeoutMs, m_timeout.get(), [this, where] {
        finish(false, QStringLiteral("MQTT: keine Antwort von %1 in %2 s").arg(where).arg(TimeoutMs / 1000));
    });
    if (!m_client->start() && !m_done)
        finish(false, QStringLiteral("MQTT: Verbindung nicht startbar"));
}

// The client goes from the event loop, never inside its own signal.
void MqttProbe::finish(bool ok, const QString& text)
{
    if (m_done)
        return;
    m_done = true;
    if (m_client) {
        m_client->disconnect(this);
        m_client.release()->deleteLater();
    }
    Q_EMIT finished(ok, text);
}
