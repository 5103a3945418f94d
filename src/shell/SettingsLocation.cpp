#include "shell/SettingsLocation.h"

#include "shell/ProgramDirs.h"
#include "shell/SettingsFile.h"

QString SettingsLocation::fileName()
{
    return QStringLiteral("WinKavex.INI");
}

QString SettingsLocation::resolve(const QString& configHome, const QString& programDir)
{
    const QString first = configHome + QLatin1Char('/') + fileName();
    const QString port =
        SettingsFile(first).readString(QStringLiteral("Allgemein"), QStringLiteral("Anschluß"), QStringLiteral("COMx"));
    if (port.trimmed() != QLatin1String("COMx"))
        return first;
    return programDir + QLatin1Char('/') + fileName();
}

QString SettingsLocation::resolve(const ProgramDirs& dirs)
{
    return resolve(dirs.configHome(), dirs.programDir());
}
