#pragma once

#include "config/PrintContent.h"
#include "image/ConfigImage.h"
#include "link/StateEvents.h"
#include "link/Transport.h"
#include "shell/CommandLine.h"
#include "shell/Printout.h"
#include "shell/WriteGate.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class BaseConfig;
class CallBlocking;
class CallHooks;
class MqttService;
class DiagnosisSignalling;
class CapiLibrary;
class TCapiAnrufMonitor;
struct CapiInfoLines;
class ChargeUpdate;
class Clock;
class LampMatrix;
class OutgoingCallLog;
class TPCSpeaker;
class ExtensionConfig;
class IncomingCallLog;
class PasswordStore;
class PbxLink;
class PendingCall;
class PortControl;
class SecondTick;
class Settings;
class SpeedDialList;
class SpeedDialTransfer;
class StatusLine;
class TimeControl;
class VorwahlLibrary;
class WakeUp;
struct SpeedDialEditor;

// The program's state for the life of the process: settings, status line, configuration image and
// models, the exchange link, the password store, the Vorwahl library, the features, and the
// start-up and shutdown flags. It creates and wires the features and holds no rule of theirs. No
// widgets: the GUI observes the signals and calls the operations; pages reach the models through
// the accessors, and the link only through operations.
class AppCore : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        QString programDir;                   // logs, the settings file beside the program, help
        QString configHome;                   // the first settings file looked at, the password store
        QString deviceOverride;               // --port DEVICE: opened whatever port is chosen
        Clock* clock = nullptr;               // null: the system clock
        std::unique_ptr<Transport> transport; // null: the serial port
        int passwordIterations = 0;           // 0: the store's default
    };

    AppCore(Options options, CommandLine commandLine, QObject* parent = nullptr);
    ~AppCore() override;

    Clock& clock() const;
    Settings& settings() const;
    StatusLine& statusLine() const;
    ConfigImage& image();
    const ConfigImage& image() const;
    BaseConfig& baseConfig() const;
    ExtensionConfig& extensionConfig() const;
    SpeedDialList& speedDials() const;
    // The 60-entry read of the speed dials (at most once per run) and the save of one entry.
    SpeedDialTransfer& speedDialTransfer() const;
    PendingCall& pendingCall() const;
    // "WinKavex.out" and the rows of "Abgehende Gespräche".
    OutgoingCallLog& outgoingCalls() const;
    // "WinKavex.in" and the rows of "Ankommende Gespräche".
    IncomingCallLog& incomingCalls() const;
    // The CAPI binding, and the call monitor once start-up has started it ("CAPI-Laden").
    CapiLibrary& capiLibrary() const;
    TCapiAnrufMonitor* callMonitor() const;
    // "CAPI-Hersteller" and "CAPI-Version" of "Grundkonfiguration".
    CapiInfoLines capiInfoLines() const;
    // The diagnosis matrix's lamps and the speaker of the acoustic signal.
    LampMatrix& lamps() const;
    TPCSpeaker& speaker() const;
    ChargeUpdate& chargeUpdate() const;
    // The one-second timer's duties, in their fixed order.
    SecondTick& secondTick() const;
    // The rows of "Zeitsteuerung" and the times of "Weckzeiten", as the pages show them.
    TimeControl& timeControl() const;
    WakeUp& wakeUp() const;
    PasswordStore& passwordStore() const;
    VorwahlLibrary& vorwahl() const;
    PbxLink& link() const;
    const CommandLine& commandLine() const { return m_commandLine; }
    QString programDir() const;

    // State.
    bool isReady() const { return m_ready; }
    bool isShuttingDown() const { return m_shuttingDown; }
    // A transfer runs or waits, or the firmware is too old to work with.
    bool isTransferLocked() const;
    bool isFirmwareTooOld() const { return m_firmwareTooOld; }
    bool isFirstReadPending() const;
    int firmwareVersion() const;
    int extensionCount() const;
    // "COM1".."COM4", or the invalid stored text after a failed start-up.
    QString portName() const;
    bool isPortOpen() const;
    int autoCloseCountdown() const { return m_autoCloseCountdown; }

    // "Einheiten übertragen": charge units go with the next write (cleared at start-up).
    bool transferUnits() const { return m_transferUnits; }
    void setTransferUnits(bool on);

    // Operations of the buttons and fields.
    void startRead(); // "&Lesen"
    void write();     // "Konfigurieren": password question, then commit and write
    // The same write of a configuration loaded by time control: after the password question the
    // configuration regions are `loaded` again, whatever arrived meanwhile.
    void writeLoaded(const ConfigImage& loaded);
    // The port, its choice and the start wait of the program-parameter page.
    PortControl& port() const;
    bool openPort(const QString& portName); // message 24; message 5 on failure
    void decodeConfiguration();             // decode base and extension regions, configDecoded()
    void loadPassword();                    // start-up: the store read, passwordChanged()
    void loadCharges();                     // start-up: prices from the settings, the period list
    void startPublication(); // the charge texts and the call signals on the session bus, when there is one
    void startMqtt();        // the broker of the "MQTT" settings, when they name one
    void commitPages();      // store the showing page before a write, save or print
    // "Drucken...": commit, lock, the speed dials first where the mode needs them, then the sink.
    // `pdfPath` empty: the default printer.
    void print(PrintMode mode, const QString& pdfPath = {});
    bool isPrinting() const;
    // "Paßwort speichern": message 40 when the two texts differ; an empty pair removes the password.
    bool savePassword(const QString& newPassword, const QString& repetition);
    // "CAPI-Laden" and "Alle" toggled on the program-parameter page (written at once).
    void setLoadCapi(bool on);
    void setWatchAll(bool on);
    void setNotifyCalls(bool on); // "Benachrichtigung bei Anruf"

    // Seams for the GUI: the commit step of the showing page, and the password dialog, opened
    // without waiting for it: it answers later with the entered text, or nothing when cancelled.
    void setCommitHook(std::function<void()> hook);
    void setPasswordPrompt(WriteGate::Prompt prompt);
    // The drawing of a printout on the printer or into a PDF file.
    void setPrintSink(Printout::Sink sink);

    // The one-second timer: started at the end of start-up, stopped at shutdown.
    void startTimer();
    void stopTimer();
    bool isTimerRunning() const;
    // One tick: the duties of secondTick() in their order.
    void onSecond();

    // The lamps and the signalling of state events (window visibility, alarm icon, sounds).
    DiagnosisSignalling& signalling() const;
    void runLampTest();              // "Lampentest": controls locked for its second
    void setRecordOutgoing(bool on); // "Abgehende Rufe", stored at once
    // Start-up: the CAPI call monitor on controller 1, when "CAPI-Laden" is on. A failure is not
    // reported: the base configuration page shows the library's state.
    void startCallMonitor();
    // Start-up: the incoming list, the clean-up of the outgoing log, then the outgoing list, both
    // lists within "Anzeigezeitraum".
    void loadCallLogs();
    // "Namen ändern" on a row of "Abgehende Gespräche" or "Ankommende Gespräche" (a row of the
    // log's list, not of a view).
    bool renameOutgoingCall(int row, const QString& name);
    bool renameIncomingCall(int row, const QString& name);
    // Start-up: the "Telefonbuch (vCard)" file names callers and dialled numbers; a failed read or
    // skipped cards are reported, and again once the first read has cleared the status line.
    void loadAddressBook();
    // The file chosen on the program-parameter page (empty: none): stored, loaded, reported.
    void setAddressBookFile(const QString& path);
    // The user's scripts run for each logged call.
    CallHooks& callHooks() const;
    // "Sperrliste.txt": the callers taken off before the phones ring on.
    CallBlocking& callBlocking() const;
    // The broker of the "MQTT" settings.
    MqttService& mqtt() const;

    // A close request: set the shutdown flag only when the program ends from the tray (a quit
    // while the window is hidden); `then` runs 200 ms later, from the event loop.
    void closeQuery(bool windowHidden, bool quitRequested, std::function<void()> then);
    // The end: timer stopped, CAPI released, a running ring's stops sent, port closed, library
    // unloaded; then `done`.
    void shutdown(std::function<void()> done = {});

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
    void transferUnitsChanged(bool on);
    // "CAPI-Laden" or "Alle" changed: the per-MSN monitoring box re-applies its enabling rule.
    void monitoringChanged();
    // The digits an extension has dialled, as the diagnosis page's "Nummer" column shows them.
    void dialledNumberChanged(int extension, const QString& text);
    // A notice of the CAPI monitor for an information box (an unknown message, a failed release).
    void capiNotice(const QString& text);

private:
    void connectLink();
    void connectStatus();
    void setUpSecondTick();
    void connectFeatures();
    void connectCallers();
    void countDownAutoClose();
    void onBaseReceived();
    void onExtensionsReceived();
    void onReadFinished();

    struct Parts;
    std::unique_ptr<Parts> m_parts;
    CommandLine m_commandLine;
    bool m_ready = false;
    bool m_shuttingDown = false;
    bool m_firmwareTooOld = false;
    bool m_transferUnits = false;
    int m_autoCloseCountdown = -1;
    std::function<void()> m_commitHook;
};
