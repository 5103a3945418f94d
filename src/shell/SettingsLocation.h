#pragma once

#include <QString>

class ProgramDirs;

// Chooses the settings file for the whole run: the one in the config home when it names a port in
// "Anschluß" of section "Allgemein", otherwise the one in the program directory.
class SettingsLocation
{
public:
    static QString fileName();
    static QString resolve(const QString& configHome, const QString& programDir);
    static QString resolve(const ProgramDirs& dirs);
};
