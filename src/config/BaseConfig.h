#pragma once

#include "config/BaseCodec.h"
#include "config/Marked.h"
#include "image/ConfigImage.h"
#include "image/Extensions.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>

// The fields of the MSN page ("Grundparameter") for the selected MSN.
struct MsnPageFields
{
    int holdChoice = 1;                           // index into ConfigChoices::hold(count)
    int rhythmChoice = -1;                        // index into ConfigChoices::rhythms(); -1: nothing selected
    QString number;                               // `TelefonNummer`, at most 10 characters on the page
    bool watched = true;                          // monitoring check box ("Überwachung", "MSN" + index digit)
    std::array<bool, Extensions::Max> assigned{}; // `Zuordnung21` .. `Zuordnung28`
    bool operator==(const MsnPageFields&) const = default;
};

// The base configuration as the pages see it: the overview values of "Grundkonfiguration", the
// assignment matrix of "Zuordnung" and the MSN page, over the image owned by the caller.
// Values the user changed since the last decode carry a change mark (drawn in red).
class BaseConfig
{
public:
    explicit BaseConfig(ConfigImage& image);

    // Decodes the base region, clears every change mark and keeps the selected MSN index.
    // Also reads the assignment matrix (bytes 84..93).
    void decode();
    // Re-reads the assignment matrix from the image and clears its marks (the extension decode
    // does this after its own work).
    void decodeAssignment();

    const BaseSettings& settings() const { return m_settings; }
    int extensionCount() const { return m_settings.extensionCount; }
    int firmwareVersion() const { return m_settings.version; }

    // Gates of the firmware version.
    bool firmwareSupported() const;    // 1.93 and later
    bool callWaitingEditable() const;  // 1.95 and later
    bool rhythmsEditable() const;      // 2.00 and later (also forwarding modes)
    bool speedDialsAvailable() const;  // 2.00 and later
    int extensionRecordLength() const; // 24 below 2.00, else 27

    // Overview texts ("%d" for the counts, "%d.%d" for the firmware).
    QString protocolText() const;
    QString connectionText() const;
    QString extensionCountText() const;
    QString internalS0Text() const;
    QString externalS0Text() const;
    QString firmwareText() const;
    MarkedText musicOnHold() const { return m_musicOnHold; }
    MarkedText messageOnHold() const { return m_messageOnHold; }
    // Per MSN m (0..9): its number and rhythm text as the overview shows them.
    MarkedText msnNumber(int m) const;
    MarkedText msnRhythm(int m) const;
    bool hasNumber(int m) const;
    // Assignment matrix: MSN m rings at extension index i (0..7); cells beyond the count are clear.
    MarkedFlag assignment(int m, int i) const;

    // Monitoring flags of the MSNs (settings "Überwachung"); loaded by the owner at start-up.
    void setWatchFlags(const std::array<bool, 10>& flags) { m_watched = flags; }
    bool watched(int m) const;
    // Called when the MSN page stores a monitoring flag, to write it at once to the settings file.
    void setWatchWriter(std::function<void(int m, bool watched)> writer) { m_watchWriter = std::move(writer); }

    // The MSN page. The selected index starts at 0.
    int selectedMsn() const { return m_selected; }
    MsnPageFields showSelected() const;
    // Writes the page into the image and the settings, marking what changed.
    void storeSelected(const MsnPageFields& fields);
    // Changing the MSN choice: stores the page for the old index, then shows the new one.
    MsnPageFields select(int m, const MsnPageFields& current);

private:
    void storeHold(int choice);
    void storeNumberAndRhythm(int m, const MsnPageFields& fields);
    void storeAssignment(int m, const std::array<bool, Extensions::Max>& assigned);

    ConfigImage& m_image;
    BaseSettings m_settings;
    int m_selected = 0;
    MarkedText m_musicOnHold, m_messageOnHold;
    bool m_shownMusic = false;
    int m_shownMessage = 0;
    std::array<MarkedText, 10> m_numbers, m_rhythms;
    std::array<int, 10> m_shownRhythm{};
    std::array<std::array<MarkedFlag, Extensions::Max>, 10> m_assignment{};
    std::array<bool, 10> m_watched{true, true, true, true, true, true, true, true, true, true};
    std::function<void(int, bool)> m_watchWriter;
};
