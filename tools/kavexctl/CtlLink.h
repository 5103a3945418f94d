#pragma once

#include "CtlCommand.h"
#include "common/Clock.h"
#include "image/ConfigImage.h"
#include "link/PbxLink.h"
#include "link/TComm32.h"
#include "shell/StatusLine.h"

#include <memory>

class SimulatorProcess;
class TerminationSignals;

// The exchange link for one kavexctl command: the device from --port, --simulate or the settings
// file ("Anschluß" through "Schnittstellen"), the time-out from --timeout or "TimeOut", and the
// program's event loop with the one-second tick that drives the reply time-out. SIGINT and SIGTERM
// end the command promptly: a running ring still sends its stops before the port closes.
class CtlLink
{
public:
    explicit CtlLink(const CtlOptions& options);
    ~CtlLink();

    // ExitOk, or the exit status after the reason has been printed on stderr.
    int open();
    // The full read (one automatic repeat after the first time-out, as at start-up).
    int read();
    // Start-up order: the switch-on request, 100 ms, the full read.
    int startUp();
    // Runs the program's event loop until quit() or `ms` (< 0: no limit) or SIGINT/SIGTERM.
    // Never from inside the loop: a command runs it from main, once for each thing it waits for.
    void run(int ms);
    void quit();
    // A signal ended the command; its exit status is 128 + the signal's number.
    bool interrupted() const { return m_interrupted; }
    int interruptedStatus() const;
    // A command is waiting for its read (quit() would cut it short).
    bool readPending() const { return m_readResult == -1; }

    PbxLink& link() { return *m_link; }
    ConfigImage& image() { return m_image; }

private:
    static constexpr int ReadDone = -2;

    int waitForRead();
    void endRead(int status);
    void interrupt();

    CtlOptions m_options;
    SystemClock m_clock;
    ConfigImage m_image;
    StatusLine m_status;
    TComm32 m_port;
    std::unique_ptr<PbxLink> m_link;
    std::unique_ptr<SimulatorProcess> m_simulator;
    std::unique_ptr<TerminationSignals> m_signals;
    bool m_running = false;
    bool m_interrupted = false;
    int m_readResult = ReadDone; // -1 while a command waits for its read
};

// Writes a line to stdout (UTF-8) and flushes it, so that a reader sees each line as it comes.
void ctlPrint(const QString& line);
void ctlError(const QString& line);
