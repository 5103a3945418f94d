#include "CtlCommand.h"
#include "CtlLink.h"

#include "common/Clock.h"
#include "image/Extensions.h"
#include "mqtt/MqttPayloads.h"
#include "shell/MqttProbe.h"
#include "shell/MqttSettings.h"
#include "shell/ProgramDirs.h"
#include "shell/Settings.h"
#include "shell/SettingsLocation.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace {

void printTopics(const MqttConfig& config)
{
    const QString p = config.prefix;
    ctlPrint(QStringLiteral("Veröffentlicht würden:"));
    ctlPrint(QStringLiteral("  %1/status  \"online\", \"offline\" als letzter Wille und am Ende (gehalten)").arg(p));
    ctlPrint(QStringLiteral("  %1/charges  {units, costs, total_units, total_cost, time} nach jeder Gebührenablesung "
                            "(gehalten)")
                 .arg(p));
    ctlPrint(QStringLiteral("  %1/call/incoming  {time, msn, caller, formatted, place, name, blocked} je Anruf (QoS 1)")
                 .arg(p));
    ctlPrint(QStringLiteral("  %1/call/last_incoming  der letzte Anruf (gehalten)").arg(p));
    ctlPrint(QStringLiteral("  %1/call/outgoing/begun  {time, extension, number, name} (QoS 1)").arg(p));
    ctlPrint(QStringLiteral("  %1/call/outgoing/completed  {time, extension, number, name, units, cost, duration} "
                            "(QoS 1)")
                 .arg(p));
    ctlPrint(QStringLiteral("  %1/ringing  \"ON\" während ein Anruf klingelt, sonst \"OFF\" (gehalten)").arg(p));
    if (config.commands)
        ctlPrint(QStringLiteral("  %1/command/result  die Antwort auf %1/command/ring und %1/command/read_charges")
                     .arg(p));
    if (!config.homeAssistant)
        return;
    ctlPrint(QStringLiteral("Home-Assistant-Erkennung (gehalten, für %1 Nebenstellen; es gelten die der Anlage):")
                 .arg(Extensions::Max));
    for (const MqttPayloads::Message& message : MqttPayloads::discovery(p, Extensions::Max))
        ctlPrint(QStringLiteral("  ") + message.topic + QLatin1Char(' ') + QString::fromUtf8(message.payload));
}

// The settings against the broker: the answer, then what the program would publish. Nothing is
// published, so that a test beside the running service leaves its state alone.
int runMqttTest(const CtlOptions& options, const QStringList& args)
{
    if (!args.isEmpty()) {
        ctlError(QStringLiteral("Aufruf: kavexctl mqtt-test"));
        return ExitUsage;
    }
    const ProgramDirs dirs(options.dir);
    const Settings settings(SettingsLocation::resolve(dirs));
    const MqttSettings::Read read = MqttSettings::read(settings);
    if (!read.config.enabled()) {
        ctlError(QStringLiteral("kavexctl: kein MQTT-Server eingestellt (Abschnitt \"MQTT\", Schlüssel \"Server\")"));
        return ExitUsage;
    }
    MqttProbe probe(SystemClock::instance());
    QEventLoop loop;
    bool ok = false;
    QString text;
    QObject::connect(&probe, &MqttProbe::finished, &loop, [&](bool connected, const QString& message) {
        ok = connected;
        text = message;
        loop.quit();
    });
    probe.start(read);
    if (text.isEmpty())
        loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (!ok) {
        ctlError(QStringLiteral("kavexctl: ") + text);
        return read.problem.isEmpty() ? ExitComm : ExitUsage;
    }
    ctlPrint(text);
    printTopics(read.config);
    return ExitOk;
}

const CtlRegistrar mqttTest({"mqtt-test", "mqtt-test", runMqttTest});

} // namespace
