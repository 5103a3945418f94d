#include "shell/MqttService.h"

#include "charges/ChargeUpdate.h"
#include "charges/IncomingCallLog.h"
#include "charges/OutgoingCallLog.h"
#include "mqtt/MqttClient.h"
#include "mqtt/MqttPublisher.h"
#include "shell/ExchangeService.h"
#include "shell/MqttSettings.h"
#include "shell/StatusLine.h"

#include <QJsonDocument>
#include <QPointer>
#include <QJsonObject>

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
    connect(m_client.get(), &MqttClient::connectedChanged, this, &MqttService::stateChanged);
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
    if (read.config.commands) {
        m_client->subscribe(read.config.prefix + QStringLiteral("/command/+"));
        connect(m_client.get(), &MqttClient::received, this, &MqttService::onCommand);
    }
    m_client->start();
}

void MqttService::answer(const QString& command, bool ok, const QString& message)
{
    if (!m_client)
        return;
    const QJsonObject result{{QStringLiteral("command"), command.left(64)},
                             {QStringLiteral("ok"), ok},
                             {QStringLiteral("message"), message}};
    m_client->publishEvent(m_client->config().prefix + QStringLiteral("/command/result"),
                           QJsonDocument(result).toJson(QJsonDocument::Compact));
}

void MqttService::onCommand(const QString& topic, const QByteArray& payload)
{
    const QString base = m_client->config().prefix + QStringLiteral("/command/");
    if (!topic.startsWith(base) || topic == base + QStringLiteral("result"))
        return;
    const QString command = topic.mid(base.size());
    const QPointer<MqttService> self(this);
    const auto reply = [self, command](const ExchangeService::Result& result) {
        if (self)
            self->answer(command, result.outcome == ExchangeService::Done, result.message);
    };
    if (command == QLatin1String("read_charges")) {
        m_sources.exchange.readCharges(reply);
        return;
    }
    if (command != QLatin1String("ring")) {
        answer(command, false, QStringLiteral("Unbekannter Befehl"));
        return;
    }
    const QJsonObject ring = QJsonDocument::fromJson(payload).object();
    const QJsonValue extension = ring.value(QStringLiteral("extension"));
    const QJsonValue seconds = ring.value(QStringLiteral("seconds"));
    const int count = m_sources.extensionCount ? m_sources.extensionCount() : 0;
    const int number = extension.isDouble() ? extension.toInt() : 0;
    if (!extension.isDouble() || extension.toDouble() != number || (!seconds.isUndefined() && !seconds.isDouble())) {
        answer(command, false, QStringLiteral("Erwartet: {\"extension\": 21..28, \"seconds\": 5..60}"));
        return;
    }
    if (number < 21 || number >= 21 + count) {
        answer(command, false, QStringLiteral("Nebenstelle %1 gibt es an dieser Anlage nicht").arg(number));
        return;
    }
    m_sources.exchange.ring(number, seconds.isUndefined() ? 10 : seconds.toInt(), reply);
}

void MqttService::stop()
{
    m_publisher.reset();
    m_client.reset();
    Q_EMIT stateChanged();
}

void MqttService::restart()
{
    const int count = m_sources.extensionCount ? m_sources.extensionCount() : 0;
    stop();
    start();
    if (count > 0)
        announce(count);
    Q_EMIT stateChanged();
}

bool MqttService::isConnected() const
{
    return m_client && m_client->isConnected();
}

QString MqttService::stateText() const
{
    if (!m_client)
        return QStringLiteral("Aus");
    const QString where = QStringLiteral("%1:%2").arg(m_client->config().server).arg(m_client->config().port);
    return m_client->isConnected() ? QStringLiteral("Verbunden mit %1").arg(where)
                                   : QStringLiteral("Keine Verbindung zu %1").arg(where);
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
