#pragma once

#include <QDate>
#include <QString>

#include <optional>

// One record line of "WinKavex.out" read back by its columns, for sums over many calls. A record
// that was never completed (no charge reading came) has no units, cost or duration; figures that
// do not parse or are negative (a counter reset during the call) count as 0.
struct CompletedCall
{
    QDate day; // the day the call started, also when it ended after midnight
    int extension = 0;
    QString number; // trimmed, as the log holds them
    QString name;
    int units = 0;
    double cost = 0.0;
    qint64 seconds = 0;

    // Nothing for a line that is no record: no date in columns 1..10, or no extension 21..28.
    static std::optional<CompletedCall> parse(const QString& line);
};
