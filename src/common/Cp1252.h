#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The Windows code page of every file the program shares with its users (logs, history, settings).
// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control
// characters of the same value, so that any byte sequence survives a round trip.
namespace Cp1252 {
QString toUnicode(QByteArrayView bytes);
// Characters outside the code page become '?'.
QByteArray fromUnicode(QStringView text);
} // namespace Cp1252
