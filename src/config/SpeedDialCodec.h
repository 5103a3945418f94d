#pragma once

#include "link/PbxRequests.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// One speed-dial entry as the exchange holds it.
struct SpeedDialEntry
{
    int entry = 0;                // 1..60, dialled as 300 + entry
    QString number;               // up to 20 digits
    std::uint32_t attributes = 0; // see SpeedDialCodec::attributeValue
    bool operator==(const SpeedDialEntry&) const = default;
};

// Pure wire format of speed-dial entries. Numbers put the first digit in the high nibble.
namespace SpeedDialCodec {
inline constexpr int EntryCount = PbxRequests::SpeedDialCount;
inline constexpr int MaxDigits = 20;
inline constexpr int ReplyLength = 41; // line bytes of an entry reply that are looked at

// The four attribute bytes as one value: bits 24..31 baby call mask, 16..23 speed-dial
// permission mask, 8..15 ring rhythm, 0..7 dial block.
std::uint32_t attributeValue(std::uint8_t baby, std::uint8_t permission, std::uint8_t rhythm, std::uint8_t block);
inline std::uint8_t babyMask(std::uint32_t v)
{
    return static_cast<std::uint8_t>(v >> 24);
}
inline std::uint8_t permissionMask(std::uint32_t v)
{
    return static_cast<std::uint8_t>(v >> 16);
}
inline std::uint8_t rhythm(std::uint32_t v)
{
    return static_cast<std::uint8_t>(v >> 8);
}
inline std::uint8_t dialBlock(std::uint32_t v)
{
    return static_cast<std::uint8_t>(v);
}

// The entry text "301" .. "360" of entry 1..60.
QString entryText(int entry);
// Entry n from its text's last two digits ("301" -> 1); 0 for a text that names no entry.
int entryFromText(const QString& text);

// Decodes an entry reply chunk (line bytes with cell headers): its first 41 bytes are compacted.
// Bytes missing from a short chunk count as zero; nothing when the entry number is not 1..60.
std::optional<SpeedDialEntry> decodeReply(const QByteArray& chunk);

// Attribute text: empty for an empty number; "Wahlsperre" when the dial block is set; else
// "Kurzwahl" and/or "Babyruf", joined by ", ".
QString attributesText(bool numberEmpty, std::uint32_t value);

// Write payload of one entry: CC 05 09 n d, the digits packed, baby call mask, permission mask,
// ring rhythm, dial block, FF (ceil(d/2) + 10 bytes). Digits beyond 20 are cut.
QByteArray savePayload(int n, const QString& digits, std::uint32_t value);
// Progress maximum while a save payload is sent: ((ceil(d/2) + 9) x 4) / 3.
int saveProgressMaximum(const QByteArray& payload);
} // namespace SpeedDialCodec
