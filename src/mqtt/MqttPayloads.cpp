#include "mqtt/MqttPayloads.h"

#include "charges/ChargeUpdate.h"
#include "common/FormatPicture.h"
#include "image/Extensions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QByteArray compact(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

double cents(double value)
{
    return qRound(value * 100) / 100.0;
}

// A topic level may hold no "/", "+" or "#"; the prefix comes from the settings.
QString idOf(const QString& prefix)
{
    QString id;
    for (const QChar c : prefix)
        id += c.isLetterOrNumber() && c.unicode() < 128 ? c.toLower() : QLatin1Char('_');
    return id;
}

} // namespace

namespace MqttPayloads {

QByteArray incoming(const IncomingCallLog::Logged& call)
{
    return compact({{QStringLiteral("time"), FormatPicture::timestamp(call.time)},
                    {QStringLiteral("msn"), call.called},
                    {QStringLiteral("caller"), call.caller},
                    {QStringLiteral("formatted"), call.formatted},
                    {QStringLiteral("place"), call.place},
                    {QStringLiteral("name"), call.name},
                    {QStringLiteral("blocked"), call.blocked}});
}

QByteArray outgoingBegun(const OutgoingCallLog::Logged& call)
{
    return compact({{QStringLiteral("time"), FormatPicture::timestamp(call.start)},
                    {QStringLiteral("extension"), call.extension},
                    {QStringLiteral("number"), call.number},
                    {QStringLiteral("name"), call.name}});
}

QByteArray outgoingCompleted(const OutgoingCallLog::Logged& call)
{
    return compact({{QStringLiteral("time"), FormatPicture::timestamp(call.start)},
                    {QStringLiteral("extension"), call.extension},
                    {QStringLiteral("number"), call.number},
                    {QStringLiteral("name"), call.name},
                    {QStringLiteral("units"), call.units},
                    {QStringLiteral("cost"), call.cost},
                    {QStringLiteral("duration"), static_cast<qint64>(call.seconds)}});
}

QByteArray charges(const ChargeUpdate& update, const QDateTime& time)
{
    QJsonArray units, costs;
    for (int value : update.units())
        units.append(value);
    for (int i = 0; i < update.extensionCount(); ++i)
        costs.append(cents(update.cost(i)));
    return compact({{QStringLiteral("units"), units},
                    {QStringLiteral("costs"), costs},
                    {QStringLiteral("total_units"), update.totalUnits()},
                    {QStringLiteral("total_cost"), cents(update.totalCost())},
                    {QStringLiteral("time"), FormatPicture::timestamp(time)}});
}

QList<Message> discovery(const QString& prefix, int extensionCount)
{
    const QString id = idOf(prefix);
    const QJsonObject device{{QStringLiteral("identifiers"), QJsonArray{id}},
                             {QStringLiteral("name"), QStringLiteral("Kavex K3/K8")},
                             {QStringLiteral("manufacturer"), QStringLiteral("Kavex")},
                             {QStringLiteral("model"), QStringLiteral("K3/K8")}};
    const QString status = prefix + QStringLiteral("/status");
    QList<Message> messages;
    const auto add = [&](const QString& component, const QString& object, QJsonObject config) {
        config.insert(QStringLiteral("unique_id"), id + QLatin1Char('_') + object);
        config.insert(QStringLiteral("object_id"), id + QLatin1Char('_') + object);
        config.insert(QStringLiteral("device"), device);
        config.insert(QStringLiteral("availability_topic"), status);
        messages.push_back({QStringLiteral("homeassistant/%1/%2/%3/config").arg(component, id, object),
                            compact(config), 1, true});
    };
    const QString chargesTopic = prefix + QStringLiteral("/charges");
    const int present = qBound(0, extensionCount, Extensions::Max);
    for (int i = 0; i < present; ++i) {
        const int extension = Extensions::First + i;
        add(QStringLiteral("sensor"), QStringLiteral("extension_%1_units").arg(extension),
            {{QStringLiteral("name"), QStringLiteral("Nebenstelle %1 Einheiten").arg(extension)},
             {QStringLiteral("state_topic"), chargesTopic},
             {QStringLiteral("value_template"), QStringLiteral("{{ value_json.units[%1] }}").arg(i)},
             {QStringLiteral("state_class"), QStringLiteral("total_increasing")}});
        add(QStringLiteral("sensor"), QStringLiteral("extension_%1_costs").arg(extension),
            {{QStringLiteral("name"), QStringLiteral("Nebenstelle %1 Kosten").arg(extension)},
             {QStringLiteral("state_topic"), chargesTopic},
             {QStringLiteral("value_template"), QStringLiteral("{{ value_json.costs[%1] }}").arg(i)},
             {QStringLiteral("unit_of_measurement"), QStringLiteral("EUR")},
             {QStringLiteral("device_class"), QStringLiteral("monetary")}});
    }
    add(QStringLiteral("sensor"), QStringLiteral("total_cost"),
        {{QStringLiteral("name"), QStringLiteral("Gesamtkosten")},
         {QStringLiteral("state_topic"), chargesTopic},
         {QStringLiteral("value_template"), QStringLiteral("{{ value_json.total_cost }}")},
         {QStringLiteral("unit_of_measurement"), QStringLiteral("EUR")},
         {QStringLiteral("device_class"), QStringLiteral("monetary")}});
    add(QStringLiteral("sensor"), QStringLiteral("last_caller"),
        {{QStringLiteral("name"), QStringLiteral("Letzter Anrufer")},
         {QStringLiteral("state_topic"), prefix + QStringLiteral("/call/last_incoming")},
         {QStringLiteral("value_template"),
          QStringLiteral("{{ (value_json.formatted ~ ' ' ~ value_json.name) | trim | truncate(250) }}")},
         {QStringLiteral("json_attributes_topic"), prefix + QStringLiteral("/call/last_incoming")}});
    add(QStringLiteral("binary_sensor"), QStringLiteral("ringing"),
        {{QStringLiteral("name"), QStringLiteral("Anruf")},
         {QStringLiteral("state_topic"), prefix + QStringLiteral("/ringing")},
         {QStringLiteral("payload_on"), QStringLiteral("ON")},
         {QStringLiteral("payload_off"), QStringLiteral("OFF")}});
    return messages;
}

} // namespace MqttPayloads
