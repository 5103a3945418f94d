#pragma once

#include "capi/TCapiAnrufNotification.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class CapiLibrary;
class Clock;
class TCapi;
class TCapiMessage;
class TConnection;
struct TCapiMessageFlags;

// Watches incoming calls on the ISDN bus through the CAPI: registers, listens for every speech,
// audio, data, fax and video service, signals each call as alerting and reports it. It leaves
// calls ringing at the real terminals unless the user ignores one, the reject time-out runs out,
// or the no-disturb mode takes it and drops it at once. Its signals are emitted while a CAPI
// message is handled: a slot must not destroy the monitor or call StartListen directly (use a
// queued connection for that).
class TCapiAnrufMonitor : public QObject
{
    Q_OBJECT

public:
    TCapiAnrufMonitor(Clock& clock, CapiLibrary& library, QObject* parent = nullptr);
    // Releases the application (waiting at most 4.1 s for the receive thread).
    ~TCapiAnrufMonitor() override;

    // Binds the library if not yet done, registers and sends LISTEN_REQ. True when all of it
    // succeeded; a failure leaves the monitor without an application, and Error tells why.
    bool StartListen(int controller, int rejectTimeOutSeconds);
    // Answers the pending call: 0 takes it, 1 ignores it, other values reject it with that value.
    void AnswerCall(int reject);

    int RejectTimeOut() const { return m_rejectTimeOut; }
    int Controller() const { return m_controller; }
    int Error() const { return m_error; }
    QString ErrorString() const { return m_errorString; }
    bool NoDisturbMode() const { return m_noDisturbMode; }
    void setNoDisturbMode(bool on) { m_noDisturbMode = on; }
    // Decides per call whether it is taken off as in no-disturb mode: the name it is logged with,
    // or nothing for a call that rings on.
    using BlockRule = std::function<std::optional<QString>(const TCapiAnrufNotification& call)>;
    void setBlockRule(BlockRule rule) { m_blockRule = std::move(rule); }
    // True while an application is registered and listening.
    bool listening() const { return m_capi != nullptr; }

Q_SIGNALS:
    void incomingCall(const TCapiAnrufNotification& call);
    void stateChange(bool bUserCanReject, bool bUserCanCangeNoDisturbMode);
    // The pending call has ended (its caller hung up, or it was taken off and cleared).
    void callEnded();
    // A text for an information box: an unknown message, or a failed release at the end.
    void notice(const QString& text);

private:
    void UpdateError();
    void HandleCapiEvent(TConnection* connection, const TCapiMessage& message, TCapiMessageFlags& flags);
    void onConnectInd(TConnection* connection, const TCapiMessage& message);
    void onDisconnectInd(TConnection* connection);
    void onConnectB3Ind(TConnection* connection, const TCapiMessage& message, TCapiMessageFlags& flags);
    TConnection* pendingCall() const;
    void forgetPendingCall();
    void startRejectCountDown();
    void stopRejectCountDown();
    void armRejectTimer();
    void RejectTimerTick();

    Clock& m_clock;
    CapiLibrary& m_library;
    std::unique_ptr<TCapi> m_capi;
    int m_rejectTimeOut = 0;
    int m_controller = 1;
    int m_error = 0;
    QString m_errorString;
    bool m_noDisturbMode = false;
    BlockRule m_blockRule;
    int m_pendingCallId = 0; // 0: none
    int m_countDown = 0;
    // The one-second timer: its ticks are bound to this object, so freeing it cancels them.
    std::unique_ptr<QObject> m_rejectTimer;
};
