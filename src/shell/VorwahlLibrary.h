#pragma once

#include <QString>
#include <memory>
#include <optional>

class QLibrary;

// The optional area-code lookup library, bound at start-up by name. Without it (or without one of
// its entry points) the program runs on: lookups yield nothing and the version line is empty, and
// no message is shown.
class VorwahlLibrary
{
public:
    struct Lookup
    {
        QString formatted; // "(0221) 123456", or the number itself when no area code is known
        QString place;     // "[Köln]", "[München (Mobilcom)]", or empty
    };

    struct Version
    {
        QString version; // "1.10"
        QString date;    // "18. Dezember 1998"
    };

    VorwahlLibrary();
    ~VorwahlLibrary();
    VorwahlLibrary(const VorwahlLibrary&) = delete;
    VorwahlLibrary& operator=(const VorwahlLibrary&) = delete;

    // Looks for libvorwahl.so in the executable's directory, then in the installed program's
    // library directory, then by name on the system's library path.
    bool load();
    // Loads exactly this file (or library name); for tests and for callers that know the path.
    bool load(const QString& fileName);
    void unload();

    bool isLoaded() const;
    QString fileName() const; // of the loaded library, empty when none

    // Both results of the lookup with result buffers of 255 characters; nothing without the entry point.
    std::optional<Lookup> lookup(const QString& number) const;
    // Version and date with the capacities the information page uses (10 and 20); nothing without the entry point.
    std::optional<Version> version() const;
    // "Vorwahl-Umsetzung Version 1.10 vom 18. Dezember 1998", or empty without the entry point.
    QString versionLine() const;

private:
    struct Entries;
    std::unique_ptr<QLibrary> m_library;
    std::unique_ptr<Entries> m_entries;
};
