#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Command line of kavex-sim.
struct SimOptions
{
    QString linkPath;    // symlink to the pty slave; empty: the default path
    QString imagePath;   // 1024-byte configuration file to start from; empty: the built-in exchange
    int firmware = -1;   // version number major x 100 + minor; -1: from the image (built-in: 200)
    int extensions = -1; // 1..8; -1: from the image (built-in: 8)
    int baud = 9600;
    QString logPath;
    bool mute = false;
    bool demo = false;
    bool verbose = false;
    bool help = false;
    bool version = false;
    std::optional<quint32> seed;
    std::optional<int> demoIntervalSeconds; // fixed pause before and between demo calls

    // Parses the arguments after the program name; nullopt with a message in error on bad input.
    static std::optional<SimOptions> parse(const QStringList& args, QString* error);
    static QString helpText();
    // $XDG_RUNTIME_DIR/kavex-sim, else /tmp/kavex-sim-<uid>.
    static QString defaultLinkPath();
};
