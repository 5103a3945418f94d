#pragma once

#include "shell/MqttSettings.h"

#include <QObject>
#include <QString>

#include <memory>

class Clock;
class MqttClient;

// "Verbindung testen" and `kavexctl mqtt-test`: the settings tried against the broker without
// publishing anything, answered once with what came of it.
class MqttProbe : public QObject
{
    Q_OBJECT

public:
    static constexpr int TimeoutMs = 10000;

    explicit MqttProbe(Clock& clock, QObject* parent = nullptr);
    ~MqttProbe() override;

    void start(const MqttSettings::Read& read);

Q_SIGNALS:
    void finished(bool ok, const QString& text);

private:
    void finish(bool ok, const QString& text);

    Clock& m_clock;
    std::unique_ptr<MqttClient> m_client;
    std::unique_ptr<QObject> m_timeout;
    bool m_done = false;
};
