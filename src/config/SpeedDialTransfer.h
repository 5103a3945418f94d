#pragma once

#include "common/MessageTable.h"

#include <QByteArray>
#include <QObject>

class PbxLink;
class SpeedDialList;
struct SpeedDialEditor;

// The speed-dial list and the exchange: the read of all 60 entries, at most once per run (opening
// the page, or a printout that lists them), and the save of one entry from the editor. Both exist
// only from firmware 2.00 on. The sequences are the link's jobs; this object decodes the entries
// into the list. A time-out ends the read as any read does; the list stays marked as read.
class SpeedDialTransfer : public QObject
{
    Q_OBJECT

public:
    enum class Start
    {
        Begun,        // the read runs, or waits for the transfer before it
        AlreadyRead,  // read (or begun) before in this run: nothing sent
        NotAvailable, // firmware below 2.00: message 51 reported, nothing sent
    };

    SpeedDialTransfer(PbxLink& link, SpeedDialList& list, QObject* parent = nullptr);

    Start start();
    bool isReading() const { return m_reading; }
    // Whether the entries can be edited and saved: firmware 2.00 or later (none before a read).
    bool isEditable() const;
    // "&Speichern": the settings, the row, then the entry's write payload as a job of the link.
    // Nothing happens (false) where the entries cannot be edited.
    bool save(const SpeedDialEditor& editor);

Q_SIGNALS:
    void status(int number, StatusLevel level, const QString& arg);
    // A row of the list changed.
    void entryRead(int entry);
    // All 60 entries are in the list (a waiting printout goes on now).
    void finished();
    // The read ended early (time-out, unwritable port); the link has reported why.
    void cutShort();

private:
    void onEntry(int n, const QByteArray& chunk);
    void onFinished();
    void onCutShort();

    PbxLink& m_link;
    SpeedDialList& m_list;
    bool m_reading = false;
};
