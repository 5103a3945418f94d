#include "charges/ChargeUpdate.h"

#include "charges/PendingCall.h"

ChargeUpdate::ChargeUpdate(PendingCall& pendingCall, QObject* parent) : QObject(parent), m_pendingCall(pendingCall) {}

void ChargeUpdate::run()
{
    Q_EMIT status(Msg::Clear, StatusLevel::Normal, {});
    m_pendingCall.complete();
    Q_EMIT updated();
}
