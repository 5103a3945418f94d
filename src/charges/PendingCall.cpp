#include "charges/PendingCall.h"

#include "common/Clock.h"
#include "link/PbxLink.h"
#include "link/StateEvents.h"

PendingCall::PendingCall(StateEvents& events, PbxLink& link, Clock& clock, QObject* parent)
    : QObject(parent), m_link(link), m_clock(clock)
{
    connect(&events, &StateEvents::outgoingCallBegins, this, &PendingCall::onBegins);
    connect(&events, &StateEvents::trunkReleased, this, &PendingCall::onTrunkReleased);
    connect(&events, &StateEvents::callDurationStopped, this, &PendingCall::onHandset);
    m_link.setCallPending([this] { return isPending(); });
}

void PendingCall::onBegins(int extension, const QString& display)
{
    m_extension = extension;
    m_display = display;
    m_start = m_clock.now();
    m_end = QDateTime();
    Q_EMIT begun(extension, display);
}

void PendingCall::onTrunkReleased()
{
    if (!isPending())
        return;
    m_end = m_clock.now();
    m_clock.callAfter(ChargeReadDelayMs, this, [this] { m_link.requestCharges(); });
}

// The handset going down ends the running duration, whether or not a call is pending.
void PendingCall::onHandset(int)
{
    m_end = m_clock.now();
}

void PendingCall::complete()
{
    if (!isPending() || !m_completing)
        return;
    const int extension = m_extension;
    m_extension = -1;
    Q_EMIT completed(extension);
}
