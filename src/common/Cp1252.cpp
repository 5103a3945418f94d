#include "common/Cp1252.h"

#include <array>

namespace {

// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char encode(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

namespace Cp1252 {

// The logs are converted line by line, millions of lines at a start: Latin-1 as a whole (which
// Qt does fast), then the few characters where the code page differs.
QString toUnicode(QByteArrayView bytes)
{
    QString text = QString::fromLatin1(bytes);
    // Only 0x80..0x9F differ; a count without branches (vectorised) tells whether there are any.
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    int differing = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        differing += (in[i] & 0xE0) == 0x80;
    if (differing == 0)
        return text;
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto u = static_cast<unsigned char>(bytes[i]);
        if (u >= 0x80 && u < 0xA0)
            out[i] = kHigh[u - 0x80];
    }
    return text;
}

QByteArray fromUnicode(QStringView text)
{
    // Where the code page equals Latin-1 (everything but 0x80..0x9F and beyond 0xFF), Qt converts fast.
    const char16_t* in = text.utf16();
    int differing = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        differing += (in[i] > 0xFF) | ((in[i] & 0xFFE0) == 0x80);
    if (differing == 0)
        return text.toLatin1();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A character beyond the basic plane is one character, so it becomes one '?'.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        *out++ = encode(c.unicode());
    }
    bytes.truncate(out - bytes.data());
    return bytes;
}

} // namespace Cp1252
