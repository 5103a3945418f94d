#pragma once

#include <QByteArray>
#include <QObject>

class PbxLink;
class SpeedDialList;
class StatusLine;

// Reads all 60 speed-dial entries from the exchange into the list, at most once per run:
// the begin request, then on its acknowledgement entry 1, and after each entry the next, with
// message 50 and the progress position per entry. A time-out ends the read as any read does
// (the link shows message 4 and unlocks); the list stays marked as read.
class SpeedDialReader : public QObject
{
    Q_OBJECT

public:
    enum class Start
    {
        Begun,
        AlreadyRead,  // read (or begun) before in this run: nothing sent
        NotAvailable, // firmware below 2.00: message 51 shown, nothing sent
        SendFailed    // the begin request could not be handed to the port (the link shows 36)
    };

    // `status` may be null.
    SpeedDialReader(PbxLink& link, SpeedDialList& list, StatusLine* status, QObject* parent = nullptr);

    // Opening the speed-dial page or a printout that includes the list.
    Start start();
    bool isReading() const { return m_reading; }

Q_SIGNALS:
    // A row of the list changed.
    void entryRead(int entry);
    // All 60 entries are in the list (a waiting printout goes on now).
    void finished();

private:
    void onAcknowledge();
    void onEntry(const QByteArray& chunk);
    void request(int n);

    PbxLink& m_link;
    SpeedDialList& m_list;
    StatusLine* m_status;
    bool m_reading = false;
    int m_next = 0;
};
