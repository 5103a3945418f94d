#pragma once

#include "charges/IncomingCallLog.h"
#include "charges/OutgoingCallLog.h"
#include "common/MessageTable.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QSet>
#include <QString>

#include <functional>

class Clock;
class HookFile;
class QProcess;

// The user's scripts for each call: "incoming-call", "outgoing-call" and "call-completed" in the
// hooks folder run once per event. The call reaches them only as KAVEX_* environment variables,
// never through a shell or arguments, so a caller's number can never become a command. A hook
// runs beside the program, never holding it up; a few run at once and the others wait their turn
// in order. At the time limit, and when the program ends, the hook and everything it started
// are ended; its exit status and first lines of output go to the trace (category "kavex.hooks").
class CallHooks : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultTimeLimitMs = 30000;
    static constexpr int TracedLines = 5;
    static constexpr int MaxRunning = 4;
    // Beyond this many waiting, a hook is skipped: a flood of calls must not pile up without end.
    static constexpr int MaxWaiting = 100;

    using Fields = QList<QPair<QString, QString>>;
    // The variables of each event; times as the logs write them, the duration in seconds.
    static Fields incomingFields(const IncomingCallLog::Logged& call);
    static Fields begunFields(const OutgoingCallLog::Logged& call);
    static Fields completedFields(const OutgoingCallLog::Logged& call);

    CallHooks(Clock& clock, QString directory, QObject* parent = nullptr);
    ~CallHooks() override;

    QString directory() const { return m_directory; }
    void setTimeLimitMs(int ms) { m_timeLimitMs = ms; }
    int runningCount() const;
    int waitingCount() const { return int(m_waiting.size()); }
    // Called between a hook's check and its start, with its path: lets a test swap the file there.
    void setAfterCheck(std::function<void(const QString& path)> afterCheck) { m_afterCheck = std::move(afterCheck); }

    void onIncomingCall(const IncomingCallLog::Logged& call);
    void onOutgoingBegun(const OutgoingCallLog::Logged& call);
    void onOutgoingCompleted(const OutgoingCallLog::Logged& call);

Q_SIGNALS:
    // A hook skipped or failed to start.
    void statusText(StatusLevel level, const QString& text);

private:
    struct Waiting
    {
        QString hook;
        Fields fields;
    };

    void run(const QString& hook, const Fields& fields);
    void startNext();
    void start(const QString& hook, const Fields& fields);
    void launch(const QString& hook, const HookFile& file, const Fields& fields);
    void endGroupAtLimit(qint64 group);

    Clock& m_clock;
    QString m_directory;
    int m_timeLimitMs = DefaultTimeLimitMs;
    QList<Waiting> m_waiting;
    // Process groups of hooks within their time limit, ended or not: a background child of a hook
    // that has exited lives on in its group.
    QSet<qint64> m_groups;
    std::function<void(const QString&)> m_afterCheck;
};
