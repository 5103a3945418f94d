#include "charges/IncomingCallLog.h"

#include "charges/CallLogAppend.h"
#include "charges/CallLogReader.h"
#include "charges/IncomingRecord.h"
#include "charges/LogRetention.h"
#include "common/Clock.h"
#include "common/FormatPicture.h"
#include "common/TextFile.h"

#include <cerrno>
#include <cstring>

IncomingCallLog::IncomingCallLog(Clock& clock, const SpeedDialStore& speedDials, QString path, QObject* parent)
    : QObject(parent), m_clock(clock), m_speedDials(speedDials), m_path(std::move(path)), m_list(columns())
{}

CallList::Columns IncomingCallLog::columns()
{
    CallList::Columns columns;
    columns.headers = {QStringLiteral("Zeit"), QStringLiteral("An"), QStringLiteral("Von"), QStringLiteral("Name")};
    columns.name = NameColumn;
    return columns;
}

void IncomingCallLog::load(int displayDays)
{
    CallLogReader::Result loaded = CallLogReader::load(m_path, CallLogReader::incoming(),
                                                       CallLogReader::windowStart(m_clock.now().date(), displayDays));
    m_list.replaceAll(std::move(loaded.rows));
    if (loaded.error != 0 && loaded.error != ENOENT)
        Q_EMIT statusText(
            StatusLevel::Error,
            QStringLiteral("%1 nicht lesbar: %2").arg(m_path, QString::fromLocal8Bit(std::strerror(loaded.error))));
}

void IncomingCallLog::onIncomingCall(const QString& callingDigits, const QString& called, quint8 typeOfNumber,
                                     const std::optional<QString>& blockedName)
{
    Logged call;
    call.caller = IncomingRecord::normalisedCaller(callingDigits, typeOfNumber);
    call.called = IncomingRecord::dialable(called);
    if (m_accepts && !m_accepts(call.called))
        return;
    call.time = m_clock.now();
    const int row = m_list.append({FormatPicture::timestamp(call.time), call.called, QString(), QString()});

    QString knownName;
    call.blocked = blockedName.has_value();
    if (call.blocked) {
        knownName = *blockedName;
    } else if (const auto match = IncomingRecord::speedDialFor(call.caller, m_speedDials)) {
        knownName = match->name;
        m_sound = match->sound;
    } else if (m_nameLookup && !call.caller.isEmpty()) {
        knownName = m_nameLookup(call.caller);
    }
    call.formatted = call.caller;
    if (m_areaLookup) {
        if (const auto looked = m_areaLookup(call.caller)) {
            call.formatted = looked->first;
            call.place = looked->second;
        }
    }
    call.name = knownName.isEmpty() ? call.place : knownName;

    Q_EMIT statusText(StatusLevel::Progress, call.time.toString(QStringLiteral("HH:mm:ss")) +
                                                 QStringLiteral(": Anruf von ") + call.formatted + QLatin1Char(' ') +
                                                 call.place +
                                                 (call.blocked ? QStringLiteral(" (gesperrt)") : QString()));
    m_list.setText(row, CallerColumn, call.formatted);
    m_list.setText(row, NameColumn, call.name);
    Q_EMIT rowAdded(row);

    // The list row's time is the record's: a rename finds the record by it.
    append(IncomingRecord::line(call.time, call.called, call.formatted, call.name));
    Q_EMIT logged(call);
    // The caller's sound only for a call that rings on.
    if (!call.blocked && !m_sound.isEmpty())
        Q_EMIT playSound(m_sound);
}

// A missing log is created with its header; an existing one that cannot be opened is reported and
// never created anew over its lines.
bool IncomingCallLog::append(const QString& line)
{
    // A last line without its line break (written by hand or by another program) must not
    // swallow the new record.
    const QString lineBreak = TextFile::endsWithLineBreak(m_path) ? QString() : QLatin1String(TextFile::kLineEnd);
    const CallLogAppend::Result result = CallLogAppend::append(m_path, lineBreak + line, IncomingRecord::headerLines());
    if (result.created)
        Q_EMIT statusText(StatusLevel::Normal,
                          QStringLiteral("Öffnen der Gebührendatei brachte Fehler %1").arg(ENOENT));
    if (result.error == 0)
        return true;
    Q_EMIT statusText(StatusLevel::Error, QStringLiteral("Öffnen der IN-Datei brachte Fehler %1 (%2)")
                                              .arg(result.error)
                                              .arg(QString::fromLocal8Bit(std::strerror(result.error))));
    return false;
}

bool IncomingCallLog::rename(int row, const QString& name)
{
    const QString key = m_list.text(row, TimeColumn);
    if (key.isEmpty())
        return false;
    const QString cut = name.left(MaxRenamedName);
    // A rename that reached no record would be lost at the next start: the list keeps its name.
    const QString failure = LogRetention::renameFailure(LogRetention::rewriteIncoming(m_path, key, cut), m_path, key);
    if (!failure.isEmpty()) {
        Q_EMIT statusText(StatusLevel::Error, failure);
        return false;
    }
    m_list.setTextWhere(TimeColumn, key, NameColumn, cut);
    return true;
}
