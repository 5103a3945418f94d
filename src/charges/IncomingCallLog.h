#pragma once

#include "charges/CallList.h"
#include "charges/OutgoingRecord.h"
#include "common/MessageTable.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class Clock;
class SpeedDialStore;

// "WinKavex.in" and the list "Ankommende Gespräche": each incoming call the CAPI monitor reports
// and the MSN filter lets through is named (speed dial, address book, else the place of its area code),
// announced, listed and logged. Owns the list rows.
class IncomingCallLog : public QObject
{
    Q_OBJECT

public:
    enum Column
    {
        TimeColumn,
        CalledColumn,
        CallerColumn,
        NameColumn
    };
    static constexpr int MaxRenamedName = 30;

    // What was logged of one call, for the notification and other listeners.
    struct Logged
    {
        QDateTime time;
        QString called;    // the MSN, trimmed
        QString caller;    // normalised, as received
        QString formatted; // by the area-code lookup, else the caller
        QString place;     // of the area code, may be empty
        QString name;      // the speed dial's, else the address book's, else the place
        bool blocked = false; // taken off by the block list; the name is its note
    };

    IncomingCallLog(Clock& clock, const SpeedDialStore& speedDials, QString path, QObject* parent = nullptr);

    QString path() const { return m_path; }
    CallList& list() { return m_list; }
    static CallList::Columns columns();

    // "Alle" off: whether a call to this number is logged (the MSN fields with their switches).
    void setFilter(std::function<bool(const QString& called)> accepts) { m_accepts = std::move(accepts); }
    void setAreaLookup(OutgoingRecord::AreaLookup lookup) { m_areaLookup = std::move(lookup); }
    // The address book: names a caller that no speed dial names, before the place does.
    void setNameLookup(OutgoingRecord::NameLookup lookup) { m_nameLookup = std::move(lookup); }

    // The records of the last `displayDays` days into the list.
    void load(int displayDays);
    // The monitor's report: the digits after the calling number's octets, the called number, and
    // the calling number's type-of-number octet.
    // For a blocked call, the name it is logged with.
    void onIncomingCall(const QString& callingDigits, const QString& called, quint8 typeOfNumber,
                        const std::optional<QString>& blockedName = std::nullopt);
    // "Namen ändern": every line of the row's second gets the name (at most 30 characters).
    bool rename(int row, const QString& name);
    // The sound file of the last matching speed dial; kept until another match sets a new one.
    QString soundFile() const { return m_sound; }

Q_SIGNALS:
    void statusText(StatusLevel level, const QString& text);
    void rowAdded(int row);
    void logged(const IncomingCallLog::Logged& call);
    void playSound(const QString& file);

private:
    bool append(const QString& line);

    Clock& m_clock;
    const SpeedDialStore& m_speedDials;
    QString m_path;
    CallList m_list;
    std::function<bool(const QString&)> m_accepts;
    OutgoingRecord::AreaLookup m_areaLookup;
    OutgoingRecord::NameLookup m_nameLookup;
    QString m_sound;
};
