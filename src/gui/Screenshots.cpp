#include "Screenshots.h"

#include "HelpWindow.h"
#include "MainWindow.h"
#include "NavigationTable.h"
#include "Navigator.h"
#include "TrayController.h"
#include "shell/AppCore.h"
#include "common/FileMessages.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QPixmap>

namespace {

constexpr int TransferWaitMs = 60000;

bool save(const QPixmap& pixmap, const QString& path, QString* error)
{
    if (pixmap.save(path, "PNG"))
        return true;
    if (error)
        *error = FileMessages::cannotWrite(path);
    return false;
}

} // namespace

QString Screenshots::helpName()
{
    return QStringLiteral("Hilfe");
}

void Screenshots::showSettled(MainWindow& window, int index)
{
    window.navigator().showEntry(index);
    // A page may start a transfer when it is entered (the speed-dial read): show it once that is done.
    QElapsedTimer timer;
    timer.start();
    while (window.core().isTransferLocked() && timer.elapsed() < TransferWaitMs)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::processEvents();
}

QString Screenshots::trayMenuName()
{
    return QStringLiteral("Traymenü");
}

bool Screenshots::render(MainWindow& window, const QString& directory, QString* error)
{
    if (!QDir().mkpath(directory)) {
        if (error)
            *error = FileMessages::cannotWrite(directory);
        return false;
    }
    const QDir dir(directory);
    const auto& entries = NavigationTable::entries();
    for (int i = 0; i < entries.size(); ++i) {
        showSettled(window, i);
        if (!save(window.grab(), dir.filePath(entries[i].heading + QStringLiteral(".png")), error))
            return false;
    }
    QMenu* menu = window.tray().menu();
    menu->ensurePolished();
    menu->adjustSize();
    if (!save(menu->grab(), dir.filePath(trayMenuName() + QStringLiteral(".png")), error))
        return false;
    showSettled(window, 0);
    window.showPageHelp();
    QApplication::processEvents();
    return save(window.helpWindowIfOpen()->grab(), dir.filePath(helpName() + QStringLiteral(".png")), error);
}
