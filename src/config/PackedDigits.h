#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Packed decimal numbers: two digits per byte, nibble 0xF = no digit (filler).
// A nibble is shown as the character "0" + nibble, so 0xA..0xE appear as ":" .. ">".
namespace PackedDigits {
inline constexpr std::uint8_t Filler = 0x0F;

// Value of one typed character: a blank is 0; "0" .. "?" give 0 .. 15 (the inverse of the
// display); anything else gives the filler, so it can never spill into a neighbouring nibble.
std::uint8_t valueOf(QChar c);

// Low nibble first (MSNs, forwarding numbers): every filler is removed, wherever it stands.
QString unpackLowFirst(const std::uint8_t* bytes, int byteCount);
// Packs `text` low nibble first into `byteCount` bytes, padded with fillers; extra characters
// are cut.
void packLowFirst(const QString& text, std::uint8_t* bytes, int byteCount);

// High nibble first (speed dials): the first `digitCount` characters of the expanded nibbles.
QString unpackHighFirst(QByteArrayView bytes, int digitCount);
// High nibble first; an odd count gets the filler as its last low nibble.
QByteArray packHighFirst(const QString& digits);
} // namespace PackedDigits
