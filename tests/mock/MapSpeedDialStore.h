#pragma once

#include "config/SpeedDialStore.h"

#include <map>

// Speed-dial entries held in maps, for tests of the features that name calls.
class MapSpeedDialStore : public SpeedDialStore
{
public:
    QString name(int entry) const override { return value(names, entry); }
    QString storedNumber(int entry) const override { return value(numbers, entry); }
    QString sound(int entry) const override { return value(sounds, entry); }
    bool save(int entry, const QString& name, const QString& number, const QString& sound) override
    {
        names[entry] = name;
        numbers[entry] = number;
        sounds[entry] = sound;
        return true;
    }

    std::map<int, QString> names, numbers, sounds;

private:
    static QString value(const std::map<int, QString>& map, int entry)
    {
        const auto it = map.find(entry);
        return it == map.end() ? QString() : it->second;
    }
};
