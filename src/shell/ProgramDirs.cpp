#include "shell/ProgramDirs.h"

#include "common/SafeFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

QString environmentValue(const char* name)
{
    return qEnvironmentVariable(name);
}

// XDG base directories must be absolute; a relative or empty value is ignored.
QString xdgOr(const QString& value, const QString& home, const QString& fallback)
{
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(home + QLatin1Char('/') + fallback);
}

} // namespace

ProgramDirs::Environment ProgramDirs::Environment::fromProcess()
{
    Environment env;
    env.winkavexDir = environmentValue("WINKAVEX_DIR");
    env.xdgDataHome = environmentValue("XDG_DATA_HOME");
    env.xdgConfigHome = environmentValue("XDG_CONFIG_HOME");
    env.home = environmentValue("HOME");
    if (env.home.isEmpty())
        env.home = QDir::homePath();
    return env;
}

ProgramDirs::ProgramDirs(const QString& dirOption, const Environment& env)
{
    if (!dirOption.isEmpty())
        m_programDir = QDir::cleanPath(QFileInfo(dirOption).absoluteFilePath());
    else if (!env.winkavexDir.isEmpty())
        m_programDir = QDir::cleanPath(QFileInfo(env.winkavexDir).absoluteFilePath());
    else
        m_programDir = xdgOr(env.xdgDataHome, env.home, QStringLiteral(".local/share")) + QStringLiteral("/WinKavex");
    m_configHome = xdgOr(env.xdgConfigHome, env.home, QStringLiteral(".config"));
}

QString ProgramDirs::programFile(const QString& name) const
{
    return m_programDir + QLatin1Char('/') + name;
}

bool ProgramDirs::ensureProgramDir() const
{
    // Every folder made here is the user's alone, whatever the umask lets groups do: one that
    // others could write would have the program directory refused.
    QStringList missing;
    for (QString at = m_programDir; !QFileInfo::exists(at) && at != QFileInfo(at).path(); at = QFileInfo(at).path())
        missing.prepend(at);
    for (const QString& folder : std::as_const(missing))
        ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return QFileInfo(m_programDir).isDir();
}

std::optional<QString> ProgramDirs::refusal() const
{
    if (!QFileInfo(m_programDir).isDir())
        return std::nullopt;
    if (const std::optional<QString> reason = SafeFolder::refusal(m_programDir))
        return QStringLiteral("Programmverzeichnis %1 wird nicht benutzt: %2").arg(m_programDir, *reason);
    return std::nullopt;
}
