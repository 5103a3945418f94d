#include "link/Cells.h"

#include <algorithm>

namespace Cells {

int cellCount(int payloadLength)
{
    return payloadLength <= 0 ? 0 : (payloadLength + BytesPerCell - 1) / BytesPerCell;
}

quint8 headerAt(int position, int payloadLength)
{
    if (position < payloadLength - BytesPerCell)
        return MoreHeader;
    return static_cast<quint8>(LastHeaderBase + (payloadLength - position));
}

QByteArray encodeCells(QByteArrayView payload, QByteArrayView following)
{
    const int n = static_cast<int>(payload.size());
    const int cells = cellCount(n);
    QByteArray out;
    out.reserve(cells * CellSize);
    for (int i = 0; i < cells * BytesPerCell; ++i) {
        if (i % BytesPerCell == 0)
            out.append(static_cast<char>(headerAt(i, n)));
        const int after = i - n;
        if (i < n)
            out.append(payload[i]);
        else if (after < following.size())
            out.append(following[after]);
        else
            out.append('\0');
    }
    return out;
}

std::optional<QByteArray> decodeCells(QByteArrayView lineBytes)
{
    QByteArray payload;
    for (qsizetype c = 0; c + CellSize <= lineBytes.size(); c += CellSize) {
        const auto header = static_cast<quint8>(lineBytes[c]);
        if (header == MoreHeader) {
            payload.append(lineBytes.sliced(c + 1, BytesPerCell));
            continue;
        }
        const int n = header - LastHeaderBase;
        if (n < 1 || n > BytesPerCell)
            return std::nullopt;
        payload.append(lineBytes.sliced(c + 1, n));
        return payload;
    }
    return std::nullopt;
}

ChunkClass classify(QByteArrayView chunk)
{
    auto byteAt = [&](int i) { return i < chunk.size() ? static_cast<quint8>(chunk[i]) : -1; };
    const int b0 = byteAt(0), b1 = byteAt(1), b2 = byteAt(2), b3 = byteAt(3);
    if (b0 == 0x81 && b1 == 0x12)
        return ChunkClass::SpeedDialAck;
    if (b0 != 3)
        return ChunkClass::Ignored;
    switch (b1) {
    case 23:
        return ChunkClass::Base;
    case 22:
        return ChunkClass::Extensions;
    case 21:
        return ChunkClass::Charges;
    case 0xCC:
        return b2 == 8 && b3 == 3 ? ChunkClass::SpeedDialEntry : ChunkClass::Ignored;
    case 0xDD:
        return ChunkClass::StateEvents;
    default:
        return ChunkClass::Ignored;
    }
}

const char* className(ChunkClass c)
{
    switch (c) {
    case ChunkClass::Base:
        return "base";
    case ChunkClass::Extensions:
        return "extensions";
    case ChunkClass::Charges:
        return "charges";
    case ChunkClass::SpeedDialEntry:
        return "speed-dial entry";
    case ChunkClass::StateEvents:
        return "state events";
    case ChunkClass::SpeedDialAck:
        return "speed-dial acknowledgement";
    case ChunkClass::Ignored:
        break;
    }
    return "ignored";
}

QByteArray compacted(QByteArrayView lineBytes, int length)
{
    QByteArray out(length, '\0');
    const int n = std::min(length, static_cast<int>(lineBytes.size()));
    int next = 0;
    for (int i = 0; i < n; ++i) {
        if (i % CellSize != 0)
            out[next++] = lineBytes[i];
    }
    return out;
}

void compactRegion(ConfigImage& image, ConfigImage::Region region)
{
    const QByteArray payload = compacted(image.region(region), ConfigImage::length(region));
    image.copyIntoRegion(region, payload);
}

QByteArray regionLineBytes(QByteArrayView payload, int lineLength)
{
    const int cells = lineLength / CellSize;
    QByteArray full(cells * BytesPerCell, '\0');
    std::copy_n(payload.data(), std::min(payload.size(), full.size()), full.data());
    return encodeCells(full);
}

} // namespace Cells
