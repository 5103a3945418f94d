#pragma once

#include <QObject>
#include <QString>
#include <memory>

class MainWindow;
class QAction;
class QMenu;
class QSystemTrayIcon;

// The tray icon and its menu. Where the desktop offers no tray, the window minimises to the task
// bar instead and the alarm shows in the window title, so the program never becomes unreachable.
class TrayController : public QObject
{
    Q_OBJECT
public:
    explicit TrayController(MainWindow& window, QObject* parent = nullptr);
    ~TrayController() override;

    bool hasTray() const { return m_icon != nullptr; }
    QMenu* menu() const { return m_menu.get(); }
    // The menu entry with this text, or null.
    QAction* action(const QString& text) const;

    // A left click on the icon: minimise a shown window, else show it.
    void click();
    // A menu entry; "Schließen" quits.
    void choose(const QString& text);

    // During a transfer the page entries are locked like the navigation bar, and "Schließen" like
    // "&Beenden" (which stays open when only help and exit are left).
    void setLocked(bool locked);

    // "SMALL-ALARM" while set; every way of showing the window clears it.
    void setAlarm(bool on);
    bool isAlarm() const { return m_alarm; }
    void hide();

private:
    MainWindow& m_window;
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon* m_icon = nullptr;
    bool m_alarm = false;
};
