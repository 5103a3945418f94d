#include "charges/CallPublisher.h"

#include "common/FormatPicture.h"

CallPublisher::CallPublisher(const IncomingCallLog& incoming, const OutgoingCallLog& outgoing, QObject* parent)
    : QObject(parent), m_incoming(incoming), m_outgoing(outgoing)
{}

void CallPublisher::attachTo(QObject& busObject)
{
    if (m_adaptor)
        return;
    m_adaptor = new CallBusAdaptor(busObject);
    CallBusAdaptor* adaptor = m_adaptor;
    connect(&m_incoming, &IncomingCallLog::logged, adaptor, [adaptor](const IncomingCallLog::Logged& call) {
        Q_EMIT adaptor->IncomingCall(FormatPicture::timestamp(call.time), call.called, call.caller, call.formatted,
                                     call.place, call.name, call.blocked);
    });
    connect(&m_outgoing, &OutgoingCallLog::begun, adaptor, [adaptor](const OutgoingCallLog::Logged& call) {
        Q_EMIT adaptor->OutgoingCallBegun(FormatPicture::timestamp(call.start), call.extension, call.number, call.name);
    });
    connect(&m_outgoing, &OutgoingCallLog::completed, adaptor, [adaptor](const OutgoingCallLog::Logged& call) {
        Q_EMIT adaptor->OutgoingCallCompleted(FormatPicture::timestamp(call.start), call.extension, call.number,
                                              call.name, call.units, call.cost, static_cast<int>(call.seconds));
    });
}
