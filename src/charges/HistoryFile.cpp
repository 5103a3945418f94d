#include "charges/HistoryFile.h"

#include "common/Columns.h"
#include "common/FormatPicture.h"
#include "common/TextFile.h"

#include <QFileInfo>

#include <cerrno>

namespace {

constexpr int MaxLineLength = 100;
constexpr int MaxCounter = 32500;
const QString Rule(92, QLatin1Char('='));

} // namespace

HistoryFile::HistoryFile(QString path) : m_path(std::move(path)) {}

QString HistoryFile::backupPath() const
{
    const QFileInfo info(m_path);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".bak");
}

QString HistoryFile::headerText()
{
    const QString columns =
        QStringLiteral("|       Datum      |   21  |   22  |   23  |   24  |   25  |   26  |   27  |   28  | Summe |");
    return Rule + QLatin1String(TextFile::kLineEnd) + columns + QLatin1String(TextFile::kLineEnd) + Rule +
           QLatin1String(TextFile::kLineEnd);
}

QString HistoryFile::dataLine(const QDateTime& when, const Units& units, int total)
{
    QString line = QStringLiteral("| ") + FormatPicture::date(when.date()) + QLatin1Char(' ') +
                   when.time().toString(QStringLiteral("HH:mm")) + QStringLiteral(" |");
    for (int value : units)
        line += Columns::rightAligned(QString::number(value), 6) + QStringLiteral(" |");
    return line + Columns::rightAligned(QString::number(total), 6) + QStringLiteral(" |");
}

HistoryFile::Last HistoryFile::parseLast(const QString& line)
{
    Last last;
    for (int i = 0; i < Extensions::Max; ++i) {
        const int value = CounterLine::column(line, i);
        last.previous[static_cast<std::size_t>(i)] = value > MaxCounter ? 0 : value;
    }
    // The sum: from column 90 leftwards to column 85, the leftmost digit found starts the number.
    qsizetype start = -1;
    for (qsizetype at = 89; at >= 84; --at) {
        if (at < line.size() && line.at(at).isDigit())
            start = at;
    }
    last.total = start < 0 ? 0 : QStringView(line).mid(start, 90 - start).toInt();
    return last;
}

HistoryFile::Outcome HistoryFile::update(const Units& units, int total, const QDateTime& now, Last& last)
{
    Outcome outcome;
    // Only the last line counts: a history of years is not read whole at every reading.
    std::optional<QString> lastLine;
    const int error = TextFile::lastLine(m_path, MaxLineLength, lastLine);
    if (error == ENOENT) {
        outcome.created = true;
        outcome.error = error;
        if (!TextFile::appendText(m_path, headerText()))
            return outcome;
        last.total = 0;
    } else if (error != 0) {
        outcome.error = error;
        return outcome;
    } else {
        const Last read = lastLine ? parseLast(*lastLine) : Last{};
        last = read;
    }
    outcome.read = true;
    if (last.total == total)
        return outcome;
    if (!outcome.created && !m_backupMade)
        m_backupMade = TextFile::copy(m_path, backupPath());
    // A last line without its line break (edited by hand) must not swallow the new one.
    const QString lineBreak = TextFile::endsWithLineBreak(m_path) ? QString() : QLatin1String(TextFile::kLineEnd);
    outcome.appended = TextFile::appendLine(m_path, lineBreak + dataLine(now, units, total));
    return outcome;
}
