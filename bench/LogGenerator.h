#pragma once

#include <QDateTime>
#include <QString>

// Call logs and a charge history as the program writes them, in their fixed columns (Windows-1252,
// CR LF), for the start-up and list benchmarks. The records are spread evenly over `spanDays` days
// ending `end`; with the default display window of 7 days a tenth of them is listed.
namespace LogGenerator {

struct Sizes
{
    int outgoing = 1000000;
    int incoming = 1000000;
    int historyLines = 100000;
    int spanDays = 70;
};

// WinKavex.out, WinKavex.in and WinKavex.dat in `dir`; false when a file cannot be written.
bool generate(const QString& dir, const Sizes& sizes, const QDateTime& end);

} // namespace LogGenerator
