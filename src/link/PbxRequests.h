#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The short requests, as the ready-made 4-byte blocks that go on the line (one block per cell;
// the blocks of a two-cell request are sent 40 ms apart).
namespace PbxRequests {

constexpr int BlockGapMs = 40;
constexpr int SpeedDialCount = 60;
// Speed-dial entry n (1..60) is dialled as 300 + n: "301" .. "360".
constexpr int speedDialCode(int n)
{
    return 300 + n;
}
constexpr int FirstSpeedDialCode = speedDialCode(1);
constexpr int LastSpeedDialCode = speedDialCode(SpeedDialCount);

// The text "301" .. "360" of speed-dial entry 1..60, as dialled.
QString speedDialEntryText(int n);

QList<QByteArray> readBase();           // 83 0A 00 00, reply kind 23
QList<QByteArray> readExtensions();     // 83 08 00 00, reply kind 22
QList<QByteArray> readCharges();        // 83 06 00 00, reply kind 21
QList<QByteArray> beginSpeedDialRead(); // 83 02 02 00, acknowledged with 81 12
QList<QByteArray> readSpeedDial(int n); // 03 CC 06 03, 82 n FF 00 (n = 1..60)
// DD 00 4E + the fixed code 2B C7 19 that the exchange expects with it.
QList<QByteArray> switchEventsOn();
QList<QByteArray> switchEventsOff();                 // 03 DD 01 00, 83 00 00 00
QList<QByteArray> ringExtension(int index, bool on); // 03 DD 03 e, 83 00 s 00

// Payload of the switch-on request; only this exact payload switches state events on.
QByteArray switchEventsOnPayload();

// Kind bytes of the written payloads.
constexpr quint8 WriteBaseKind = 9;
constexpr quint8 WriteExtensionKind = 7;
constexpr quint8 WriteEndKind = 12;
constexpr quint8 WriteUnitsKind = 5;

} // namespace PbxRequests
