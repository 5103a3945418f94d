#pragma once

#include "config/BaseCodec.h"
#include "image/ConfigImage.h"

#include <QString>

#include <cstdint>

// One extension record decoded into values.
struct ExtensionSettings
{
    int permission = 0;             // record byte 1, index into ConfigChoices::permissions()
    int service = 0;                // record byte 2, index into ConfigChoices::services()
    bool chargePulse = false;       // byte 4
    bool trunkAccess = false;       // byte 17 (spontaneous trunk access)
    QString pin;                    // bytes 5, 6: four characters "0" + nibble
    std::uint8_t extensionMask = 0; // byte 18: bit j = extension 21 + j may knock
    std::uint16_t msnMask = 0;      // bytes 19 (high), 20 (low): bit m = MSN m + 1 may knock
    QString target;                 // forwarding target as the overview shows it
    int mode = 0;                   // index into ConfigChoices::forwardingModes(); -1: none
    QString modeText;               // "(sofort)", "(besetzt)", "(%d Rufe)" or empty
};

// Pure decoding and encoding of the extension records (image bytes 301 + g x L ..).
namespace ExtensionCodec {
namespace Offset {
inline constexpr int Records = 301; // image offset of record 0
inline constexpr int Permission = 1, Service = 2, Immediate = 3, ChargePulse = 4, Pin = 5;
inline constexpr int External = 7, ExternalBytes = 10, TrunkAccess = 17, ExtensionMask = 18;
inline constexpr int MsnMaskHigh = 19, MsnMaskLow = 20, Busy = 23, AfterRings = 24, Rings = 25;
} // namespace Offset
inline constexpr int ExternalDigits = 20;
inline constexpr int PinLength = 4;

// Image offset of the record of extension index g for a record length of 24 or 27.
int recordOffset(int g, int recordLength);

// Decodes record g. MSN bits of MSNs without a number are cleared; the forwarding is decoded
// with the rules of the firmware (bytes 23..25 only from 2.00).
ExtensionSettings decode(const ConfigImage& image, const BaseSettings& base, int g);

QString permissionText(int value); // message 11 + value
QString serviceText(int value);    // message 16 + value
QString ringsText(int rings);      // message 49 "(%d Rufe)"
// Fax G3, Daten and T-Online take no call waiting; Telefon, Anrufbeantworter and Kombidienst
// may knock at other extensions.
bool takesCallWaiting(int service);
bool knocksAtOthers(int service);

// A target that names an existing extension: two characters, "2" and "1" .. count.
bool isExtensionTarget(const QString& target, int extensionCount);

// Record byte writers; each touches only the bytes it names.
void storeByte(ConfigImage& image, int g, int recordLength, int offset, std::uint8_t value);
// Pads the PIN on the left with "0" to four characters (blanks count as "0"), packs it into
// bytes 5 and 6 and returns the text shown.
QString storePin(ConfigImage& image, int g, int recordLength, const QString& typed);
// Stores a forwarding target with its mode (forwarding modes only from firmware 2.00; below,
// bytes 23..25 belong to the next record and are never written). Returns the mode text.
QString storeForwarding(ConfigImage& image, int g, const BaseSettings& base, const QString& target, int mode);
void storeMasks(ConfigImage& image, int g, int recordLength, std::uint8_t extensionMask, std::uint16_t msnMask);

// Charge units of extension index g: 16 bits little-endian at image bytes 801 + 2g, 802 + 2g.
int units(const ConfigImage& image, int g);
void storeUnits(ConfigImage& image, int g, int value);
} // namespace ExtensionCodec
