#pragma once

#include "diagnosis/Signalling.h"
#include "shell/StartUp.h"

#include <QPoint>
#include <QTimer>
#include <QWidget>

class AppCore;
class ButtonBar;
class CaptionBar;
class HeadingBar;
class HelpWindow;
class NavigationBar;
class Navigator;
class PageRegistry;
class PageStack;
class StatusBar;
class TrayController;

// The frameless main window: caption, navigation bar, heading, page, buttons and status bar. It
// shows what the core holds and hands the user's actions to it; closing it sends the program to
// the tray, only "&Beenden" and the tray's "Schließen" end it.
class MainWindow : public QWidget, public StartUpView
{
    Q_OBJECT
public:
    MainWindow(AppCore& core, const PageRegistry& registry, QWidget* parent = nullptr);
    ~MainWindow() override;

    static QString title() { return QStringLiteral("Kavex K3/K8 - Konfiguration"); }

    // Start-up's requests.
    void showFirstPageOnly() override;
    void buildPages() override;
    void selectPort(int position) override;
    void moveWindow(int x, int y) override;
    void applyFontFace() override;
    void showStartPage(int position) override;
    void showWindow() override;
    void startInTray() override;

    // Window states: shown (visible, not minimised) or in the tray.
    bool isShownNormally() const;
    void minimiseToTray();
    void restoreFromTray();
    // "&Beenden" and "Schließen".
    void quit();
    bool isQuitRequested() const { return m_quitRequested; }
    // A second program start: "Grundkonfiguration", then a tray click.
    void onSecondStart();
    void showHelp();
    // F1: the help page of the page that shows.
    void showPageHelp();
    void showAlarmInTitle(bool on);
    // Signalling of state events while hidden: the window comes back with this page.
    void showRequestedPage(Signalling::Page page);

    AppCore& core() const { return m_core; }
    Navigator& navigator() const { return *m_navigator; }
    TrayController& tray() const { return *m_tray; }
    CaptionBar* captionBar() const { return m_caption; }
    NavigationBar* navigationBar() const { return m_navigationBar; }
    HeadingBar* headingBar() const { return m_heading; }
    PageStack* pageStack() const { return m_stack; }
    ButtonBar* buttonBar() const { return m_buttons; }
    StatusBar* statusBar() const { return m_statusBar; }
    HelpWindow* helpWindowIfOpen() const { return m_help; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showNotice(const QString& text);
    void connectCore();
    HelpWindow& helpWindow();
    void setControlsLocked(bool locked, bool keepHelpAndExit = false);
    void refreshPages();

    AppCore& m_core;
    const PageRegistry& m_registry;
    CaptionBar* m_caption;
    NavigationBar* m_navigationBar;
    HeadingBar* m_heading;
    PageStack* m_stack;
    ButtonBar* m_buttons;
    StatusBar* m_statusBar;
    HelpWindow* m_help = nullptr;
    Navigator* m_navigator;
    TrayController* m_tray;
    QTimer m_positionWriter;
    QPoint m_dragOffset;
    bool m_dragging = false;
    bool m_quitRequested = false;
    bool m_closing = false; // a close request waits for its pause
};
