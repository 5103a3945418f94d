#include "shell/CallerNames.h"

#include "common/Clock.h"
#include "shell/Settings.h"
#include "shell/StatusLine.h"

#include <QFileInfo>

CallerNames::CallerNames(Clock& clock, Settings& settings, StatusLine& status)
    : m_clock(clock), m_settings(settings), m_status(status)
{
    QObject::connect(&m_watcher, &QFileSystemWatcher::fileChanged, [this] { changed(); });
    QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, [this] { changed(); });
}

void CallerNames::loadFrom(const QString& path)
{
    m_report = m_book.load(path);
    watch(path);
}

// The folder itself (cards added, removed or renamed into place) and each of its cards (one
// rewritten where it stands); a single file, which an editor may replace, is watched again after
// every load.
void CallerNames::watch(const QString& path)
{
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;
    QStringList paths{path};
    if (QFileInfo(path).isDir())
        paths += AddressBook::folderFiles(path);
    m_watcher.addPaths(paths);
}

void CallerNames::changed()
{
    // The reload runs from the timer of this object and leaves it be; the next change replaces it.
    m_settle = std::make_unique<QObject>();
    m_clock.callAfter(SettleMs, m_settle.get(), [this] {
        loadFrom(m_settings.addressBookFile());
        m_status.showText(failed() ? StatusLevel::Error : StatusLevel::Normal, AddressBook::reportText(m_report));
    });
}

void CallerNames::load()
{
    m_settle.reset();
    loadFrom(m_settings.addressBookFile());
    repeatFailure();
}

void CallerNames::setFile(const QString& path)
{
    m_settings.setAddressBookFile(path);
    m_settle.reset();
    loadFrom(path);
    if (path.isEmpty())
        m_status.showStatus(Msg::Clear);
    else
        m_status.showText(failed() ? StatusLevel::Error : StatusLevel::Normal, AddressBook::reportText(m_report));
}

void CallerNames::repeatFailure() const
{
    if (failed())
        m_status.showText(StatusLevel::Error, AddressBook::reportText(m_report));
}
