#include "charges/MonthlyReport.h"

#include "charges/CompletedCall.h"
#include "charges/CounterLine.h"
#include "charges/HistoryFile.h"
#include "charges/MonthUnits.h"
#include "charges/OutgoingRecord.h"
#include "charges/PeriodList.h"
#include "common/Columns.h"
#include "common/FormatPicture.h"
#include "common/PrintableText.h"
#include "common/TextFile.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr int HeaderLines = 3;
// A new log holds its title and rule; the empty third line is the break before the first record.
constexpr int NewLogLines = 2;
constexpr int MaxHistoryLine = 255;
constexpr int MaxLogLine = 128;
constexpr int MaxExtensionName = 30;
constexpr int SmallExchange = 3;

QString clean(const QString& text, int maxLength)
{
    return Columns::cut(PrintableText::escaped(text), maxLength);
}

QString readError(const QString& path, int error)
{
    if (error == ENOENT)
        return QStringLiteral("%1 nicht gefunden").arg(path);
    return QStringLiteral("%1 nicht lesbar: %2").arg(path, QString::fromLocal8Bit(std::strerror(error)));
}

QString corrupt(const QString& path, int line)
{
    return QStringLiteral("%1 ist beschädigt (Zeile %2)").arg(path).arg(line);
}

// The header lines a file must begin with, compared without their line ends.
bool headerMatches(const QStringList& expected, int lineNumber, const QString& line)
{
    return lineNumber > expected.size() || expected.at(lineNumber - 1) == line;
}

struct Reading
{
    QString error;
    bool showsLargeExchange = false; // something of extensions 24..28
};

Reading readHistory(const QString& path, MonthUnits& month)
{
    const QStringList header = HistoryFile::headerText().split(QLatin1String(TextFile::kLineEnd));
    Reading reading;
    int number = 0, bad = 0;
    const int error = TextFile::forEachLine(path, MaxHistoryLine, [&](const QString& line) {
        ++number;
        if (bad != 0)
            return;
        if (number <= HeaderLines) {
            if (!headerMatches(header, number, line))
                bad = number;
            return;
        }
        if (line.isEmpty())
            return;
        const QDate day = FormatPicture::parseDate(QStringView(line).mid(2, 10));
        if (!line.startsWith(QLatin1String("| ")) || !day.isValid()) {
            bad = number;
            return;
        }
        const Units counters = CounterLine::columns(line);
        reading.showsLargeExchange =
            reading.showsLargeExchange ||
            std::any_of(counters.begin() + SmallExchange, counters.end(), [](int value) { return value != 0; });
        month.add(day, counters);
    });
    if (error != 0)
        reading.error = readError(path, error);
    else if (bad != 0 || number < HeaderLines)
        reading.error = corrupt(path, bad != 0 ? bad : number + 1);
    return reading;
}

Reading readCalls(const QString& path, std::vector<CompletedCall>& calls, const QDate& first)
{
    const QStringList header = OutgoingRecord::headerLines();
    const QDate next = first.addMonths(1);
    Reading reading;
    int number = 0, bad = 0;
    const int error = TextFile::forEachLine(path, MaxLogLine, [&](const QString& line) {
        ++number;
        if (bad != 0)
            return;
        if (number <= HeaderLines) {
            if (!headerMatches(header, number, line))
                bad = number;
            return;
        }
        if (line.isEmpty())
            return;
        std::optional<CompletedCall> call = CompletedCall::parse(line);
        if (!call) {
            bad = number;
            return;
        }
        reading.showsLargeExchange = reading.showsLargeExchange || Extensions::index(call->extension) >= SmallExchange;
        if (call->day >= first && call->day < next)
            calls.push_back(std::move(*call));
    });
    if (error != 0)
        reading.error = readError(path, error);
    else if (bad != 0 || number < NewLogLines)
        reading.error = corrupt(path, bad != 0 ? bad : number + 1);
    return reading;
}

std::vector<MonthlyReport::DialledNumber> mostExpensive(const std::vector<CompletedCall>& calls, int count)
{
    QHash<QString, MonthlyReport::DialledNumber> byNumber;
    for (const CompletedCall& call : calls) {
        if (Extensions::index(call.extension) >= count)
            continue;
        MonthlyReport::DialledNumber& n = byNumber[call.number];
        n.number = PrintableText::escaped(call.number);
        if (!call.name.isEmpty())
            n.name = PrintableText::escaped(call.name);
        ++n.calls;
        n.units += call.units;
        n.cost += call.cost;
        n.seconds += call.seconds;
    }
    std::vector<MonthlyReport::DialledNumber> sorted(byNumber.begin(), byNumber.end());
    // Costs compare in cents: sums of the same amounts in another order must rank alike.
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        if (qRound64(a.cost * 100) != qRound64(b.cost * 100))
            return a.cost > b.cost;
        if (a.units != b.units)
            return a.units > b.units;
        if (a.calls != b.calls)
            return a.calls > b.calls;
        return a.number < b.number;
    });
    if (sorted.size() > MonthlyReport::TopCount)
        sorted.resize(MonthlyReport::TopCount);
    return sorted;
}

} // namespace

MonthlyReport::Extension MonthlyReport::total() const
{
    Extension sum;
    for (const Extension& e : extensions) {
        sum.units += e.units;
        sum.cost += e.cost;
        sum.calls += e.calls;
        sum.callUnits += e.callUnits;
        sum.callCost += e.callCost;
        sum.seconds += e.seconds;
    }
    return sum;
}

MonthlyReportResult MonthlyReport::read(const Inputs& inputs)
{
    MonthlyReport report;
    report.month = QDate(inputs.month.year(), inputs.month.month(), 1);
    report.pricePerUnit = inputs.pricePerUnit;
    MonthUnits month(report.month);
    const Reading history = readHistory(inputs.historyPath, month);
    if (!history.error.isEmpty())
        return {std::nullopt, history.error};
    std::vector<CompletedCall> calls;
    const Reading log = readCalls(inputs.outgoingPath, calls, report.month);
    if (!log.error.isEmpty())
        return {std::nullopt, log.error};

    int count = inputs.extensionCount;
    if (count <= 0)
        count = history.showsLargeExchange || log.showsLargeExchange ? Extensions::Max : SmallExchange;
    count = std::min(count, Extensions::Max);
    for (int i = 0; i < count; ++i) {
        Extension e;
        e.number = Extensions::number(i);
        e.name = clean(inputs.names.value(i), MaxExtensionName);
        e.units = month.units()[static_cast<std::size_t>(i)];
        e.cost = e.units * inputs.pricePerUnit;
        report.extensions.push_back(e);
    }
    for (const CompletedCall& call : calls) {
        const int i = Extensions::index(call.extension);
        if (i >= count)
            continue;
        Extension& e = report.extensions[static_cast<std::size_t>(i)];
        ++e.calls;
        e.callUnits += call.units;
        e.callCost += call.cost;
        e.seconds += call.seconds;
    }
    report.topNumbers = mostExpensive(calls, count);
    return {std::move(report), {}};
}

QDate MonthlyReport::parseMonth(const QString& text)
{
    static const QRegularExpression picture(QStringLiteral("^(\\d{4})-(\\d{2})$"));
    const QRegularExpressionMatch match = picture.match(text);
    if (!match.hasMatch())
        return {};
    return QDate(match.captured(1).toInt(), match.captured(2).toInt(), 1);
}

QString MonthlyReport::monthText(const QDate& month)
{
    return PeriodList::monthName(month.month()) + QLatin1Char(' ') + QString::number(month.year());
}
