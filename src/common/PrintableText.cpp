#include "common/PrintableText.h"

namespace {

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
}

QString escapedExcept(const QString& text, QStringView kept)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (isControl(c) && !kept.contains(c))
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

} // namespace

namespace PrintableText {

QString escaped(const QString& text)
{
    return escapedExcept(text, {});
}

QString escapedLines(const QString& text)
{
    return escapedExcept(text, u"\t\n");
}

} // namespace PrintableText
