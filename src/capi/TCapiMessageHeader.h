#pragma once

#include <QtGlobal>

#include <span>

// The 8-byte header of every CAPI message, little-endian. A header made for sending carries
// message number 0, and this program never sends another one.
struct TCapiMessageHeader
{
    quint16 length = 0; // of the whole message, header included
    quint16 applId = 0;
    quint8 command = 0;
    quint8 subcommand = 0;
    quint16 messageNumber = 0;

    static constexpr int GetLength() { return 8; }
    quint16 GetWordCommand() const { return static_cast<quint16>(command << 8 | subcommand); }
    void SetWordCommand(quint16 wordCommand);

    // Missing bytes of a short block read as 0.
    static TCapiMessageHeader fromBytes(std::span<const quint8> bytes);
    void writeTo(std::span<quint8, 8> target) const;
};
