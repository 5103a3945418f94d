#pragma once

#include "charges/IncomingCallLog.h"
#include "charges/OutgoingCallLog.h"

#include <QByteArray>
#include <QList>
#include <QString>

class ChargeUpdate;

// The topics under the prefix and their JSON payloads: the same field names and values as the
// call signals on the session bus, so that a script reads either the same way.
namespace MqttPayloads {

struct Message
{
    QString topic;
    QByteArray payload;
    int qos = 1;
    bool retain = false;
};

QByteArray incoming(const IncomingCallLog::Logged& call);
QByteArray outgoingBegun(const OutgoingCallLog::Logged& call);
QByteArray outgoingCompleted(const OutgoingCallLog::Logged& call);
// Units of all eight counters, the costs of the present extensions, the totals, the reading's time.
QByteArray charges(const ChargeUpdate& update, const QDateTime& time);

// The retained discovery configurations of one device with its sensors: per present extension its
// units and costs, the total cost, the last caller, and whether a call is ringing. Unique ids are
// made from the prefix and the sensor, so that they stay the same across restarts.
QList<Message> discovery(const QString& prefix, int extensionCount);

} // namespace MqttPayloads
