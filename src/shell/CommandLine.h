#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The program's command line: the words "AUTOENDE", "DEBUG" and "ICON" (any case, any order; other
// words are ignored) and the options of the Linux build.
struct CommandLine
{
    bool autoEnd = false;     // close the window to the tray 3 s after every complete read
    bool debug = false;       // trace the serial traffic to "winkavex.debug" in the program directory
    bool startInTray = false; // do not show the window at the end of start-up
    bool simulate = false;    // --simulate: run against kavex-sim --demo on a pseudo-terminal
    bool help = false;        // --help
    bool version = false;     // --version
    bool headless = false;    // --headless: the session without a window
    QString portDevice;       // --port DEVICE
    QString dir;              // --dir DIR
    QString screenshotsDir;   // --screenshots DIR
    QString helpPagesDir;     // --help-pages DIR
    QString error;            // a usage error; empty when the line parsed

    // `arguments` without the program name.
    static CommandLine parse(const QStringList& arguments);
    // The first argument (argv[1] on) that the locale's encoding cannot decode and give back byte
    // for byte: as text it would name another path than the one typed. Nothing when all can.
    static std::optional<QByteArray> undecodable(int argc, const char* const* argv);
    static QString usage();
    // --help, --version or a usage error: printed, and the exit status to end with; nothing when
    // the program runs.
    static std::optional<int> answered(const CommandLine& line);
    // --simulate with --port: the demo never touches a real device.
    static QString simulateWithPortError();
    // A run that renders pages to files and ends, beside any working instance.
    bool rendersPages() const { return !screenshotsDir.isEmpty() || !helpPagesDir.isEmpty(); }
};
