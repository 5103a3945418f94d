#pragma once

#include "mqtt/MqttConfig.h"

#include <QString>

class Settings;

// Section "MQTT" of the settings: "Server" (empty: off), "Port" (1883, 8883 with TLS), "TLS",
// "CA-Datei", "Benutzer", "Kennwortdatei", "Präfix", "HomeAssistant", "Befehle". The password is
// never in the settings: it is the first line of the password file, which only its owner may read.
namespace MqttSettings {

struct Read
{
    MqttConfig config;
    QString problem; // why the settings cannot be used as they stand; empty when they can
};

Read read(const Settings& settings);
// The password file's first line, or why it is refused.
QString readPassword(const QString& path, QString& problem);

} // namespace MqttSettings
