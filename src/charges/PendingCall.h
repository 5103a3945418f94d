#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

class Clock;
class PbxLink;
class StateEvents;

// The outgoing call whose record has begun and that waits for the charge reading that completes
// it. At most one: a call that begins while one is pending replaces it. When a trunk is released
// while a call is pending, its end time is taken and the charges are read 2 s later, without
// holding up anything else meanwhile.
class PendingCall : public QObject
{
    Q_OBJECT

public:
    static constexpr int ChargeReadDelayMs = 2000;

    PendingCall(StateEvents& events, PbxLink& link, Clock& clock, QObject* parent = nullptr);

    bool isPending() const { return m_extension >= 0; }
    int extension() const { return m_extension; } // index 0..7, -1 = none
    QString display() const { return m_display; }
    QDateTime start() const { return m_start; }
    // Invalid until the call has ended (a trunk released, or the handset of the extension).
    QDateTime end() const { return m_end; }

    // While outgoing calls are not logged, a reading completes nothing: the call stays pending
    // until a reading while they are.
    void setCompleting(bool on) { m_completing = on; }
    // The charge update has completed the record.
    void complete();

Q_SIGNALS:
    void begun(int extension, const QString& display);
    void completed(int extension);

private:
    void onBegins(int extension, const QString& display);
    void onTrunkReleased();
    void onHandset(int extension);

    PbxLink& m_link;
    Clock& m_clock;
    int m_extension = -1;
    QString m_display;
    QDateTime m_start;
    QDateTime m_end;
    bool m_completing = true;
};
