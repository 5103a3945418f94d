#pragma once

#include "charges/IncomingCallLog.h"
#include "charges/OutgoingCallLog.h"

#include <QObject>

class ChargeUpdate;
class Clock;
class MqttClient;

// The session's calls and charges on the broker: each logged call as an event, the latest
// incoming call, the charge reading and the ringing state as retained states, and the discovery
// configurations of Home Assistant when they are wanted.
class MqttPublisher : public QObject
{
    Q_OBJECT

public:
    MqttPublisher(MqttClient& client, Clock& clock, QObject* parent = nullptr);

    // The device's sensors for this many present extensions (after the first read).
    void announce(int extensionCount);

    void onIncomingCall(const IncomingCallLog::Logged& call);
    void onOutgoingBegun(const OutgoingCallLog::Logged& call);
    void onOutgoingCompleted(const OutgoingCallLog::Logged& call);
    void onCharges(const ChargeUpdate& update);
    // "ON" from an incoming call's indication until it ends.
    void setRinging(bool ringing);

private:
    QString topic(const char* path) const;

    MqttClient& m_client;
    Clock& m_clock;
    int m_announced = -1;
};
