#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <cstdint>

// The exchange's 60 speed-dial entries (dialled as 301..360): a number and four attribute bytes each.
class SpeedDialTable
{
public:
    static constexpr int Count = 60;
    static constexpr int MaxDigits = 20;
    // Payload bytes of an entry reply: 11 cells on the line, enough for the longest entry (19 bytes).
    static constexpr int ReplyPayloadLength = 33;

    struct Entry
    {
        QByteArray digits; // nibble values, first digit first (0..9; other nibbles are kept as received)
        std::uint8_t babyCall = 0;
        std::uint8_t permission = 0;
        std::uint8_t rhythm = 0;
        std::uint8_t dialBlock = 0;
        bool operator==(const Entry&) const = default;
    };

    // n = 1..60; out-of-range numbers are ignored by set and give an empty entry.
    const Entry& entry(int n) const;
    void set(int n, const Entry& entry);
    // Sets an entry from a text of digits "0".."9" (at most 20).
    void setNumber(int n, const QByteArray& number, std::uint8_t babyCall, std::uint8_t permission, std::uint8_t rhythm,
                   std::uint8_t dialBlock);

    // CC 08 03 n d, the digits packed first-digit-high, the four attributes, zeros up to 33 bytes.
    QByteArray replyPayload(int n) const;
    // Applies a save payload CC 05 09 n d digits baby permission rhythm block FF. A payload whose
    // number, digit count or length does not fit is refused (false) and changes nothing.
    bool applySavePayload(QByteArrayView payload);

private:
    std::array<Entry, Count> m_entries;
};
