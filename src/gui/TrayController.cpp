#include "TrayController.h"

#include "MainWindow.h"
#include "NavigationTable.h"
#include "Navigator.h"
#include "PageIcons.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace {

const QString WakeUpEntry = QStringLiteral("Wecker");
const QString QuitEntry = QStringLiteral("Schließen");

// The tray entry "Wecker" shows the wake-up page; every other entry is the page's heading.
QString headingOf(const QString& text)
{
    return text == WakeUpEntry ? QStringLiteral("Weckzeiten") : text;
}

} // namespace

TrayController::TrayController(MainWindow& window, QObject* parent)
    : QObject(parent), m_window(window), m_menu(std::make_unique<QMenu>())
{
    for (const QString& text : NavigationTable::trayMenuTexts()) {
        if (text.isEmpty()) {
            m_menu->addSeparator();
            continue;
        }
        QAction* action = m_menu->addAction(text);
        connect(action, &QAction::triggered, this, [this, text] { choose(text); });
    }
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_icon = new QSystemTrayIcon(PageIcons::small(), this);
        m_icon->setToolTip(MainWindow::title());
        m_icon->setContextMenu(m_menu.get());
        connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger)
                click();
        });
        m_icon->show();
    }
}

TrayController::~TrayController() = default;

QAction* TrayController::action(const QString& text) const
{
    for (QAction* a : m_menu->actions()) {
        if (!a->isSeparator() && a->text() == text)
            return a;
    }
    return nullptr;
}

void TrayController::click()
{
    if (m_window.isShownNormally())
        m_window.minimiseToTray();
    else
        m_window.restoreFromTray();
}

void TrayController::choose(const QString& text)
{
    if (text == QuitEntry) {
        m_window.quit();
        return;
    }
    const QString heading = headingOf(text);
    if (text == QLatin1String("Grundkonfiguration") || text == WakeUpEntry) {
        m_window.navigator().showHeading(heading);
        click();
        return;
    }
    m_window.restoreFromTray();
    m_window.navigator().showHeading(heading);
}

// The page entries navigate and lock with the navigation bar; "Schließen" ends the program at any
// time (a running ring still sends its stops).
void TrayController::setLocked(bool locked)
{
    for (QAction* a : m_menu->actions()) {
        if (!a->isSeparator())
            a->setEnabled(!locked || a->text() == QuitEntry);
    }
}

void TrayController::setAlarm(bool on)
{
    m_alarm = on;
    if (m_icon)
        m_icon->setIcon(PageIcons::small(on));
    else
        m_window.showAlarmInTitle(on);
}

void TrayController::hide()
{
    if (m_icon)
        m_icon->hide();
}
