#pragma once

#include "link/PbxRequests.h"

#include <QString>
#include <QStringList>

// Where the program keeps its own part of a speed-dial entry: name, stored number and sound
// file (settings sections "Kurzwahlen", "Kurzwahlen-Rufnummer", "Kurzwahlen-Sound", key
// "301" .. "360"). The settings file implements it; tests use a map.
class SpeedDialStore
{
public:
    static constexpr int Entries = PbxRequests::SpeedDialCount;

    virtual ~SpeedDialStore() = default;
    virtual QString name(int entry) const = 0;         // at most 40 characters
    virtual QString storedNumber(int entry) const = 0; // at most 20 characters
    // The stored numbers of entries 1..Entries (index 0 is entry 1): naming a call compares them
    // all, and a store that reads a file does that once rather than once per entry.
    virtual QStringList storedNumbers() const
    {
        QStringList numbers;
        for (int entry = 1; entry <= Entries; ++entry)
            numbers.append(storedNumber(entry));
        return numbers;
    }
    virtual QString sound(int entry) const = 0;
    // Writes the three keys of one entry together; false when the file refused the write.
    virtual bool save(int entry, const QString& name, const QString& number, const QString& sound) = 0;
};
