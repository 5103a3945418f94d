#include "Screenshots.h"

#include "MainWindow.h"
#include "NavigationTable.h"
#include "Navigator.h"
#include "TrayController.h"
#include "shell/AppCore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QPixmap>

namespace {

constexpr int TransferWaitMs = 60000;

// A page may start a transfer when it is entered (the speed-dial read): show it once that is done.
void waitForTransfer(const AppCore& core)
{
    QElapsedTimer timer;
    timer.start();
    while (core.isTransferLocked() && timer.elapsed() < TransferWaitMs)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

bool save(const QPixmap& pixmap, const QString& path, QString* error)
{
    if (pixmap.save(path, "PNG"))
        return true;
    if (error)
        *error = QStringLiteral("Kann nicht nach %1 schreiben").arg(path);
    return false;
}

} // namespace

QString Screenshots::trayMenuName()
{
    return QStringLiteral("Traymenü");
}

bool Screenshots::render(MainWindow& window, const QString& directory, QString* error)
{
    if (!QDir().mkpath(directory)) {
        if (error)
            *error = QStringLiteral("Kann nicht nach %1 schreiben").arg(directory);
        return false;
    }
    const QDir dir(directory);
    const auto& entries = NavigationTable::entries();
    for (int i = 0; i < entries.size(); ++i) {
        window.navigator().showEntry(i);
        waitForTransfer(window.core());
        QApplication::processEvents();
        if (!save(window.grab(), dir.filePath(entries[i].heading + QStringLiteral(".png")), error))
            return false;
    }
    QMenu* menu = window.tray().menu();
    menu->ensurePolished();
    menu->adjustSize();
    return save(menu->grab(), dir.filePath(trayMenuName() + QStringLiteral(".png")), error);
}
