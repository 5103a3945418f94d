#include "shell/CallHooks.h"

#include "common/Clock.h"
#include "common/FormatPicture.h"
#include "shell/HookFile.h"

#include <QLoggingCategory>
#include <QProcess>
#include <QProcessEnvironment>

#include <csignal>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

Q_LOGGING_CATEGORY(lcHooks, "kavex.hooks")

constexpr qsizetype MaxOutputBytes = 4096;
constexpr qsizetype MaxTracedLineLength = 200;

const QString IncomingHook = QStringLiteral("incoming-call");
const QString BegunHook = QStringLiteral("outgoing-call");
const QString CompletedHook = QStringLiteral("call-completed");

// What one running hook leaves for its trace.
struct Run
{
    QByteArray output;
    bool timedOut = false;
};

void traceOutput(const QString& hook, const QByteArray& output)
{
    const QList<QByteArray> lines = output.split('\n');
    for (qsizetype i = 0; i < lines.size() && i < CallHooks::TracedLines; ++i) {
        if (i == lines.size() - 1 && lines[i].isEmpty())
            break;
        qCInfo(lcHooks).noquote() << hook + QStringLiteral("> ") +
                                         QString::fromLocal8Bit(lines[i]).left(MaxTracedLineLength);
    }
}

// The hook and whatever it started: it runs in a process group of its own.
void endGroup(qint64 group)
{
    if (group > 0)
        ::kill(-static_cast<pid_t>(group), SIGKILL);
}

} // namespace

CallHooks::Fields CallHooks::incomingFields(const IncomingCallLog::Logged& call)
{
    return {{QStringLiteral("KAVEX_TIME"), FormatPicture::timestamp(call.time)},
            {QStringLiteral("KAVEX_MSN"), call.called},
            {QStringLiteral("KAVEX_CALLER"), call.caller},
            {QStringLiteral("KAVEX_FORMATTED"), call.formatted},
            {QStringLiteral("KAVEX_PLACE"), call.place},
            {QStringLiteral("KAVEX_NAME"), call.name},
            {QStringLiteral("KAVEX_BLOCKED"), call.blocked ? QStringLiteral("1") : QStringLiteral("0")}};
}

CallHooks::Fields CallHooks::begunFields(const OutgoingCallLog::Logged& call)
{
    return {{QStringLiteral("KAVEX_TIME"), FormatPicture::timestamp(call.start)},
            {QStringLiteral("KAVEX_EXTENSION"), QString::number(call.extension)},
            {QStringLiteral("KAVEX_NUMBER"), call.number},
            {QStringLiteral("KAVEX_NAME"), call.name}};
}

CallHooks::Fields CallHooks::completedFields(const OutgoingCallLog::Logged& call)
{
    return begunFields(call) + Fields{{QStringLiteral("KAVEX_UNITS"), QString::number(call.units)},
                                      {QStringLiteral("KAVEX_COST"), call.cost},
                                      {QStringLiteral("KAVEX_DURATION"), QString::number(call.seconds)}};
}

CallHooks::CallHooks(Clock& clock, QString directory, QObject* parent)
    : QObject(parent), m_clock(clock), m_directory(std::move(directory))
{}

CallHooks::~CallHooks()
{
    // Every group still within its time limit, its hook ended or not: what a hook left running
    // ends with the program. QProcess then waits for the hooks themselves.
    for (qint64 group : std::as_const(m_groups))
        endGroup(group);
}

int CallHooks::runningCount() const
{
    int running = 0;
    for (const QProcess* process : findChildren<QProcess*>(Qt::FindDirectChildrenOnly))
        running += process->state() != QProcess::NotRunning ? 1 : 0;
    return running;
}

void CallHooks::onIncomingCall(const IncomingCallLog::Logged& call)
{
    run(IncomingHook, incomingFields(call));
}

void CallHooks::onOutgoingBegun(const OutgoingCallLog::Logged& call)
{
    run(BegunHook, begunFields(call));
}

void CallHooks::onOutgoingCompleted(const OutgoingCallLog::Logged& call)
{
    run(CompletedHook, completedFields(call));
}

