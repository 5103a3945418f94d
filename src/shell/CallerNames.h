#pragma once

#include "contacts/AddressBook.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

#include <memory>

class Clock;
class Settings;
class StatusLine;

// The "Telefonbuch (vCard)" file or folder of the program-parameter page: it names callers and
// dialled numbers, and the status line tells how its load went. A failed read or skipped cards are
// reported again after the first read, which clears the status line. The book follows its file
// or folder: a change (a sync tool writing a card) loads it again a second later, once the
// changes have settled, so that the next call has the new name without a restart.
class CallerNames
{
public:
    static constexpr int SettleMs = 1000;

    CallerNames(Clock& clock, Settings& settings, StatusLine& status);

    // Start-up: the stored file.
    void load();
    // The file or folder chosen on the page (empty: none): stored, loaded, reported, also when all
    // is well.
    void setFile(const QString& path);
    // After the first read: the account of a failed load once more.
    void repeatFailure() const;

    QString nameFor(const QString& number) const { return m_book.nameFor(number); }
    const AddressBook::Report& report() const { return m_report; }

private:
    bool failed() const { return !m_report.error.isEmpty() || m_report.skipped > 0; }
    void loadFrom(const QString& path);
    void watch(const QString& path);
    void changed();

    Clock& m_clock;
    Settings& m_settings;
    StatusLine& m_status;
    AddressBook m_book;
    AddressBook::Report m_report;
    QFileSystemWatcher m_watcher;
    // The pending reload: replaced by each change, so that only the last one loads.
    std::unique_ptr<QObject> m_settle;
};
