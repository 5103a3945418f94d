#pragma once

#include "mqtt/MqttConfig.h"

#include <QString>

class Settings;

// Section "MQTT" of the settings: "Server" (empty: off), "Port" (1883, 8883 with TLS), "TLS",
// "CA-Datei", "Benutzer", "Kennwortdatei", "Präfix", "HomeAssistant", "Befehle". The password is
// never in the settings: it is the first line of the password file, which only its owner may read.
namespace MqttSettings {

// The section as the page edits it: the password file's name, not the password.
struct Form
{
    QString server;
    int port = 0; // 0: the default for TLS or not
    bool tls = false;
    QString caFile;
    QString user;
    QString passwordFile;
    QString prefix = QStringLiteral("winkavex");
    bool homeAssistant = true;
    bool commands = false;
};

struct Read
{
    MqttConfig config;
    QString problem; // why the settings cannot be used as they stand; empty when they can
};

Form form(const Settings& settings);
bool write(Settings& settings, const Form& form);
// The configuration the form gives, the password read from its file.
Read fromForm(const Form& form);
Read read(const Settings& settings);
// The password file's first line, or why it is refused.
QString readPassword(const QString& path, QString& problem);

} // namespace MqttSettings
