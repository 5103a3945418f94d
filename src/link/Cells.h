#pragma once

#include "image/ConfigImage.h"

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

// The exchange's 4-byte cells, both directions. A cell is a header byte and three payload
// positions: header 3 = more cells follow, 0x80 + n = last cell carrying n (1..3) payload bytes.
// Pure functions on byte arrays, shared by the program and the simulated exchange.
namespace Cells {

constexpr int CellSize = 4;
constexpr int BytesPerCell = 3;
constexpr quint8 MoreHeader = 0x03;
constexpr quint8 LastHeaderBase = 0x80;

// Number of cells a payload of n bytes takes: ceil(n / 3).
int cellCount(int payloadLength);

// Header of the cell that begins at payload position `position` (a multiple of 3).
quint8 headerAt(int position, int payloadLength);

// The line bytes of a payload. The padding positions of the last cell carry the bytes that
// follow the payload in the sender's buffer (`following`), zero where it has none.
QByteArray encodeCells(QByteArrayView payload, QByteArrayView following = {});

// Reassembles one payload from line bytes that start at a cell boundary. Empty optional when the
// bytes hold no last cell; cells after the first last cell are not looked at.
std::optional<QByteArray> decodeCells(QByteArrayView lineBytes);

// What a received chunk is, by its first four bytes.
enum class ChunkClass
{
    Ignored,
    Base,
    Extensions,
    Charges,
    SpeedDialEntry,
    StateEvents,
    SpeedDialAck
};
ChunkClass classify(QByteArrayView chunk);
const char* className(ChunkClass c);

// Drops every byte whose position is a multiple of 4 (the cell headers, not checked) from the
// first `length` bytes, moves the rest down and fills the remainder with zeros.
QByteArray compacted(QByteArrayView lineBytes, int length);

// CompactRegion on the image: the region's line bytes become its payload in place.
void compactRegion(ConfigImage& image, ConfigImage::Region region);

// Line bytes of a region as the exchange sends them: the payload cut into cells, cut to exactly
// the region's line length (the last cell gets header 0x80 + n). Compacting them gives the
// payload back (zero-filled). The payload is cut to what fits.
QByteArray regionLineBytes(QByteArrayView payload, int lineLength);

} // namespace Cells
