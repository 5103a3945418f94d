#include "capi/TCapiAnrufMonitor.h"

#include "capi/CapiCommands.h"
#include "capi/CapiTexts.h"
#include "capi/ReceivedMessages.h"
#include "capi/SentMessages.h"
#include "capi/TCapi.h"
#include "common/Clock.h"

namespace {

// The monitor's application: one logical connection, two B3 blocks of 128 bytes.
constexpr int MaxLogicalConnections = 1;
constexpr int MaxB3Blocks = 2;
constexpr int MaxB3BlockLength = 128;

// Cause, date/time, display, user-user data, call progression, facility, charging.
constexpr quint32 InfoMask = 0x7F;
// CIP values 1–9 and 16–28; bit 0 (any match) clear.
constexpr quint32 CipMask = 0x1FFF03FE;
constexpr quint8 PresentationAllowed = 0x80;

constexpr int TickMs = 1000;

constexpr quint16 RejectIgnore = 1;
// CONNECT_B3_RESP refusing the B3 link.
constexpr quint16 RejectB3 = 2;

} // namespace

TCapiAnrufMonitor::TCapiAnrufMonitor(Clock& clock, CapiLibrary& library, QObject* parent)
    : QObject(parent), m_clock(clock), m_library(library)
{
    qRegisterMetaType<TCapiAnrufNotification>();
}

TCapiAnrufMonitor::~TCapiAnrufMonitor()
{
    m_rejectTimer.reset();
    m_capi.reset();
}

bool TCapiAnrufMonitor::StartListen(int controller, int rejectTimeOutSeconds)
{
    m_error = 0;
    m_capi.reset();
    stopRejectCountDown();
    m_pendingCallId = 0;
    m_controller = controller;
    m_rejectTimeOut = rejectTimeOutSeconds;

    m_capi = std::make_unique<TCapi>(m_library, MaxLogicalConnections, MaxB3Blocks, MaxB3BlockLength,
                                     [this](const QString& text) { Q_EMIT notice(text); });
    UpdateError();
    if (m_error != 0) {
        m_capi.reset();
        return false;
    }
    m_capi->setOnCapiMessage([this](TConnection* connection, const TCapiMessage& message, TCapiMessageFlags& flags) {
        HandleCapiEvent(connection, message, flags);
    });
    const bool put = m_capi->PutMessage(std::make_unique<TListenReq>(
        static_cast<quint32>(controller), InfoMask, CipMask, 0, TCallingPartyNumber(0x00, PresentationAllowed, {}),
        TCallingPartySubAddress(PresentationAllowed, {})));
    if (!put) {
        UpdateError();
        m_capi.reset();
        Q_EMIT stateChange(false, false);
    } else {
        Q_EMIT stateChange(false, true);
    }
    return m_error == 0;
}

void TCapiAnrufMonitor::UpdateError()
{
    m_error = m_capi->LastError();
    m_errorString = m_capi->GetLastErrorText();
}

void TCapiAnrufMonitor::HandleCapiEvent(TConnection* connection, const TCapiMessage& message, TCapiMessageFlags& flags)
{
    UpdateError();
    switch (message.GetWordCommand()) {
    case CapiCommand::ConnectInd:
        onConnectInd(connection, message);
        break;
    case CapiCommand::DisconnectInd:
        onDisconnectInd(connection);
        break;
    case CapiCommand::ListenConf:
        Q_EMIT stateChange(false, true);
        break;
    case CapiCommand::ConnectB3Ind:
        onConnectB3Ind(connection, message, flags);
        break;
    default:
        break;
    }
}

void TCapiAnrufMonitor::onConnectInd(TConnection* connection, const TCapiMessage& message)
{
    const auto& ind = dynamic_cast<const TConnectInd&>(message);
    TCapiAnrufNotification call;
    call.CallingPartyNumber = ind.callingPartyNumber().number();
    call.CalledPartyNumber = ind.calledPartyNumber().text();
    call.CipValue = ind.cipValue();
    call.CipValueString = CipValueText(ind.cipValue());
    call.CallingTypeOfNumber = ind.callingPartyNumber().typeOfNumber();
    if (m_blockRule) {
        if (const std::optional<QString> name = m_blockRule(call)) {
            call.Blocked = true;
            call.BlockedName = *name;
        }
    }

    // A blocked call is taken and dropped as in no-disturb mode, that call alone.
    const bool takeOff = m_noDisturbMode || call.Blocked;
    m_pendingCallId = connection ? connection->ID() : 0;
    if (takeOff)
        AnswerCall(0);
    else if (m_rejectTimeOut < 1)
        AnswerCall(RejectIgnore);
    else
        startRejectCountDown();
    Q_EMIT stateChange(m_rejectTimeOut >= 1 && !takeOff, false);
    Q_EMIT incomingCall(call);
}

void TCapiAnrufMonitor::onDisconnectInd(TConnection* connection)
{
    // Only the end of the pending call ends the count-down; an earlier call left ringing may
    // hang up while a later one is still pending.
    if (!connection || connection->ID() != m_pendingCallId)
        return;
    forgetPendingCall();
    Q_EMIT stateChange(false, true);
    Q_EMIT callEnded();
}

void TCapiAnrufMonitor::onConnectB3Ind(TConnection* connection, const TCapiMessage& message, TCapiMessageFlags& flags)
{
    // Only a call taken in no-disturb mode or blocked reaches B3: refuse the link and clear the call.
    flags.sendStandardResponse = false;
    const auto& ind = dynamic_cast<const TConnectB3Ind&>(message);
    m_capi->PutMessage(answering(ind.header().messageNumber, std::make_unique<TConnectB3Resp>(ind.ncci(), RejectB3)));
    m_capi->DisconnectConnection(connection);
    Q_EMIT stateChange(false, false);
}

TConnection* TCapiAnrufMonitor::pendingCall() const
{
    return m_capi && m_pendingCallId != 0 ? m_capi->connections().GetItem(m_pendingCallId) : nullptr;
}

void TCapiAnrufMonitor::forgetPendingCall()
{
    stopRejectCountDown();
    m_pendingCallId = 0;
}

void TCapiAnrufMonitor::AnswerCall(int reject)
{
    TConnection* call = pendingCall();
    if (!call || call->state != TConnection::State::SetUpPending)
        return;
    Q_EMIT stateChange(false, false);
    stopRejectCountDown();
    const quint16 value = static_cast<quint16>(reject);
    if (value != 0) {
        m_capi->PutMessage(answering(call->connectIndNumber, std::make_unique<TConnectResp>(call->PLCI(), value)));
        return;
    }
    // Taken with speech over 64 kBit/s transparent: B1 1, B2 1, B3 0.
    m_capi->PutMessage(
        answering(call->connectIndNumber, std::make_unique<TConnectResp>(call->PLCI(), 0, TBProtocol(1, 1, 0))));
}

void TCapiAnrufMonitor::startRejectCountDown()
{
    m_countDown = m_rejectTimeOut;
    // A new timer, so that a second call restarts the count-down on a full second.
    m_rejectTimer = std::make_unique<QObject>();
    armRejectTimer();
}

void TCapiAnrufMonitor::stopRejectCountDown()
{
    m_countDown = 0;
    m_rejectTimer.reset();
}

void TCapiAnrufMonitor::armRejectTimer()
{
    m_clock.callAfter(TickMs, m_rejectTimer.get(), [this] { RejectTimerTick(); });
}

void TCapiAnrufMonitor::RejectTimerTick()
{
    m_countDown -= 1;
    if (m_countDown <= 0)
        AnswerCall(RejectIgnore);
    else
        armRejectTimer();
}
