#include "charges/OutgoingRecord.h"

#include "common/Columns.h"
#include "common/FormatPicture.h"
#include "config/SpeedDialStore.h"
#include "link/PbxRequests.h"

namespace {

constexpr int FirstCode = PbxRequests::FirstSpeedDialCode;
constexpr int LastCode = PbxRequests::LastSpeedDialCode;
constexpr int NumberWidth = 20;
constexpr int NameWidth = 20;
constexpr int MaxName = 60;

QString twoDigits(qint64 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// What the lookups see: the number without the line-access digit and its dash.
QString lookedUpNumber(const QString& number)
{
    QString cut = number.left(NumberWidth);
    if (cut.size() >= 2 && cut[1] == QLatin1Char('-'))
        cut = cut.mid(2);
    return cut;
}

} // namespace

namespace OutgoingRecord {

QStringList headerLines()
{
    return {QStringLiteral("   Datum     Zeit     Nebenstelle   Rufnummer             Name                       "
                           "Einheiten  Kosten  Dauer"),
            QString(110, QLatin1Char('=')), QString()};
}

QString beginColumns(const QDateTime& start, int extensionNumber, const QString& number, const QString& name)
{
    QString line = FormatPicture::timestamp(start) + QString(8, QLatin1Char(' ')) + QString::number(extensionNumber) +
                   QString(7, QLatin1Char(' '));
    if (name.isEmpty())
        return line + Columns::padded(number, NumberWidth + 2) + QString(27, QLatin1Char(' '));
    return line + Columns::padded(number, NumberWidth) + QStringLiteral("  ") +
           Columns::padded(Columns::cut(name, NameWidth), 27);
}

QString completionColumns(int units, double cost, qint64 seconds)
{
    return Columns::rightAligned(QString::number(units), 6) + FormatPicture::fixed(cost, 10) + logDuration(seconds);
}

QString logDuration(qint64 seconds)
{
    if (seconds < 3600)
        return Columns::rightAligned(QString::number(seconds / 60), 5) + QLatin1Char(':') + twoDigits(seconds % 60);
    return Columns::rightAligned(QString::number(seconds / 3600), 2) + QLatin1Char(':') + twoDigits(seconds / 60 % 60) +
           QLatin1Char(':') + twoDigits(seconds % 60);
}

QString listDuration(qint64 seconds)
{
    if (seconds < 3600)
        return QString::number(seconds / 60) + QLatin1Char(':') + twoDigits(seconds % 60);
    return QString::number(seconds / 3600) + QLatin1Char(':') + twoDigits(seconds / 60 % 60) + QLatin1Char(':') +
           twoDigits(seconds % 60);
}

QString listCost(double cost)
{
    return FormatPicture::fixed(cost, 0).trimmed();
}

Named name(const QString& display, bool spontaneousTrunkAccess, const SpeedDialStore& speedDials,
           const AreaLookup& areaLookup, const NameLookup& addressBook)
{
    Named result{display, {}};
    bool numeric = false;
    const int code = display.left(3).toInt(&numeric);
    if (display.size() >= 3 && display.startsWith(QLatin1Char('3')) && numeric && code >= FirstCode &&
        code <= LastCode) {
        const int entry = code - FirstCode + 1;
        QString stored = speedDials.storedNumber(entry);
        // A speed dial whose number the program does not know yet keeps the dialled code, so
        // that the log never loses what was dialled.
        if (!stored.isEmpty()) {
            if (!spontaneousTrunkAccess)
                stored = stored.left(1) + QLatin1Char('-') + stored.mid(1);
            result.number = stored + display.mid(3);
        }
        result.name = speedDials.name(entry);
    }
    if (result.name.isEmpty()) {
        QString bare = result.number.left(NumberWidth);
        bare.remove(QLatin1Char('-'));
        const QStringList numbers = speedDials.storedNumbers();
        for (int entry = 1; entry <= SpeedDialStore::Entries && entry <= numbers.size(); ++entry) {
            if (numbers[entry - 1] == bare && !bare.isEmpty())
                result.name = speedDials.name(entry);
        }
    }
    const QString number = lookedUpNumber(result.number);
    if (result.name.isEmpty() && addressBook)
        result.name = addressBook(number);
    if (areaLookup) {
        if (const auto looked = areaLookup(number)) {
            result.number = looked->first;
            if (result.name.isEmpty())
                result.name = looked->second;
        }
    }
    result.name = result.name.left(MaxName);
    return result;
}

} // namespace OutgoingRecord
