#pragma once

#include <QString>

#include <optional>

// Where the program keeps its files. The program directory (settings file, logs, history, help) is
// `--dir DIR`, else $WINKAVEX_DIR, else $XDG_DATA_HOME/WinKavex; the config home holds the first
// settings file looked at. Everything is computed from an Environment, so tests pass their own.
class ProgramDirs
{
public:
    struct Environment
    {
        QString winkavexDir;
        QString xdgDataHome;
        QString xdgConfigHome;
        QString home;

        // The one place that reads the process environment.
        static Environment fromProcess();
    };

    explicit ProgramDirs(const QString& dirOption = {}, const Environment& env = Environment::fromProcess());

    QString programDir() const { return m_programDir; }
    QString configHome() const { return m_configHome; }
    // `name` inside the program directory.
    QString programFile(const QString& name) const;

    // Creates the program directory (mode 0700) when missing; false when that is impossible.
    bool ensureProgramDir() const;
    // Why the existing program directory must not be used: another user could write it or a
    // folder above it, and so plant links or files among the logs. Nothing when it is safe.
    std::optional<QString> refusal() const;

private:
    QString m_programDir;
    QString m_configHome;
};
