#include "charges/OutgoingCallLog.h"

#include "charges/CallLogAppend.h"
#include "charges/CallLogReader.h"
#include "charges/ChargeUpdate.h"
#include "charges/LogRetention.h"
#include "charges/PendingCall.h"
#include "common/Clock.h"
#include "common/FormatPicture.h"
#include "common/TextFile.h"
#include "image/Extensions.h"

#include <cerrno>
#include <cstring>

OutgoingCallLog::OutgoingCallLog(PendingCall& call, ChargeUpdate& charges, Clock& clock,
                                 const SpeedDialStore& speedDials, QString path, QObject* parent)
    : QObject(parent), m_call(call), m_charges(charges), m_clock(clock), m_speedDials(speedDials),
      m_path(std::move(path)), m_list(columns())
{
    connect(&call, &PendingCall::begun, this, &OutgoingCallLog::begin);
    connect(&call, &PendingCall::completed, this, &OutgoingCallLog::complete);
}

CallList::Columns OutgoingCallLog::columns()
{
    CallList::Columns columns;
    columns.headers = {QStringLiteral("Zeit"), QStringLiteral("NSt."),  QStringLiteral("Rufnummer"),
                       QStringLiteral("Name"), QStringLiteral("Einh."), QStringLiteral("Kosten"),
                       QStringLiteral("Dauer")};
    columns.units = UnitsColumn;
    columns.cost = CostColumn;
    columns.rightAligned = {UnitsColumn, CostColumn, DurationColumn};
    columns.name = NameColumn;
    return columns;
}

void OutgoingCallLog::setRecording(bool on)
{
    m_recording = on;
    m_call.setCompleting(on);
}

void OutgoingCallLog::cleanUp(bool dropFreeCalls)
{
    LogRetention::removeLeftover(m_path);
    const LogRetention::Outcome outcome = LogRetention::rewriteOutgoing(m_path, {}, {}, dropFreeCalls);
    if (outcome.error != 0)
        Q_EMIT statusText(
            StatusLevel::Error,
            QStringLiteral("%1 nicht bereinigt: %2").arg(m_path, QString::fromLocal8Bit(std::strerror(outcome.error))));
}

void OutgoingCallLog::load(int displayDays)
{
    CallLogReader::Result loaded = CallLogReader::load(m_path, CallLogReader::outgoing(),
                                                       CallLogReader::windowStart(m_clock.now().date(), displayDays));
    m_pendingRow = -1;
    m_list.replaceAll(std::move(loaded.rows));
    if (loaded.error != 0 && loaded.error != ENOENT)
        Q_EMIT statusText(
            StatusLevel::Error,
            QStringLiteral("%1 nicht lesbar: %2").arg(m_path, QString::fromLocal8Bit(std::strerror(loaded.error))));
}

// The line break first: it ends the previous record (which has none of its own) or the header.
void OutgoingCallLog::begin(int extension, const QString& display)
{
    const bool spontaneous = !m_spontaneous || m_spontaneous(extension);
    const OutgoingRecord::Named named =
        OutgoingRecord::name(display, spontaneous, m_speedDials, m_areaLookup, m_nameLookup);
    const QDateTime start = m_call.start();
    const QString columns =
        OutgoingRecord::beginColumns(start, Extensions::number(extension), named.number, named.name);
    append(QString::fromLatin1(TextFile::kLineEnd) + columns, true);
    m_pendingRow = m_list.append({FormatPicture::timestamp(start), QString::number(Extensions::number(extension)),
                                  named.number, named.name, QString(), QString(), QString()});
    Q_EMIT rowAdded(m_pendingRow);
    m_pending = Logged{start, Extensions::number(extension), named.number, named.name, -1, QString(), -1};
    Q_EMIT begun(m_pending);
}

void OutgoingCallLog::complete(int extension)
{
    const int row = m_pendingRow;
    m_pendingRow = -1;
    if (!m_recording || row < 0)
        return;
    // Without the history's counters the units would be the whole counter: the record stays
    // incomplete, as when no reading came.
    if (!m_charges.previousUnitsRead()) {
        Q_EMIT statusText(StatusLevel::Error, QStringLiteral("Gespräch vom %1 ohne Einheiten: %2 nicht lesbar")
                                                  .arg(m_list.text(row, TimeColumn), m_charges.historyPath()));
        return;
    }
    const auto k = static_cast<std::size_t>(extension);
    const int units = m_charges.units().at(k) - m_charges.previousUnits().at(k);
    const double cost = m_charges.prices().pricePerUnit * units;
    // Full date and time, so that a call across midnight keeps its length; a reading during the
    // call ends it now.
    const QDateTime end = m_call.end().isValid() ? m_call.end() : m_clock.now();
    const qint64 seconds = std::max<qint64>(0, m_call.start().secsTo(end));
    m_list.setText(row, UnitsColumn, QString::number(units));
    m_list.setText(row, CostColumn, OutgoingRecord::listCost(cost));
    m_list.setText(row, DurationColumn, OutgoingRecord::listDuration(seconds));
    append(OutgoingRecord::completionColumns(units, cost, seconds), false);
    Logged call = m_pending;
    call.units = units;
    call.cost = OutgoingRecord::listCost(cost);
    call.seconds = seconds;
    Q_EMIT completed(call);
}

// An existing log that cannot be opened is reported and never created anew over its records.
bool OutgoingCallLog::append(const QString& text, bool createWithHeader)
{
    const CallLogAppend::Result result =
        CallLogAppend::append(m_path, text, createWithHeader ? OutgoingRecord::headerLines() : QStringList());
    if (result.created)
        Q_EMIT statusText(StatusLevel::Normal, QStringLiteral("Öffnen der OUT-Datei brachte Fehler %1").arg(ENOENT));
    if (result.error == 0)
        return true;
    Q_EMIT statusText(StatusLevel::Error, QStringLiteral("Öffnen der OUT-Datei brachte Fehler %1 (%2)")
                                              .arg(result.error)
                                              .arg(QString::fromLocal8Bit(std::strerror(result.error))));
    return false;
}

void OutgoingCallLog::onSecond()
{
    if (m_pendingRow < 0 || !m_call.isPending() || m_call.end().isValid())
        return;
    const qint64 seconds = std::max<qint64>(0, m_call.start().secsTo(m_clock.now()));
    m_list.setText(m_pendingRow, DurationColumn, OutgoingRecord::listDuration(seconds));
}

bool OutgoingCallLog::rename(int row, const QString& name, bool dropFreeCalls)
{
    const QString key = m_list.text(row, TimeColumn);
    if (key.isEmpty())
        return false;
    const QString cut = name.left(MaxRenamedName);
    // A rename that reached no record would be lost at the next start: the list keeps its name.
    const QString failure =
        LogRetention::renameFailure(LogRetention::rewriteOutgoing(m_path, key, cut, dropFreeCalls), m_path, key);
    if (!failure.isEmpty()) {
        Q_EMIT statusText(StatusLevel::Error, failure);
        return false;
    }
    m_list.setTextWhere(TimeColumn, key, NameColumn, cut);
    return true;
}
