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
