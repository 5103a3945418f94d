#include "charges/IncomingRecord.h"

#include "common/Columns.h"
#include "common/FormatPicture.h"
#include "common/TextFile.h"
#include "config/SpeedDialStore.h"

namespace {

constexpr int CalledWidth = 17;
constexpr int CallerWidth = 37;
constexpr int MaxName = 60;
constexpr int SpeedDialEntries = 60;

// Type of number, bits 5-7 of the octet: 1 international.
constexpr int International = 1;

} // namespace

namespace IncomingRecord {

QStringList headerLines()
{
    return {QStringLiteral("   Datum     Zeit     gerufene Nummer  Anrufer                              Name"),
            QString(98, QLatin1Char('=')), QString()};
}

QString line(const QDateTime& time, const QString& called, const QString& caller, const QString& name)
{
    return FormatPicture::timestamp(time) + QStringLiteral("   ") + Columns::padded(called, CalledWidth) +
           Columns::padded(caller, CallerWidth) + Columns::cut(name, MaxName) + QLatin1String(TextFile::kLineEnd);
}

QString dialable(const QString& number)
{
    QString kept;
    for (const QChar c : number) {
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') || c == QLatin1Char('*') ||
            c == QLatin1Char('#'))
            kept += c;
    }
    return kept;
}

QString normalisedCaller(const QString& digits, quint8 typeOfNumberOctet)
{
    const QString caller = dialable(digits);
    // "+" already names the country: nothing goes in front of it.
    if (caller.isEmpty() || caller.startsWith(QLatin1Char('+')))
        return caller;
    if (((typeOfNumberOctet >> 4) & 0x07) == International)
        return caller.startsWith(QLatin1String("00")) ? caller : QStringLiteral("00") + caller;
    // National numbers and every other type: the trunk prefix "0" once.
    return caller.startsWith(QLatin1Char('0')) ? caller : QLatin1Char('0') + caller;
}

bool isWatched(const QString& called, bool watchAll, const QStringList& msnNumbers, const QList<bool>& watched)
{
    if (watchAll)
        return true;
    for (qsizetype m = 0; m < msnNumbers.size() && m < watched.size(); ++m) {
        if (watched[m] && msnNumbers[m].trimmed() == called)
            return true;
    }
    return false;
}

std::optional<SpeedDialMatch> speedDialFor(const QString& caller, const SpeedDialStore& speedDials)
{
    if (caller.isEmpty())
        return std::nullopt;
    const QStringList numbers = speedDials.storedNumbers();
    for (int entry = 1; entry <= SpeedDialEntries && entry <= numbers.size(); ++entry) {
        if (numbers[entry - 1].contains(caller))
            return SpeedDialMatch{entry, speedDials.name(entry).left(MaxName), speedDials.sound(entry)};
    }
    return std::nullopt;
}

} // namespace IncomingRecord
