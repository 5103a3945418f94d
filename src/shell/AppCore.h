#pragma once

#include "config/ConfigImage.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class Clock;
class Settings;
class StatusLine;
class PasswordStore;
class VorwahlLibrary;
class BaseConfig;
class ExtensionConfig;
class SpeedDialList;
struct CommandLine;

// The program's state for the life of the process: settings, status line, configuration image and
// models, the exchange link, the password store, the Vorwahl library, and the start-up and shutdown
// flags. No widgets: the GUI observes the signals and calls the operations; pages reach the models
// through the accessors.
class AppCore : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        QString programDir;     // logs, settings beside the program, help
        QString configHome;     // first settings file and the password store
        QString deviceOverride; // --port DEVICE: used instead of the port's mapped device
        Clock* clock = nullptr; // null: the system clock
    };

    explicit AppCore(const Options& options, const CommandLine& commandLine, QObject* parent = nullptr);
    ~AppCore() override;

    Clock& clock() const;
    Settings& settings() const;
    StatusLine& statusLine() const;
    ConfigImage& image();
    const ConfigImage& image() const;
    BaseConfig& baseConfig() const;
    ExtensionConfig& extensionConfig() const;
    SpeedDialList& speedDials() const;
    PasswordStore& passwordStore() const;
    VorwahlLibrary& vorwahl() const;
    const CommandLine& commandLine() const;
    QString programDir() const;

    // State.
    bool isReady() const { return m_ready; }
    bool isShuttingDown() const { return m_shuttingDown; }
    bool isFirstReadPending() const { return m_firstReadPending; }
    bool isTransferLocked() const { return m_transferLocked; }
    bool isFirmwareTooOld() const { return m_firmwareTooOld; }
    int firmwareVersion() const;                    // major * 100 + minor from the base region
    int extensionCount() const;                     // base byte 2
    QString portName() const { return m_portName; } // "COM1".."COM4", or the invalid stored text
    bool isPortOpen() const;
    int autoCloseCountdown() const { return m_autoCloseCountdown; }

    // "Einheiten übertragen": charge units go with the next write (cleared at start-up).
    bool transferUnits() const { return m_transferUnits; }
    void setTransferUnits(bool on) { m_transferUnits = on; }

    // Operations of the buttons and fields.
    void startRead();                           // "&Lesen"
    bool write();                               // "Konfigurieren": password query, commit, write sequence
    void changePort(int number);                // "COM 1".."COM 4" -> 1..4: store, close, reopen
    bool setStartWaitText(const QString& text); // 1..30 seconds, else message 56
    void decodeConfiguration();                 // decode base and extension regions, emit configDecoded()
    void commitPages();                         // store the showing page before a write, save or print

    // Seams for the GUI: the commit step of the showing page, and the modal password dialog
    // (returns the entered text, or nothing when cancelled).
    void setCommitHook(std::function<void()> hook);
    void setPasswordPrompt(std::function<std::optional<QString>()> prompt);

    // Shutdown: the close query (whether the window is hidden and a quit was asked for), the end.
    void closeQuery(bool windowHidden, bool quitRequested);
    void shutdown();

    // The one-second tick, in this order: auto-close countdown, reply time-out, clock, time control,
    // wake-up, running call duration.
    void onSecond();

Q_SIGNALS:
    void configDecoded();
    void chargesDecoded();
    void readyChanged(bool ready);
    void transferLockChanged(bool locked);
    void progressChanged(int value, int maximum);
    void firmwareTooOld();
    void clockTick(const QDateTime& now);
    void closeRequested(); // the auto-close countdown ran out: send the window to the tray
    void passwordChanged();

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
    QString m_portName;
    bool m_ready = false;
    bool m_shuttingDown = false;
    bool m_firstReadPending = true;
    bool m_transferLocked = false;
    bool m_firmwareTooOld = false;
    bool m_transferUnits = false;
    int m_autoCloseCountdown = -1;
    std::function<void()> m_commitHook;
    std::function<std::optional<QString>()> m_passwordPrompt;
};
