#include "contacts/PhoneNumber.h"

namespace {

const QString GermanPrefix = QStringLiteral("0049");

// "tel:+49-30-1234567;ext=12": the number between the scheme and the parameters.
QString withoutUri(QString text)
{
    if (text.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        text = text.mid(4);
    const qsizetype parameters = text.indexOf(QLatin1Char(';'));
    return parameters < 0 ? text : text.left(parameters);
}

} // namespace

namespace PhoneNumber {

QString normalised(const QString& text)
{
    QString bare = withoutUri(text.trimmed());
    const bool plus = bare.startsWith(QLatin1Char('+'));
    // "+49 (0)30 …": the bracketed trunk prefix is not dialled from abroad.
    if (plus)
        bare.replace(QLatin1String("(0)"), QString());
    QString digits = plus ? QStringLiteral("00") : QString();
    for (const QChar c : bare) {
        if (c.isDigit() && c.unicode() < 128)
            digits += c;
    }
    if (digits.isEmpty() || digits == QLatin1String("00"))
        return {};
    if (digits.startsWith(GermanPrefix)) {
        QString national = digits.mid(GermanPrefix.size());
        // "+49 030 …": a trunk prefix written after the country code anyway.
        if (national.startsWith(QLatin1Char('0')))
            national = national.mid(1);
        return QLatin1Char('0') + national;
    }
    return digits;
}

} // namespace PhoneNumber