void CallHooks::run(const QString& hook, const Fields& fields)
{
    if (runningCount() < MaxRunning && m_waiting.isEmpty()) {
        start(hook, fields);
        return;
    }
    if (m_waiting.size() >= MaxWaiting) {
        qCInfo(lcHooks).noquote() << hook + QStringLiteral(": too many hooks waiting, not run");
        return;
    }
    m_waiting.append({hook, fields});
}

void CallHooks::startNext()
{
    while (!m_waiting.isEmpty() && runningCount() < MaxRunning) {
        const Waiting next = m_waiting.takeFirst();
        start(next.hook, next.fields);
    }
}

// No hook file is the usual case and says nothing; a file without the execute bit is a hook
// switched off. The file is checked when its turn comes, as it then is.
void CallHooks::start(const QString& hook, const Fields& fields)
{
    const QString path = m_directory + QLatin1Char('/') + hook;
    const HookFile file(path);
    if (!file.hasFile())
        return;
    if (file.isSwitchedOff()) {
        qCInfo(lcHooks).noquote() << hook + QStringLiteral(": not an executable file, not run");
        return;
    }
    if (const std::optional<QString>& reason = file.refusal()) {
        qCInfo(lcHooks).noquote() << hook + QStringLiteral(": refused, ") + *reason;
        Q_EMIT statusText(StatusLevel::Error, QStringLiteral("Hook %1 übersprungen: %2").arg(hook, *reason));
        return;
    }
    if (m_afterCheck)
        m_afterCheck(path);
    launch(hook, file, fields);
}

void CallHooks::endGroupAtLimit(qint64 group)
{
    m_groups.insert(group);
    m_clock.callAfter(m_timeLimitMs, this, [this, group] {
        m_groups.remove(group);
        endGroup(group);
    });
}

void CallHooks::launch(const QString& hook, const HookFile& file, const Fields& fields)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Only this call's fields: none of the program's own environment passes as a call's.
    for (const QString& key : environment.keys()) {
        if (key.startsWith(QLatin1String("KAVEX_")))
            environment.remove(key);
    }
    for (const auto& [key, value] : fields)
        environment.insert(key, value);

    auto* process = new QProcess(this);
    const auto state = std::make_shared<Run>();
    // The open file runs, not the path, which could name another file by now; the descriptor is
    // kept open across the exec for a script's interpreter to read.
    const int descriptor = file.descriptor();
    process->setProgram(file.execPath());
    process->setArguments({});
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(m_directory);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setChildProcessModifier([descriptor] {
        ::setpgid(0, 0);
        ::fcntl(descriptor, F_SETFD, 0);
    });

    connect(process, &QProcess::readyReadStandardOutput, this, [process, state] {
        const QByteArray data = process->readAllStandardOutput();
        state->output += data.left(MaxOutputBytes - state->output.size());
    });
    connect(process, &QProcess::finished, this,
            [process, state, hook, this](int exitCode, QProcess::ExitStatus status) {
                traceOutput(hook, state->output);
                if (state->timedOut)
                    qCInfo(lcHooks).noquote() << hook + QStringLiteral(": ended after %1 ms").arg(m_timeLimitMs);
                else if (status == QProcess::CrashExit)
                    qCInfo(lcHooks).noquote() << hook + QStringLiteral(": ended by a signal");
                else
                    qCInfo(lcHooks).noquote() << hook + QStringLiteral(": exit status %1").arg(exitCode);
                process->deleteLater();
                startNext();
            });
    connect(process, &QProcess::errorOccurred, this, [process, hook, this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        qCInfo(lcHooks).noquote() << hook + QStringLiteral(": not started, ") + process->errorString();
        Q_EMIT statusText(StatusLevel::Error,
                          QStringLiteral("Hook %1 nicht gestartet: %2").arg(hook, process->errorString()));
        process->deleteLater();
        startNext();
    });
    m_clock.callAfter(m_timeLimitMs, process, [process, state] {
        if (process->state() != QProcess::NotRunning)
            state->timedOut = true;
    });
    connect(process, &QProcess::started, this, [process, hook] {
        qCInfo(lcHooks).noquote() << hook + QStringLiteral(": started, process %1").arg(process->processId());
    });
    process->start();
    if (process->processId() > 0)
        endGroupAtLimit(process->processId());
}
