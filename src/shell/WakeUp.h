#pragma once

#include "shell/Settings.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

class Clock;
class PbxLink;

// Wake-up calls: per extension one time for Monday to Friday and one for the weekend, and one
// ringing duration. The times are held here as the page shows them; in the ready state every
// change rewrites the whole section of the settings file. The check rings the due extensions
// as one job of the link's queue.
class WakeUp : public QObject
{
    Q_OBJECT

public:
    static constexpr int MinDuration = 5, MaxDuration = 60;

    WakeUp(Clock& clock, Settings& settings, PbxLink& link, QObject* parent = nullptr);

    // The stored times (start-up, before the ready state); changed() follows.
    void loadSettings();
    const Settings::WakeUpTimes& times() const { return m_times; }
    // Index 0..7 for extensions 21..28; times "HHmm".
    void setWeekdayTime(int index, const QString& hhmm);
    void setWeekendTime(int index, const QString& hhmm);
    // Kept within 5..60 seconds.
    void setDurationSeconds(int seconds);

    // Before the ready state a change writes nothing (start-up fills the fields).
    void setReady(bool ready) { m_ready = ready; }
    // Indexes of the extensions due at `now`, in order.
    QList<int> dueIndexes(const QDateTime& now) const;
    // One tick of the one-second timer.
    void onSecond();

Q_SIGNALS:
    void changed();

private:
    void store();
    bool skippedByTransfer() const;

    Clock& m_clock;
    Settings& m_settings;
    PbxLink& m_link;
    Settings::WakeUpTimes m_times;
    bool m_ready = false;
};
