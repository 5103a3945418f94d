#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class SpeedDialStore;

// The fixed columns of "WinKavex.out": a record's first 85 columns are written when the call
// begins, columns 86..109 when the charge reading completes it. No line break follows a record;
// the next record's begin writes it.
namespace OutgoingRecord {

QStringList headerLines(); // the title, the rule of 110 "=", an empty line
QString beginColumns(const QDateTime& start, int extensionNumber, const QString& number, const QString& name);
QString completionColumns(int units, double cost, qint64 seconds);
// The log's duration ("%5d:%2.2d" below an hour, else "%2d:%2.2d:%2.2d") and the list's ("%d:%2.2d",
// "%d:%2.2d:%2.2d").
QString logDuration(qint64 seconds);
QString listDuration(qint64 seconds);
// The list's cost: "%-6.2f" with the blanks trimmed.
QString listCost(double cost);

// What the call is logged as: the number as displayed and a name of at most 60 characters.
struct Named
{
    QString number;
    QString name;
    bool operator==(const Named&) const = default;
};
// The formatted number and the place name of the area-code lookup, when it is loaded.
using AreaLookup = std::function<std::optional<std::pair<QString, QString>>(const QString& number)>;
// The name of a number in the address book, empty when it has none.
using NameLookup = std::function<QString(const QString& number)>;
// A speed-dial code 301..360 becomes its stored number (with the "0-" of an extension without
// spontaneous trunk access) and names the call; else an equal stored number names it; else the
// address book; then the area-code lookup formats the number and, with no name yet, gives the
// place as the name.
Named name(const QString& display, bool spontaneousTrunkAccess, const SpeedDialStore& speedDials,
           const AreaLookup& areaLookup, const NameLookup& addressBook = {});

} // namespace OutgoingRecord
