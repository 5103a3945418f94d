#pragma once

#include "charges/CounterLine.h"

#include <QDateTime>
#include <QString>

// The charge history "WinKavex.dat": one 92-character line per reading that changed the total,
// and its backup "WinKavex.bak", made once per run just before the first new line.
class HistoryFile
{
public:
    // What the last line said before this reading.
    struct Last
    {
        Units previous{};
        int total = 0;
    };

    struct Outcome
    {
        bool read = false;     // the last line was taken (or the file was new)
        bool created = false;  // the file did not exist: header written, `error` is ENOENT
        bool appended = false; // a data line was added
        int error = 0;         // errno of the failed opening; 0 when none
    };

    explicit HistoryFile(QString path);

    QString path() const { return m_path; }
    QString backupPath() const;

    // The history part of the charge update: reads the last line into `last`, appends a line when
    // `total` differs from the last recorded one. A file that exists but cannot be read is never
    // written over: `last` keeps its values and `error` says why.
    Outcome update(const Units& units, int total, const QDateTime& now, Last& last);

    static QString headerText(); // three lines, CR LF
    static QString dataLine(const QDateTime& when, const Units& units, int total);
    static Last parseLast(const QString& line);

private:
    QString m_path;
    bool m_backupMade = false;
};
