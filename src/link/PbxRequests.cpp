#include "link/PbxRequests.h"

namespace PbxRequests {
namespace {

QByteArray block(quint8 a, quint8 b, quint8 c, quint8 d)
{
    const char bytes[] = {static_cast<char>(a), static_cast<char>(b), static_cast<char>(c), static_cast<char>(d)};
    return QByteArray(bytes, 4);
}

} // namespace

QString speedDialEntryText(int n)
{
    return QStringLiteral("%1").arg(speedDialCode(n), 3, 10, QLatin1Char('0'));
}

QList<QByteArray> readBase()
{
    return {block(0x83, 0x0A, 0x00, 0x00)};
}

QList<QByteArray> readExtensions()
{
    return {block(0x83, 0x08, 0x00, 0x00)};
}

QList<QByteArray> readCharges()
{
    return {block(0x83, 0x06, 0x00, 0x00)};
}

QList<QByteArray> beginSpeedDialRead()
{
    return {block(0x83, 0x02, 0x02, 0x00)};
}

QList<QByteArray> readSpeedDial(int n)
{
    return {block(0x03, 0xCC, 0x06, 0x03), block(0x82, static_cast<quint8>(n), 0xFF, 0x00)};
}

QList<QByteArray> switchEventsOn()
{
    return {block(0x03, 0xDD, 0x00, 0x4E), block(0x83, 0x2B, 0xC7, 0x19)};
}

QList<QByteArray> switchEventsOff()
{
    return {block(0x03, 0xDD, 0x01, 0x00), block(0x83, 0x00, 0x00, 0x00)};
}

QList<QByteArray> ringExtension(int index, bool on)
{
    return {block(0x03, 0xDD, 0x03, static_cast<quint8>(index)), block(0x83, 0x00, on ? 1 : 0, 0x00)};
}

QByteArray switchEventsOnPayload()
{
    return QByteArray::fromHex("DD004E2BC719");
}

} // namespace PbxRequests
