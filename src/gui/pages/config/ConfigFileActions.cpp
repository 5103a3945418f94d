#include "ConfigFileActions.h"

#include "config/ConfigFile.h"
#include "shell/AppCore.h"
#include "shell/StatusLine.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {
QString dialogPath(ConfigFileActions::Dialog dialog, QWidget* window, const QString& directory, const QString& proposed)
{
    const bool saving = dialog == ConfigFileActions::Dialog::Save;
    QFileDialog fileDialog(window,
                           saving ? QStringLiteral("Konfiguration sichern") : QStringLiteral("Konfiguration laden"));
    fileDialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    fileDialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    fileDialog.setOption(QFileDialog::HideNameFilterDetails);
    fileDialog.setNameFilter(ConfigFileActions::nameFilter());
    fileDialog.setDefaultSuffix(QStringLiteral("kvx"));
    fileDialog.setDirectory(directory);
    if (!proposed.isEmpty())
        fileDialog.selectFile(proposed);
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty())
        return {};
    return fileDialog.selectedFiles().constFirst();
}
} // namespace

QString ConfigFileActions::nameFilter()
{
    return QStringLiteral("Kavex-Parametrierung (*.kvx *.KVX)");
}

ConfigFileActions::ConfigFileActions(AppCore& core, QWidget* window)
    : QObject(window), m_core(core), m_window(window), m_directory(core.programDir())
{}

bool ConfigFileActions::save()
{
    m_core.commitPages();
    const QString path = askPath(Dialog::Save, ConfigFile::proposedName(QDate::currentDate()));
    if (path.isEmpty())
        return false;
    remember(path);
    if (const auto error = ConfigFile::save(path, m_core.image())) {
        m_core.statusLine().showText(StatusLevel::Error, *error);
        return false;
    }
    return true;
}

bool ConfigFileActions::load()
{
    const QString path = askPath(Dialog::Load, {});
    if (path.isEmpty())
        return false;
    remember(path);
    if (!ConfigFile::load(path, m_core.image())) {
        m_core.statusLine().showStatus(Msg::FileNotOpened, StatusLevel::Error, QDir::toNativeSeparators(path));
        return false;
    }
    m_core.decodeConfiguration();
    return true;
}

QString ConfigFileActions::askPath(Dialog dialog, const QString& proposed)
{
    const QString path =
        m_prompt ? m_prompt(dialog, m_directory, proposed) : dialogPath(dialog, m_window, m_directory, proposed);
    return path.isEmpty() ? path : ConfigFile::withExtension(path);
}

void ConfigFileActions::remember(const QString& path)
{
    m_directory = QFileInfo(path).absolutePath();
}
