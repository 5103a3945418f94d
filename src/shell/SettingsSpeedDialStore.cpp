#include "shell/SettingsSpeedDialStore.h"

#include "shell/Settings.h"

QString SettingsSpeedDialStore::name(int entry) const
{
    return m_settings.speedDialName(300 + entry);
}

QString SettingsSpeedDialStore::storedNumber(int entry) const
{
    return m_settings.speedDialNumber(300 + entry);
}

QStringList SettingsSpeedDialStore::storedNumbers() const
{
    return m_settings.speedDialNumbers();
}

QString SettingsSpeedDialStore::sound(int entry) const
{
    return m_settings.speedDialSound(300 + entry);
}

bool SettingsSpeedDialStore::save(int entry, const QString& name, const QString& number, const QString& sound)
{
    return m_settings.setSpeedDial(300 + entry, name, number, sound);
}
