#pragma once

#include "config/SpeedDialStore.h"

class Settings;

// The speed-dial part of the settings file: sections "Kurzwahlen", "Kurzwahlen-Rufnummer" and
// "Kurzwahlen-Sound", keyed "301" .. "360".
class SettingsSpeedDialStore : public SpeedDialStore
{
public:
    explicit SettingsSpeedDialStore(Settings& settings) : m_settings(settings) {}
    QString name(int entry) const override;
    QString storedNumber(int entry) const override;
    QStringList storedNumbers() const override;
    QString sound(int entry) const override;
    bool save(int entry, const QString& name, const QString& number, const QString& sound) override;

private:
    Settings& m_settings;
};
