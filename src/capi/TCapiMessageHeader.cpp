#include "capi/TCapiMessageHeader.h"

#include <array>

void TCapiMessageHeader::SetWordCommand(quint16 wordCommand)
{
    command = static_cast<quint8>(wordCommand >> 8);
    subcommand = static_cast<quint8>(wordCommand & 0xFF);
}

TCapiMessageHeader TCapiMessageHeader::fromBytes(std::span<const quint8> bytes)
{
    std::array<quint8, 8> b{};
    for (size_t i = 0; i < b.size() && i < bytes.size(); ++i)
        b[i] = bytes[i];
    TCapiMessageHeader h;
    h.length = static_cast<quint16>(b[0] | b[1] << 8);
    h.applId = static_cast<quint16>(b[2] | b[3] << 8);
    h.command = b[4];
    h.subcommand = b[5];
    h.messageNumber = static_cast<quint16>(b[6] | b[7] << 8);
    return h;
}

void TCapiMessageHeader::writeTo(std::span<quint8, 8> target) const
{
    target[0] = static_cast<quint8>(length & 0xFF);
    target[1] = static_cast<quint8>(length >> 8);
    target[2] = static_cast<quint8>(applId & 0xFF);
    target[3] = static_cast<quint8>(applId >> 8);
    target[4] = command;
    target[5] = subcommand;
    target[6] = static_cast<quint8>(messageNumber & 0xFF);
    target[7] = static_cast<quint8>(messageNumber >> 8);
}
