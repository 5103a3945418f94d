#pragma once

#include <QString>
#include <QStringList>

// Appending to a call log: in one write, to a log that exists; a missing log is created with its
// header lines first. An existing log that cannot be opened is never created anew over its lines.
namespace CallLogAppend {

struct Result
{
    bool created = false; // the log was missing and has been created with its header
    int error = 0;        // errno of a failure; nothing was written
};
// An empty header never creates the log: a missing one is then an ENOENT failure.
Result append(const QString& path, const QString& text, const QStringList& header);

} // namespace CallLogAppend
