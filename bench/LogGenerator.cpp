#include "LogGenerator.h"

#include "charges/CounterLine.h"
#include "charges/HistoryFile.h"
#include "charges/IncomingRecord.h"
#include "charges/OutgoingRecord.h"
#include "common/Cp1252.h"
#include "common/TextFile.h"

#include <QFile>

#include <functional>
#include <random>

namespace {

struct Callee
{
    const char* number; // as the log shows it, formatted by area code
    const char* name;   // speed dial, address book or place
};

const Callee Callees[] = {
    {"030 %1", "Berlin"},
    {"089 %1", "München"},
    {"0221 %1", "Köln"},
    {"040 %1", "Hamburg"},
    {"0711 %1", "Stuttgart"},
    {"0511 %1", "Hannover"},
    {"069 %1", "Frankfurt am Main"},
    {"0170 %1", "Handy Anna"},
    {"0301234567", "Büro Berlin"},
    {"0897654321", "Lieferant München"},
    {"03843 %1", "Güstrow"},
    {"0180 %1", "Service"},
};

// One call in a hundred goes to another extension; the clean-up drops those.
const Callee Internal = {"22", ""};

QString filled(const char* pattern, const QString& digits)
{
    const QString text = QString::fromUtf8(pattern);
    return text.contains(QLatin1String("%1")) ? text.arg(digits) : text;
}

const char* const Callers[] = {"(030) %1", "(089) %1", "(0221) %1", "(040) %1", "0033142278000", "", "(0170) %1"};
const char* const CallerNames[] = {"Berlin", "München", "Köln", "Hamburg", "", "", "Oma Hamburg"};
const char* const Msns[] = {"4711", "8143210", "4712"};

class Dice
{
public:
    int below(int n) { return static_cast<int>(m_engine() % static_cast<unsigned>(n)); }
    QString digits(int count)
    {
        QString s;
        for (int i = 0; i < count; ++i)
            s += QChar(u'0' + (i == 0 ? 1 + below(9) : below(10)));
        return s;
    }

private:
    std::mt19937 m_engine{20261210};
};

// Writes in large blocks; false at the first failure.
class Output
{
public:
    explicit Output(const QString& path) : m_file(path)
    {
        m_ok = m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    }
    void add(const QString& text)
    {
        m_buffer += Cp1252::fromUnicode(text);
        if (m_buffer.size() >= (1 << 20))
            flush();
    }
    bool close()
    {
        flush();
        m_file.close();
        return m_ok;
    }

private:
    void flush()
    {
        m_ok = m_ok && m_file.write(m_buffer) == m_buffer.size();
        m_buffer.clear();
    }
    QFile m_file;
    QByteArray m_buffer;
    bool m_ok = false;
};

QDateTime timeOf(int i, int count, const QDateTime& end, int spanDays)
{
    const qint64 span = qint64{spanDays} * 86400;
    return end.addSecs(-span + span * i / std::max(1, count));
}

// The header, then each record after a line break; the last record is complete and has none.
bool writeOutgoing(const QString& path, int count, const QDateTime& end, int spanDays, Dice& dice)
{
    Output out(path);
    const QStringList header = OutgoingRecord::headerLines();
    out.add(header.join(QLatin1String(TextFile::kLineEnd)));
    for (int i = 0; i < count; ++i) {
        const Callee& callee = dice.below(100) == 0 ? Internal : Callees[dice.below(std::size(Callees))];
        const QString number = filled(callee.number, dice.digits(4 + dice.below(4)));
        const int units = 1 + dice.below(12);
        const qint64 seconds = 20 + dice.below(1800);
        out.add(QLatin1String(TextFile::kLineEnd) +
                OutgoingRecord::beginColumns(timeOf(i, count, end, spanDays), 21 + dice.below(8), number,
                                             QString::fromUtf8(callee.name)) +
                OutgoingRecord::completionColumns(units, units * 0.12, seconds));
    }
    return out.close();
}

bool writeIncoming(const QString& path, int count, const QDateTime& end, int spanDays, Dice& dice)
{
    Output out(path);
    out.add(IncomingRecord::headerLines().join(QLatin1String(TextFile::kLineEnd)) + QLatin1String(TextFile::kLineEnd));
    for (int i = 0; i < count; ++i) {
        const int k = dice.below(std::size(Callers));
        const QString caller = filled(Callers[k], dice.digits(5 + dice.below(4)));
        out.add(IncomingRecord::line(timeOf(i, count, end, spanDays), QLatin1String(Msns[dice.below(std::size(Msns))]),
                                     caller, QString::fromUtf8(CallerNames[k])) +
                QLatin1String(TextFile::kLineEnd));
    }
    return out.close();
}

// A reading every half hour, going back as far as the lines reach.
bool writeHistory(const QString& path, int count, const QDateTime& end, Dice& dice)
{
    Output out(path);
    out.add(HistoryFile::headerText());
    Units units{};
    for (int i = 0; i < count; ++i) {
        int total = 0;
        for (int& u : units) {
            u += dice.below(3);
            total += u;
        }
        out.add(HistoryFile::dataLine(end.addSecs(-1800LL * (count - i)), units, total) +
                QLatin1String(TextFile::kLineEnd));
    }
    return out.close();
}

} // namespace

namespace LogGenerator {

bool generate(const QString& dir, const Sizes& sizes, const QDateTime& end)
{
    Dice dice;
    return writeOutgoing(dir + QStringLiteral("/WinKavex.out"), sizes.outgoing, end, sizes.spanDays, dice) &&
           writeIncoming(dir + QStringLiteral("/WinKavex.in"), sizes.incoming, end, sizes.spanDays, dice) &&
           writeHistory(dir + QStringLiteral("/WinKavex.dat"), sizes.historyLines, end, dice);
}

} // namespace LogGenerator
