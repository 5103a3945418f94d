#pragma once

#include <QDateTime>
#include <QString>

#include <array>
#include <optional>
#include <vector>

// What a printout shows, as the pages show it: texts only, no image bytes.

struct PrintExtensionRow
{
    QString number; // "21" ..
    QString name;   // section "Bezeichnungen"
    QString msns;   // the assigned MSNs' numbers 1..10, joined by ", "
    QString forwarding;
    QString permission;
    QString service;
    bool chargePulse = false; // "Ja" under "Impuls"
    bool trunkAccess = false; // "Ja" under "Spontane Amtsholung"
    QString units;            // as the charge overview shows them
    QString cost;
};

struct PrintConfiguration
{
    // Protocol, connection type, external and internal S0, extensions, firmware, music and
    // message on hold: the overview's values in the order of their labels.
    std::array<QString, 8> baseValues;
    std::array<QString, 10> msnNumbers;
    std::array<QString, 10> msnRhythms;
    std::vector<PrintExtensionRow> extensions;
    QString totalUnits;
    QString totalCost;
};

struct PrintSpeedDialRow
{
    QString entry; // "301" ..
    QString name;
    QString number;
    QString attributes; // "Baby 21, 22 KW 21, "
};

struct PrintContent
{
    bool withBars = true; // "DruckenMitRand"
    QDateTime printedAt;
    std::optional<PrintConfiguration> configuration;
    // Entries 1..60 in entry order; absent when the page is not printed.
    std::optional<std::vector<PrintSpeedDialRow>> speedDials;
    bool isEmpty() const { return !configuration && !speedDials; }
};

// The three entries of the print menu.
enum class PrintMode
{
    Configuration = 0, // "Parametrierung"
    SpeedDials = 1,    // "Kurzwahlen"
    Both = 2           // "Parametrierung und Kurzwahlen"
};

inline bool printsConfiguration(PrintMode mode)
{
    return mode != PrintMode::SpeedDials;
}
inline bool printsSpeedDials(PrintMode mode)
{
    return mode != PrintMode::Configuration;
}
