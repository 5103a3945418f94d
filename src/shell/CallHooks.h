#pragma once

#include "charges/IncomingCallLog.h"
#include "charges/OutgoingCallLog.h"
#include "common/MessageTable.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

#include <optional>

class Clock;
class QProcess;

// The user's scripts for each call: "incoming-call", "outgoing-call" and "call-completed" in the
// hooks folder run once per event. The call reaches them only as KAVEX_* environment variables,
// never through a shell or arguments, so a caller's number can never become a command. A hook
// runs beside the program, never holding it up, and is ended when it outlives the time limit; its
// exit status and first lines of output go to the trace (logging category "kavex.hooks").
class CallHooks : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultTimeLimitMs = 30000;
    static constexpr int TracedLines = 5;

    using Fields = QList<QPair<QString, QString>>;
    // The variables of each event; times as the logs write them, the duration in seconds.
    static Fields incomingFields(const IncomingCallLog::Logged& call);
    static Fields begunFields(const OutgoingCallLog::Logged& call);
    static Fields completedFields(const OutgoingCallLog::Logged& call);

    // Why a hook file must not run: someone else owns it, or someone else may write it or its
    // folder. Nothing when it may run.
    static std::optional<QString> refusal(const QString& path);

    CallHooks(Clock& clock, QString directory, QObject* parent = nullptr);
    ~CallHooks() override;

    QString directory() const { return m_directory; }
    void setTimeLimitMs(int ms) { m_timeLimitMs = ms; }
    int runningCount() const;

    void onIncomingCall(const IncomingCallLog::Logged& call);
    void onOutgoingBegun(const OutgoingCallLog::Logged& call);
    void onOutgoingCompleted(const OutgoingCallLog::Logged& call);

Q_SIGNALS:
    // A hook skipped or failed to start.
    void statusText(StatusLevel level, const QString& text);

private:
    void run(const QString& hook, const Fields& fields);
    void start(const QString& hook, const QString& path, const Fields& fields);

    Clock& m_clock;
    QString m_directory;
    int m_timeLimitMs = DefaultTimeLimitMs;
};
