#pragma once

#include <QObject>

#include <functional>
#include <memory>

class ChargeUpdate;
class ExchangeService;
class Clock;
class IncomingCallLog;
class MqttClient;
class MqttPublisher;
class OutgoingCallLog;
class Settings;
class StatusLine;

// The broker of other machines, when the settings name one: the client, what it publishes, and
// its reports on the status line (or the journal). Off unless "Server" is set. With "Befehle" on,
// "<prefix>/command/ring" and "<prefix>/command/read_charges" run as jobs of the transfer queue;
// every command is answered on "<prefix>/command/result".
class MqttService : public QObject
{
    Q_OBJECT

public:
    struct Sources
    {
        Clock& clock;
        Settings& settings;
        StatusLine& status;
        IncomingCallLog& incoming;
        OutgoingCallLog& outgoing;
        ChargeUpdate& charges;
        ExchangeService& exchange;
        std::function<int()> extensionCount; // present on the exchange; 0 before the first read
    };

    explicit MqttService(Sources sources, QObject* parent = nullptr);
    ~MqttService() override;

    // Reads the settings and connects; nothing when no server is set.
    void start();
    // "offline" and the disconnect, before the program ends.
    void stop();
    // After the page changed the settings: the connection as they now say.
    void restart();
    bool isRunning() const { return m_client != nullptr; }
    bool isConnected() const;
    // "Aus", "Verbunden mit …" or "Keine Verbindung zu …", for the page.
    QString stateText() const;
    MqttClient* client() const { return m_client.get(); }

    // The exchange's extension count after a read: the sensors of the discovery.
    void announce(int extensionCount);
    // A call indicated and not taken off, and its end.
    void setRinging(bool ringing);

Q_SIGNALS:
    void stateChanged();

private:
    void onCommand(const QString& topic, const QByteArray& payload);
    void answer(const QString& command, bool ok, const QString& message);

    Sources m_sources;
    std::unique_ptr<MqttClient> m_client;
    std::unique_ptr<MqttPublisher> m_publisher;
};
