#include "shell/SettingsSpeedDialStore.h"

#include "link/PbxRequests.h"
#include "shell/Settings.h"

QString SettingsSpeedDialStore::name(int entry) const
{
    return m_settings.speedDialName(PbxRequests::speedDialCode(entry));
}

QString SettingsSpeedDialStore::storedNumber(int entry) const
{
    return m_settings.speedDialNumber(PbxRequests::speedDialCode(entry));
}

QStringList SettingsSpeedDialStore::storedNumbers() const
{
    return m_settings.speedDialNumbers();
}

QString SettingsSpeedDialStore::sound(int entry) const
{
    return m_settings.speedDialSound(PbxRequests::speedDialCode(entry));
}

bool SettingsSpeedDialStore::save(int entry, const QString& name, const QString& number, const QString& sound)
{
    return m_settings.setSpeedDial(PbxRequests::speedDialCode(entry), name, number, sound);
}
