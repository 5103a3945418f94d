#pragma once

#include "FuzzSupport.h"
#include "charges/CallLogReader.h"
#include "charges/LogRetention.h"
#include "common/TextFile.h"

#include <QStringList>

#include <functional>

// What both call-log targets check: the list loads; a rewrite keeps the header and every record
// it is not meant to drop, line for line; a rename changes the name of exactly the records of its
// key and nothing else.
namespace CallLogCheck {

constexpr int MaxLine = 128;
constexpr int HeaderLines = 3;

using Rewrite = std::function<LogRetention::Outcome(const QString& path, const QString& key, const QString& name)>;

// The header lines, then the records that are not empty. Empty lines at the end say nothing: a
// log whose records are all dropped ends after its second header line.
inline QStringList records(const QStringList& lines)
{
    QStringList kept;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i < HeaderLines || !lines[i].isEmpty())
            kept << lines[i];
    }
    while (!kept.isEmpty() && kept.last().isEmpty())
        kept.removeLast();
    return kept;
}

inline QStringList linesOf(const QString& path)
{
    const std::optional<QStringList> lines = TextFile::readLines(path, MaxLine);
    FuzzSupport::check(lines.has_value());
    return records(*lines);
}

inline void run(const QString& path, const CallLogReader::Layout& layout, const Rewrite& rewrite,
                const std::function<bool(const QString&)>& dropped,
                const std::function<QString(const QString&, const QString&)>& renamed)
{
    const CallLogReader::Result loaded = CallLogReader::load(path, layout, QDate());
    FuzzSupport::check(loaded.error == 0);
    for (const QStringList& row : loaded.rows)
        FuzzSupport::check(row.size() == layout.size());

    const QStringList before = linesOf(path);
    QStringList expected;
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (i < HeaderLines || !dropped(before[i]))
            expected << before[i];
    }
    expected = records(expected);
    FuzzSupport::check(rewrite(path, QString(), QString()).rewritten);
    const QStringList after = linesOf(path);
    FuzzSupport::check(after == expected);

    if (after.size() <= HeaderLines)
        return;
    const QString key = after[HeaderLines].left(19);
    const QString name = QStringLiteral("Müller-Lüdenscheidt");
    FuzzSupport::check(rewrite(path, key, name).rewritten);
    const QStringList renamedLines = linesOf(path);
    FuzzSupport::check(renamedLines.size() == after.size());
    for (qsizetype i = 0; i < after.size(); ++i) {
        const bool hit = i >= HeaderLines && !key.isEmpty() && after[i].left(19) == key;
        FuzzSupport::check(renamedLines[i] == (hit ? renamed(after[i], name) : after[i]));
    }
}

} // namespace CallLogCheck
