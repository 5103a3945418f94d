#include "shell/SettingsLocation.h"

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
