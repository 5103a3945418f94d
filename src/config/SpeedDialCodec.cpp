#include "config/SpeedDialCodec.h"

#include "common/MessageTable.h"
#include "config/PackedDigits.h"
#include "link/Cells.h"

#include <QStringList>

#include <algorithm>

namespace SpeedDialCodec {

std::uint32_t attributeValue(std::uint8_t baby, std::uint8_t permission, std::uint8_t rhythm, std::uint8_t block)
{
    return std::uint32_t{baby} << 24 | std::uint32_t{permission} << 16 | std::uint32_t{rhythm} << 8 | block;
}

QString entryText(int entry)
{
    return PbxRequests::speedDialEntryText(entry);
}

int entryFromText(const QString& text)
{
    bool ok = false;
    const int n = text.right(2).toInt(&ok);
    return ok && text.size() >= 2 && n >= 1 && n <= EntryCount ? n : 0;
}

QByteArray readRequestHeadBlock()
{
    return QByteArray::fromHex("03CC0603");
}

QByteArray readRequestTailBlock(int n)
{
    QByteArray block = QByteArray::fromHex("8200FF00");
    block[1] = static_cast<char>(n);
    return block;
}

std::optional<SpeedDialEntry> decodeReply(const QByteArray& chunk)
{
    // Work copy of the first 41 line bytes without their cell headers, zero beyond the chunk.
    const QByteArray payload = Cells::compacted(chunk, ReplyLength);
    auto byte = [&payload](int k) { return static_cast<std::uint8_t>(payload.at(k)); };
    SpeedDialEntry e;
    e.entry = byte(3);
    if (e.entry < 1 || e.entry > EntryCount)
        return std::nullopt;
    const int digits = std::min<int>(byte(4), MaxDigits);
    const int digitBytes = (digits + 1) / 2;
    e.number = PackedDigits::unpackHighFirst(QByteArrayView(payload).sliced(5, digitBytes), digits);
    const int a = 5 + digitBytes;
    e.attributes = attributeValue(byte(a), byte(a + 1), byte(a + 2), byte(a + 3));
    return e;
}

QString attributesText(bool numberEmpty, std::uint32_t value)
{
    if (numberEmpty)
        return {};
    if (dialBlock(value) != 0)
        return MessageTable::text(52);
    QStringList parts;
    if (permissionMask(value) != 0)
        parts << MessageTable::text(53);
    if (babyMask(value) != 0)
        parts << MessageTable::text(54);
    return parts.join(QLatin1String(", "));
}

QByteArray savePayload(int n, const QString& digits, std::uint32_t value)
{
    const QString number = digits.left(MaxDigits);
    QByteArray payload = QByteArray::fromHex("CC0509");
    payload += static_cast<char>(n);
    payload += static_cast<char>(number.size());
    payload += PackedDigits::packHighFirst(number);
    payload += static_cast<char>(babyMask(value));
    payload += static_cast<char>(permissionMask(value));
    payload += static_cast<char>(rhythm(value));
    payload += static_cast<char>(dialBlock(value));
    payload += static_cast<char>(0xFF);
    return payload;
}

int saveProgressMaximum(const QByteArray& payload)
{
    const int digitBytes = static_cast<int>(payload.size()) - 10;
    return (digitBytes + 9) * 4 / 3;
}

} // namespace SpeedDialCodec
