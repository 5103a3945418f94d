#pragma once

#include "link/Cells.h"

#include <QByteArray>

namespace ExchangeReply {

// The exchange's reply for a region: the payload, kind first, cut into the region's line length.
inline QByteArray region(int kind, int lineLength, QByteArray payload = {})
{
    payload.resize(lineLength / 4 * 3);
    payload[0] = static_cast<char>(kind);
    return Cells::regionLineBytes(payload, lineLength);
}

// A base configuration reply with the given firmware and extension count.
inline QByteArray base(int major, int minor, int count = 8, char fill = '\0')
{
    QByteArray payload(225, fill);
    payload[2] = static_cast<char>(count);
    payload[4] = static_cast<char>(major);
    payload[5] = static_cast<char>(minor);
    return region(23, 300, payload);
}

// Speed-dial entry n as the exchange sends it: the two digits of n, then the four attribute bytes
// (by default the speed-dial permission of extension 21).
inline QByteArray speedDialEntry(int n, const QByteArray& attributes = QByteArray::fromHex("83000100"))
{
    QByteArray line = QByteArray::fromHex("03CC0803");
    line += static_cast<char>(0x03);
    line += static_cast<char>(n);
    line += static_cast<char>(2);
    line += static_cast<char>((n / 10) << 4 | (n % 10));
    return line + attributes;
}

} // namespace ExchangeReply
