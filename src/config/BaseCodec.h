#pragma once

#include "image/ConfigImage.h"
#include "image/Extensions.h"

#include <QString>

#include <array>
#include <cstdint>

// The base region (image bytes 0..299) decoded into values. Bytes the program does not interpret
// stay in the image and are never touched.
struct BaseSettings
{
    static constexpr int MsnCount = 10;

    int connection = 0;     // byte 1: 0 "Mehrgeräteanschluß", 1 "Anlagenanschluß"
    int extensionCount = 0; // byte 2, bounded to 0..8 for every loop over extensions
    int protocol = 0;       // byte 3: 0 "1TR6", 1 "DSS1"
    int major = 0, minor = 0;
    int version = 0;          // major x 100 + minor
    bool musicOnHold = false; // byte 57
    int internalS0 = 0, externalS0 = 0;
    int messageOnHold = 0;                       // byte 94: 0 none, 1..8 extension 20 + value
    std::array<QString, MsnCount> numbers;       // fillers removed
    std::array<std::uint8_t, MsnCount> ring{};   // bit i: extension 21 + i rings
    std::array<std::uint8_t, MsnCount> rhythm{}; // byte 102 + m as stored

    bool hasNumber(int m) const { return !numbers.at(static_cast<std::size_t>(m)).isEmpty(); }
    bool rings(int m, int extensionIndex) const
    {
        return extensionIndex < extensionCount && (ring.at(static_cast<std::size_t>(m)) >> extensionIndex) & 1;
    }
};

// Pure decoding and encoding of the base region, and the texts the pages show for its values.
namespace BaseCodec {
namespace Offset {
inline constexpr int Connection = 1, ExtensionCount = 2, Protocol = 3, Major = 4, Minor = 5;
inline constexpr int Numbers = 7, NumberBytes = 5, MusicOnHold = 57, InternalS0 = 58, ExternalS0 = 59;
inline constexpr int Ring = 84, MessageOnHold = 94, Rhythm = 102;
inline constexpr int SentLength = 112;
} // namespace Offset

BaseSettings decode(const ConfigImage& image);

QString protocolText(int value);   // message 7 + value
QString connectionText(int value); // message 9 + value
QString musicOnHoldText(bool on);  // message 28 + value: "Nein" / "Ja"
// Message 33 "Nein" when music on hold is on or no extension plays the message, else
// message 34 "Anschluß %d" with 20 + value.
QString messageOnHoldText(bool musicOnHold, int messageOnHold);
QString firmwareText(int major, int minor); // "%d.%d"
// The overview's rhythm text of an MSN: nothing for an empty number, "n.v." below firmware
// 2.00, else message 41 + value.
QString rhythmText(int version, bool hasNumber, int value);
// Message 41 + value, empty for a value without text.
QString rhythmValueText(int value);

// Hold choice index (see ConfigChoices::hold): 0 when music on hold is on, else byte 94 + 1.
int holdChoice(const BaseSettings& settings);
// Stores a hold choice: k > 0 sets byte 94 = k - 1 and clears byte 57; k = 0 sets byte 57 and
// leaves byte 94. An index outside the list (0 .. count + 1) changes nothing.
void storeHold(ConfigImage& image, int choice, int extensionCount);
// Normalises a typed number as it is stored: at most 14 characters, blanks become "0".
QString normalisedNumber(const QString& typed);
// Packs the number of MSN m (0..9) into bytes 7 + 5m .. 11 + 5m; digits beyond ten are cut.
void storeNumber(ConfigImage& image, int m, const QString& typed);
// Stores a rhythm choice (see ConfigChoices::rhythms) in byte 102 + m; an index outside the list
// changes nothing.
void storeRhythm(ConfigImage& image, int m, int choice);
// Byte 84 + m from the check boxes of extensions 0 .. count - 1; the other bits are cleared.
void storeRing(ConfigImage& image, int m, const std::array<bool, Extensions::Max>& assigned, int extensionCount);
} // namespace BaseCodec
