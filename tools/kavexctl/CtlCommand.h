#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class VorwahlLibrary;

// Global options, written before the command: kavexctl --port /dev/ttyUSB0 --timeout 10 read
struct CtlOptions
{
    QString port;            // device path; empty: from the settings file
    QString dir;             // program directory; empty: the default
    int timeoutSeconds = -1; // -1: "TimeOut" from the settings file
    bool simulate = false;   // start a simulated exchange and use it
    // The area-code library, loaded at start-up like the program does; absent is no error.
    const VorwahlLibrary* vorwahl = nullptr;
};

// Exit status of every command.
enum CtlExit
{
    ExitOk = 0,
    ExitUsage = 1,
    ExitComm = 2,
    ExitFirmware = 3
};

struct CtlCommand
{
    const char* name;
    const char* synopsis; // one line for --help, e.g. "read [--save FILE.KVX] [--json]"
    int (*run)(const CtlOptions& options, const QStringList& args);
    bool drawsPages = false; // needs fonts and a painter: runs in a GUI application without a display
};

// Each command file registers itself with one static CtlRegistrar.
class CtlRegistry
{
public:
    static std::vector<CtlCommand>& commands();
};

struct CtlRegistrar
{
    explicit CtlRegistrar(const CtlCommand& command) { CtlRegistry::commands().push_back(command); }
};
