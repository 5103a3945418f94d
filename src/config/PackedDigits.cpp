#include "config/PackedDigits.h"

namespace PackedDigits {

std::uint8_t valueOf(QChar c)
{
    if (c == QLatin1Char(' '))
        return 0;
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'?')
        return static_cast<std::uint8_t>(u - u'0');
    return Filler;
}

QString unpackLowFirst(const std::uint8_t* bytes, int byteCount)
{
    QString text;
    for (int i = 0; i < byteCount; ++i) {
        for (const int nibble : {bytes[i] & 0x0F, bytes[i] >> 4}) {
            if (nibble != Filler)
                text += QChar(u'0' + nibble);
        }
    }
    return text;
}

void packLowFirst(const QString& text, std::uint8_t* bytes, int byteCount)
{
    auto value = [&text](int k) { return k < text.size() ? valueOf(text.at(k)) : Filler; };
    for (int j = 0; j < byteCount; ++j)
        bytes[j] = static_cast<std::uint8_t>(value(2 * j) | value(2 * j + 1) << 4);
}

QString unpackHighFirst(QByteArrayView bytes, int digitCount)
{
    QString text;
    for (int i = 0; i < bytes.size() && text.size() < digitCount; ++i) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        text += QChar(u'0' + (b >> 4));
        if (text.size() < digitCount)
            text += QChar(u'0' + (b & 0x0F));
    }
    return text;
}

QByteArray packHighFirst(const QString& digits)
{
    QByteArray bytes;
    for (int k = 0; k < digits.size(); k += 2) {
        const std::uint8_t high = valueOf(digits.at(k));
        const std::uint8_t low = k + 1 < digits.size() ? valueOf(digits.at(k + 1)) : Filler;
        bytes += static_cast<char>(high << 4 | low);
    }
    return bytes;
}

} // namespace PackedDigits
