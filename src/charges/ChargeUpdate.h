#pragma once

#include "common/MessageTable.h"

#include <QObject>

class PendingCall;

// What follows every charge reply, in order: the status line cleared, the counters turned into
// units and costs, and a pending outgoing call completed from them; then the pages refresh.
class ChargeUpdate : public QObject
{
    Q_OBJECT

public:
    explicit ChargeUpdate(PendingCall& pendingCall, QObject* parent = nullptr);

    // The charge region of the image has just been received.
    void run();

Q_SIGNALS:
    void status(int number, StatusLevel level, const QString& arg);
    void updated();

private:
    PendingCall& m_pendingCall;
};
