#pragma once

#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// The date, time and number pictures that logs, history and pages share.
namespace FormatPicture {
// The user's locale's decimal separator.
QChar systemDecimalPoint();
// "dd.mm.yyyy hh:nn:ss", 24-hour clock.
QString timestamp(const QDateTime& when);
// "HHmm", the settings file's time picture (e.g. "0730").
QString hhmm(const QTime& time);
// "dd.MM.yyyy".
QString date(const QDate& day);
// A date written as date() writes it, read back: exactly two digits, a point, two digits, a
// point and four digits; an invalid date for anything else or for a day the calendar lacks.
QDate parseDate(QStringView text);
// printf "%<width>.<decimals>f" with `decimalPoint` in place of the point; fixed(v, 4) is "%4.2f".
QString fixed(double value, int width, int decimals = 2, QChar decimalPoint = systemDecimalPoint());
} // namespace FormatPicture
