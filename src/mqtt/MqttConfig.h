#pragma once

#include <QString>

// What the client is told to do, from the settings section "MQTT".
struct MqttConfig
{
    QString server; // empty: off
    int port = 1883;
    bool tls = false;
    QString caFile;   // empty: the system's certificate authorities
    QString user;
    QString password; // read from the password file, never from the settings
    QString prefix = QStringLiteral("winkavex");
    bool homeAssistant = true;
    bool commands = false;

    bool enabled() const { return !server.isEmpty(); }
};
