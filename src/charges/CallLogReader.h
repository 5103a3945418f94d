#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// Loads a call log's records into list rows by fixed columns: the three header lines are skipped,
// empty lines and lines whose date (characters 1..10) does not parse are skipped, and so are
// records dated before `since`. The file is read line by line, never held whole.
namespace CallLogReader {

struct Field
{
    int first; // character, from 1
    int last;  // inclusive
};
using Layout = QList<Field>;

// Caption 1-19, extension 28-29, number 37-58, name 59-88, units 89-91, cost 92-101, duration 102-109.
Layout outgoing();
// Caption 1-19, called number 23-39, caller 40-76, name 77-106.
Layout incoming();

struct Result
{
    std::vector<QStringList> rows;
    int error = 0; // errno; ENOENT for a missing log (an empty list, not a failure)
};
Result load(const QString& path, const Layout& layout, const QDate& since);
// The day from which records are listed: a record dated exactly `days` days ago is listed.
QDate windowStart(const QDate& today, int days);

} // namespace CallLogReader
