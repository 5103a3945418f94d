#pragma once

#include <QString>

#include <memory>
#include <optional>

struct timeval;

// The entry points of the CAPI 2.0 library, with the signatures of the Linux library. Held by a
// shared pointer that also keeps the library loaded, so a receive thread that outlives its
// application never calls into an unloaded library.
struct CapiEntries
{
    unsigned (*isInstalled)() = nullptr;
    unsigned char* (*getManufacturer)(unsigned controller, unsigned char* buffer) = nullptr;
    unsigned char* (*getSerialNumber)(unsigned controller, unsigned char* buffer) = nullptr;
    unsigned char* (*getVersion)(unsigned controller, unsigned char* buffer) = nullptr;
    unsigned (*getProfile)(unsigned controller, unsigned char* buffer) = nullptr;
    unsigned (*registerApplication)(unsigned maxLogicalConnections, unsigned maxB3Blocks, unsigned maxB3BlockLength,
                                    unsigned* applId) = nullptr;
    unsigned (*release)(unsigned applId) = nullptr;
    unsigned (*putMessage)(unsigned applId, unsigned char* message) = nullptr;
    unsigned (*getMessage)(unsigned applId, unsigned char** message) = nullptr;
    unsigned (*waitForMessage)(unsigned applId, timeval* timeOut) = nullptr;

    ~CapiEntries();
    void* handle = nullptr;
};

// The binding of the CAPI library: loaded once, on first use, by its file name, and held until
// the end. One per process in the program; tests make their own over another file.
class CapiLibrary
{
public:
    enum State : int
    {
        Installed = 0,    // loaded, and the CAPI reports itself installed
        NotLoaded = 1,    // no attempt yet
        NotFound = 2,     // missing, not loadable, or an entry point is missing
        NotInstalled = 3, // loaded, but the CAPI reports that it is not installed
    };

    struct Version
    {
        unsigned capiMajor = 0;
        unsigned capiMinor = 0;
        unsigned manufacturerMajor = 0;
        unsigned manufacturerMinor = 0;
    };

    // The system's CAPI library, which the texts of a missing CAPI name.
    static constexpr char SystemFileName[] = "libcapi20.so.3";
    // $WINKAVEX_CAPI_LIBRARY when set (the simulated controller), else SystemFileName.
    static QString defaultFileName();

    explicit CapiLibrary(QString fileName = defaultFileName());
    ~CapiLibrary();
    CapiLibrary(const CapiLibrary&) = delete;
    CapiLibrary& operator=(const CapiLibrary&) = delete;

    int state() const { return m_state; }
    QString fileName() const { return m_fileName; }
    // Loads the library while the state is NotLoaded; returns the state.
    int load();
    // Every entry point, only in state Installed.
    std::shared_ptr<const CapiEntries> entries() const;

    // Of controller 1; only in state Installed, and nothing when the CAPI cannot tell.
    std::optional<QString> manufacturer() const;
    std::optional<Version> version() const;

private:
    QString m_fileName;
    int m_state = NotLoaded;
    std::shared_ptr<CapiEntries> m_entries;
};
