#include "charges/CompletedCall.h"

#include "common/FormatPicture.h"
#include "image/Extensions.h"

#include <QStringList>

#include <cmath>

namespace {

// 0-based starts of the columns.
constexpr int ExtensionAt = 27, NumberAt = 36, NameAt = 58, UnitsAt = 85, CostAt = 91, DurationAt = 101;
constexpr int NumberWidth = 22, NameWidth = 27, RenamedNameWidth = 30;

int nonNegative(QStringView text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value > 0 ? value : 0;
}

double money(QStringView field)
{
    bool ok = false;
    const double value = field.trimmed().toString().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok && std::isfinite(value) && value > 0 ? value : 0.0;
}

// "m:ss" or "h:mm:ss", as the log writes it; anything else is no duration.
qint64 duration(QStringView field)
{
    const QStringList parts = field.trimmed().toString().split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3)
        return 0;
    qint64 seconds = 0;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const int value = parts[i].toInt(&ok);
        if (!ok || value < 0 || (i > 0 && value > 59))
            return 0;
        seconds = seconds * 60 + value;
    }
    return seconds;
}

} // namespace

std::optional<CompletedCall> CompletedCall::parse(const QString& line)
{
    CompletedCall call;
    call.day = FormatPicture::parseDate(QStringView(line).left(10));
    bool ok = false;
    call.extension = QStringView(line).mid(ExtensionAt, 2).toInt(&ok);
    if (!call.day.isValid() || !ok || !Extensions::isNumber(call.extension))
        return std::nullopt;
    call.number = line.mid(NumberAt, NumberWidth).trimmed();
    // A name renamed to its full 30 characters reaches into the units' six columns, which then
    // hold only the name's end and the units' last three.
    const QStringView unitsField = QStringView(line).mid(UnitsAt, 6).trimmed();
    bool whole = unitsField.isEmpty();
    if (!whole)
        static_cast<void>(unitsField.toInt(&whole));
    call.name = line.mid(NameAt, whole ? NameWidth : RenamedNameWidth).trimmed();
    call.units = nonNegative(whole ? unitsField : QStringView(line).mid(NameAt + RenamedNameWidth, 3));
    call.cost = money(QStringView(line).mid(CostAt, 10));
    call.seconds = duration(QStringView(line).mid(DurationAt, 8));
    return call;
}
