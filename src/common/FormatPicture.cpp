#include "common/FormatPicture.h"

#include <QLocale>

#include <algorithm>
#include <charconv>

namespace FormatPicture {

QString timestamp(const QDateTime& when)
{
    return when.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

QString hhmm(const QTime& time)
{
    return time.toString(QStringLiteral("HHmm"));
}

// By hand: the call logs hold a date on each of millions of lines, and the general parser of
// date pictures costs microseconds per call.
QDate parseDate(QStringView text)
{
    if (text.size() != 10 || text[2] != u'.' || text[5] != u'.')
        return {};
    int values[3] = {0, 0, 0};
    const int starts[3] = {0, 3, 6}, lengths[3] = {2, 2, 4};
    for (int part = 0; part < 3; ++part) {
        for (int i = starts[part]; i < starts[part] + lengths[part]; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return {};
            values[part] = values[part] * 10 + (c - u'0');
        }
    }
    return QDate(values[2], values[1], values[0]);
}

QString date(const QDate& day)
{
    return day.toString(QStringLiteral("dd.MM.yyyy"));
}

QString fixed(double value, int width, int decimals, QChar decimalPoint)
{
    // to_chars rounds like printf but ignores the C locale, which the application sets from the
    // environment; the separator is put in explicitly.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, std::clamp(decimals, 0, 20));
    if (result.ec != std::errc())
        return QString(std::max(width, 1), QLatin1Char('*'));
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    text.replace(QLatin1Char('.'), decimalPoint);
    return text.rightJustified(width, QLatin1Char(' '));
}

QChar systemDecimalPoint()
{
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.front();
}

} // namespace FormatPicture
