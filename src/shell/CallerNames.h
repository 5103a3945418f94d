#pragma once

#include "contacts/AddressBook.h"

#include <QString>

class Settings;
class StatusLine;

// The "Telefonbuch (vCard)" file of the program-parameter page: it names callers and dialled
// numbers, and the status line tells how its load went. A failed read or skipped cards are
// reported again after the first read, which clears the status line.
class CallerNames
{
public:
    CallerNames(Settings& settings, StatusLine& status);

    // Start-up: the stored file.
    void load();
    // The file chosen on the page (empty: none): stored, loaded, reported, also when all is well.
    void setFile(const QString& path);
    // After the first read: the account of a failed load once more.
    void repeatFailure() const;

    QString nameFor(const QString& number) const { return m_book.nameFor(number); }

private:
    bool failed() const { return !m_report.error.isEmpty() || m_report.skipped > 0; }

    Settings& m_settings;
    StatusLine& m_status;
    AddressBook m_book;
    AddressBook::Report m_report;
};
