#pragma once

#include "charges/CallList.h"
#include "charges/OutgoingRecord.h"
#include "common/MessageTable.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>

class ChargeUpdate;
class Clock;
class PendingCall;
class SpeedDialStore;

// "WinKavex.out" and the list "Abgehende Gespräche": a record begins when the exchange reports
// that an extension has dialled out (the number named by speed dial or area code), and the charge
// reading after the call completes it with units, cost and duration. Owns the list rows; the
// pending call itself (start, end, the charge read 2 s after the end) is PendingCall's.
class OutgoingCallLog : public QObject
{
    Q_OBJECT

public:
    enum Column
    {
        TimeColumn,
        ExtensionColumn,
        NumberColumn,
        NameColumn,
        UnitsColumn,
        CostColumn,
        DurationColumn
    };
    static constexpr int MaxRenamedName = 30;

    // What was logged of one call, for listeners (D-Bus, hooks): at its begin, then completed.
    struct Logged
    {
        QDateTime start;
        int extension = 0; // 21..28
        QString number;    // as logged
        QString name;
        int units = -1; // from here on only once completed
        QString cost;   // as the list shows it
        qint64 seconds = -1;
    };

    OutgoingCallLog(PendingCall& call, ChargeUpdate& charges, Clock& clock, const SpeedDialStore& speedDials,
                    QString path, QObject* parent = nullptr);

    QString path() const { return m_path; }
    CallList& list() { return m_list; }
    static CallList::Columns columns();

    // "Abgehende Rufe": without it the charge reading completes no record, and a pending call waits.
    void setRecording(bool on);
    void setSpontaneousTrunkAccess(std::function<bool(int extension)> query) { m_spontaneous = std::move(query); }
    void setAreaLookup(OutgoingRecord::AreaLookup lookup) { m_areaLookup = std::move(lookup); }
    // The address book: names a dialled number that no speed dial names.
    void setNameLookup(OutgoingRecord::NameLookup lookup) { m_nameLookup = std::move(lookup); }

    // Start: the clean-up rewrite (internal calls dropped, free calls too when asked), then the
    // records of the last `displayDays` days into the list.
    void cleanUp(bool dropFreeCalls);
    void load(int displayDays);
    // Once a second: the running duration of the pending call.
    void onSecond();
    // "Namen ändern": every record of the row's start second gets the name, in the list and in
    // the log; false (and a message) when the log could not be rewritten.
    bool rename(int row, const QString& name, bool dropFreeCalls);
    int pendingRow() const { return m_pendingRow; }

Q_SIGNALS:
    void statusText(StatusLevel level, const QString& text);
    void rowAdded(int row);
    void begun(const OutgoingCallLog::Logged& call);
    void completed(const OutgoingCallLog::Logged& call);

private:
    void begin(int extension, const QString& display);
    void complete(int extension);
    bool append(const QString& text, bool createWithHeader);

    PendingCall& m_call;
    ChargeUpdate& m_charges;
    Clock& m_clock;
    const SpeedDialStore& m_speedDials;
    QString m_path;
    CallList m_list;
    bool m_recording = true;
    int m_pendingRow = -1;
    Logged m_pending;
    std::function<bool(int)> m_spontaneous;
    OutgoingRecord::AreaLookup m_areaLookup;
    OutgoingRecord::NameLookup m_nameLookup;
};
