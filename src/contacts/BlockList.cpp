#include "contacts/BlockList.h"

#include "common/TextFile.h"
#include "contacts/PhoneNumber.h"

#include <cerrno>

namespace {

bool belongsToNumber(QChar c)
{
    return (c.isDigit() && c.unicode() < 128) || QStringLiteral(" +-/().*").contains(c);
}

// Control characters would break the line or the log; the rest is kept as written.
QString cleaned(const QString& text, int maxLength)
{
    QString clean;
    for (const QChar c : text)
        clean += c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
                         c.category() == QChar::Separator_Paragraph
                     ? QLatin1Char(' ')
                     : c;
    return clean.simplified().left(maxLength).trimmed();
}

// An entry as the user gave it, bounded and cleaned as a line of the file would be.
std::optional<BlockList::Entry> cleanEntry(const BlockList::Entry& entry)
{
    return BlockList::parseLine(cleaned(entry.number, BlockList::MaxNumberLength) + QLatin1Char('\t') +
                                cleaned(entry.note, BlockList::MaxNoteLength));
}

} // namespace

QString BlockList::key(const QString& number)
{
    const QString trimmed = number.trimmed();
    const bool prefix = trimmed.endsWith(QLatin1Char('*'));
    const QString digits = PhoneNumber::normalised(prefix ? trimmed.chopped(1) : trimmed);
    if (digits.isEmpty())
        return {};
    return prefix ? digits + QLatin1Char('*') : digits;
}

std::optional<BlockList::Entry> BlockList::parseLine(const QString& line)
{
    const QString text = line.trimmed();
    if (text.isEmpty() || text.startsWith(QLatin1Char('#')))
        return std::nullopt;
    qsizetype end = text.indexOf(QLatin1Char('\t'));
    if (end < 0) {
        end = 0;
        while (end < text.size() && belongsToNumber(text.at(end)))
            ++end;
    }
    Entry entry{cleaned(text.left(end), MaxNumberLength), cleaned(text.mid(end), MaxNoteLength)};
    // A "*" only ends a prefix; one inside the number makes it no number.
    if (key(entry.number).isEmpty() || entry.number.chopped(1).contains(QLatin1Char('*')))
        return std::nullopt;
    return entry;
}

int BlockList::load(const QString& path)
{
    m_lines.clear();
    m_skipped = 0;
    QByteArray bytes;
    const int error = TextFile::readAll(path, MaxFileBytes, bytes);
    if (error != 0)
        return error;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    int entries = 0;
    for (QString line : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        std::optional<Entry> entry = parseLine(line);
        const QString trimmed = line.trimmed();
        if (entry && entries < MaxEntries) {
            m_lines.push_back({{}, std::move(entry)});
            ++entries;
        } else {
            // Kept as written, so that a rewrite loses nothing of what the user wrote.
            if (!trimmed.isEmpty() && !trimmed.startsWith(QLatin1Char('#')))
                ++m_skipped;
            m_lines.push_back({line.left(MaxLineLength), std::nullopt});
        }
    }
    // The split gives an empty piece after the last line end.
    if (!m_lines.isEmpty() && !m_lines.last().entry && m_lines.last().text.isEmpty())
        m_lines.removeLast();
    return 0;
}

QString BlockList::lineText(const Entry& entry)
{
    return entry.note.isEmpty() ? entry.number : entry.number + QLatin1Char('\t') + entry.note;
}

bool BlockList::save(const QString& path) const
{
    QByteArray bytes;
    for (const Line& line : m_lines)
        bytes += (line.entry ? lineText(*line.entry) : line.text).toUtf8() + '\n';
    return TextFile::rewrite(path, bytes);
}

QList<BlockList::Entry> BlockList::entries() const
{
    QList<Entry> all;
    for (const Line& line : m_lines) {
        if (line.entry)
            all << *line.entry;
    }
    return all;
}

qsizetype BlockList::indexOf(const QString& wanted) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].entry && key(m_lines[i].entry->number) == wanted)
            return i;
    }
    return -1;
}

bool BlockList::add(const Entry& entry)
{
    const std::optional<Entry> clean = cleanEntry(entry);
    if (!clean)
        return false;
    const qsizetype at = indexOf(key(clean->number));
    if (at >= 0) {
        m_lines[at].entry->note = clean->note;
        return true;
    }
    if (entries().size() >= MaxEntries)
        return false;
    m_lines.push_back({{}, clean});
    return true;
}

bool BlockList::remove(const QString& number)
{
    const QString wanted = key(number);
    const qsizetype at = wanted.isEmpty() ? -1 : indexOf(wanted);
    if (at < 0)
        return false;
    m_lines.removeAt(at);
    return true;
}

bool BlockList::replace(const QString& number, const Entry& entry)
{
    const std::optional<Entry> clean = cleanEntry(entry);
    const QString wanted = key(number);
    const qsizetype at = wanted.isEmpty() ? -1 : indexOf(wanted);
    if (!clean || at < 0)
        return false;
    m_lines[at].entry = clean;
    const QString newKey = key(clean->number);
    for (qsizetype i = m_lines.size() - 1; i >= 0; --i) {
        if (i != at && m_lines[i].entry && key(m_lines[i].entry->number) == newKey)
            m_lines.removeAt(i);
    }
    return true;
}

std::optional<BlockList::Entry> BlockList::match(const QString& caller) const
{
    const QString digits = PhoneNumber::normalised(caller);
    if (digits.isEmpty())
        return std::nullopt;
    std::optional<Entry> best;
    qsizetype bestLength = -1;
    for (const Line& line : m_lines) {
        if (!line.entry)
            continue;
        const QString k = key(line.entry->number);
        if (k == digits)
            return line.entry;
        if (k.endsWith(QLatin1Char('*'))) {
            const QString prefix = k.chopped(1);
            if (prefix.size() > bestLength && digits.startsWith(prefix)) {
                best = line.entry;
                bestLength = prefix.size();
            }
        }
    }
    return best;
}
