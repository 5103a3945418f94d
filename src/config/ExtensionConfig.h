#pragma once

#include "config/BaseConfig.h"
#include "config/ExtensionCodec.h"
#include "config/Marked.h"
#include "image/ConfigImage.h"
#include "image/Extensions.h"

#include <QString>
#include <QStringList>

#include <array>

// The fields of the extension page ("Nebenstellen") for the selected extension.
struct ExtensionPageFields
{
    bool chargePulse = false;
    bool trunkAccess = false;
    int permission = 0;       // index into ConfigChoices::permissions(); -1: nothing selected
    int service = 0;          // index into ConfigChoices::services(); -1: nothing selected
    QString units;            // charge units, digits
    QString pin;              // at most 4 characters
    QString target;           // forwarding target, at most 20 characters
    int mode = 0;             // index into ConfigChoices::forwardingModes(); -1: nothing selected
    bool modeEnabled = false; // set by show/targetTyped: whether the mode choice is enabled
    bool operator==(const ExtensionPageFields&) const = default;
};

// The extension configuration as the pages see it: the overviews "Berechtigungen" and
// "Anklopfen" and the extension page with its call-waiting list. Decoding also refreshes the
// assignment matrix of the base model.
class ExtensionConfig
{
public:
    ExtensionConfig(ConfigImage& image, BaseConfig& base);

    // Decodes extensions 0 .. count - 1, clears every change mark, re-reads the assignment
    // matrix and shows the selected extension (which may clear call-waiting bits).
    void decode();

    int extensionCount() const { return m_base.extensionCount(); }
    const ExtensionSettings& settings(int g) const;

    // Overview per extension index g (0..7); nothing for extensions beyond the count.
    MarkedText permission(int g) const;
    MarkedText service(int g) const;
    MarkedText forwardingTarget(int g) const; // `Rufumleitung21` ..
    MarkedText forwardingMode(int g) const;   // `RufUmlKennung21` ..
    bool chargePulse(int g) const;
    bool trunkAccess(int g) const;
    QString pin(int g) const;
    // Charge units as the image holds them, and whether the extension page changed them.
    int units(int g) const;
    bool unitsChanged(int g) const;
    // Call-waiting matrices: MSN m (0..9) may knock at extension g; extension j may knock at g
    // (j != g; j, g < count).
    MarkedFlag msnWaiting(int m, int g) const;
    MarkedFlag extensionWaiting(int j, int g) const;

    // The extension page. The selected index starts at 0.
    int selectedExtension() const { return m_selected; }
    // Fills the page; clears the call-waiting bits the list cannot show and builds the list.
    ExtensionPageFields showSelected();
    // Entries of the call-waiting list: first character "1" (ticked) or "0", not shown; then
    // "MSN %d  (<number>)" or "Nebenstelle %d".
    QStringList waitingList() const { return m_waitingList; }
    // Toggles one entry of the list and the matching bit and matrix cell.
    void clickWaiting(int row);
    // Whether the forwarding-mode choice is enabled for a target (firmware 2.00 and later, and
    // the target names an existing extension).
    bool modeChoiceEnabled(const QString& target) const;
    // The target was typed: returns the page fields with the mode choice enabled and "sofort"
    // selected for an extension target, else disabled with nothing selected; marks the mode text.
    ExtensionPageFields targetTyped(const ExtensionPageFields& fields);
    // Writes the page into the image and the settings, marking what changed.
    void storeSelected(const ExtensionPageFields& fields);
    // Changing the extension choice: stores the page for the old index, then shows the new one.
    ExtensionPageFields select(int g, const ExtensionPageFields& current);

private:
    struct Overview
    {
        MarkedText permission, service, target, mode;
        bool unitsChanged = false;
        std::array<bool, 10> msnChanged{};
        std::array<bool, Extensions::Max> extensionChanged{};
    };
    void buildWaitingList(ExtensionSettings& s);
    void storeForwarding(int g, const ExtensionPageFields& fields);
    void storeUnits(int g, const QString& text);
    bool valid(int g) const;

    ConfigImage& m_image;
    BaseConfig& m_base;
    int m_selected = 0;
    std::array<ExtensionSettings, Extensions::Max> m_settings{};
    std::array<Overview, Extensions::Max> m_overview{};
    QStringList m_waitingList;
};
