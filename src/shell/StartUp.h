#pragma once

#include <QString>
#include <QTime>

class AppCore;
class Settings;

// What start-up asks of the window; the GUI implements it, tests record it.
class StartUpView
{
public:
    virtual ~StartUpView() = default;
    virtual void showFirstPageOnly() = 0;         // only "Grundkonfiguration" is shown
    virtual void buildPages() = 0;                // page widgets, status bar with progress and clock
    virtual void selectPort(int position) = 0;    // port choice: 0 for "COM 1" … 3 for "COM 4"
    virtual void moveWindow(int x, int y) = 0;    // the stored window position
    virtual void applyFontFace() = 0;             // "Schriftart" on every control
    virtual void showStartPage(int position) = 0; // "StartSeite"
    virtual void showWindow() = 0;                // the end of start-up without "ICON"
    // The end of start-up with "ICON", and an early end: the window is not shown; the view keeps
    // it reachable (tray icon, or minimised where the desktop has no tray).
    virtual void startInTray() = 0;
};

// The start-up pass of the main window, in its order: pages, library, password, status line,
// settings, port, start page, window, and the first read. It ends early, with the window not
// shown, when the stored port is invalid (message 22) or cannot be opened (message 5).
class StartUp
{
public:
    enum class Outcome
    {
        Reading,
        InvalidPort,
        PortFailed
    };

    StartUp(AppCore& core, StartUpView& view);
    Outcome run();

    // --simulate on a machine without settings: the demo directory's file gets the port "COM1"
    // so that start-up reaches the simulated exchange, names for extensions and speed dials, a
    // wake-up time for extension 22 two minutes after `now` and a time-control point a minute
    // later that loads demoConfigurationPath().
    static void prepareDemoSettings(Settings& settings, const QString& programDir, const QTime& now);
    static QString demoConfigurationPath(const QString& programDir);
    // --simulate, at the first read: the exchange's configuration becomes the demo point's file
    // (an existing file is kept).
    static void saveDemoConfiguration(AppCore& core);
    // A charge history of the five months before `today` that ends below the simulated exchange's
    // counters, so that the charts have something to show; only where there is no history yet.
    static void prepareDemoHistory(const QString& programDir, const QDate& today);

private:
    static void prepareDemoTimes(Settings& settings, const QString& programDir, const QTime& now);
    void readSettings();
    void raisePriority();

    AppCore& m_core;
    StartUpView& m_view;
};
