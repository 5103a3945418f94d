#include "shell/SettingsFile.h"

#include "common/Cp1252.h"
#include "common/TextFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString trimmedBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

bool sameName(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

// The section named by a header line "[name]", or nothing for any other line.
std::optional<QString> sectionOf(const QString& line)
{
    const QString t = trimmedBlanks(line);
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    return trimmedBlanks(t.mid(1, close < 0 ? -1 : close - 1));
}

struct KeyLine
{
    QString key;
    QString value;
};

std::optional<KeyLine> keyOf(const QString& line)
{
    const QString t = trimmedBlanks(line);
    if (t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq < 0)
        return std::nullopt;
    QString value = trimmedBlanks(t.mid(eq + 1));
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return KeyLine{trimmedBlanks(t.left(eq)), value};
}

QString decoded(const QByteArray& bytes)
{
    return Cp1252::toUnicode(bytes);
}

// A value must stay on its line: a line break in it would plant keys of its own.
QString oneLine(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

SettingsFile::SettingsFile(QString path) : m_path(std::move(path)) {}

SettingsFile::Parsed SettingsFile::parse(const QByteArray& content)
{
    Parsed parsed;
    qsizetype start = 0;
    while (start < content.size()) {
        const qsizetype lf = content.indexOf('\n', start);
        const qsizetype end = lf < 0 ? content.size() : lf;
        Line line{content.mid(start, end - start), lf < 0 ? QByteArray() : QByteArray("\n")};
        if (lf >= 0 && line.text.endsWith('\r')) {
            line.text.chop(1);
            line.ending = "\r\n";
        }
        parsed.lines.append(line);
        start = end + 1;
    }
    return parsed;
}

// Only the first section of a name counts, and in it the first key of a name, as with the profile
// functions.
QHash<QString, QList<SettingsFile::Entry>> SettingsFile::index(const QList<Line>& lines)
{
    QHash<QString, QList<Entry>> sections;
    QList<Entry>* current = nullptr;
    for (const Line& line : lines) {
        const QString text = decoded(line.text);
        if (const auto name = sectionOf(text)) {
            const QString folded = name->toCaseFolded();
            current = sections.contains(folded) ? nullptr : &sections[folded];
        } else if (current != nullptr) {
            if (auto entry = keyOf(text))
                current->append({QString(), std::move(entry->key), std::move(entry->value)});
        }
    }
    return sections;
}

const SettingsFile::Cache& SettingsFile::load() const
{
    struct stat info
    {};
    Stamp stamp;
    const int statError = ::stat(QFile::encodeName(m_path).constData(), &info) == 0 ? 0 : errno;
    if (statError == 0)
        stamp = {true,
                 info.st_dev,
                 info.st_ino,
                 info.st_size,
                 info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec,
                 info.st_ctim.tv_sec * 1000000000LL + info.st_ctim.tv_nsec};
    if (m_cache.loaded && m_cache.stamp == stamp)
        return m_cache;
    m_cache = Cache{};
    m_cache.loaded = true;
    m_cache.stamp = stamp;
    if (statError == ENOENT)
        return m_cache;
    QByteArray content;
    if (const int error = TextFile::readAll(m_path, TextFile::kMaxReadBytes, content); error != 0) {
        m_cache.parsed.ok = false;
        m_cache.readError = error;
        return m_cache;
    }
    m_cache.parsed = parse(content);
    m_cache.sections = index(m_cache.parsed.lines);
    return m_cache;
}

std::optional<QString> SettingsFile::value(const QString& section, const QString& key) const
{
    const Cache& cache = load();
    const auto found = cache.sections.constFind(section.toCaseFolded());
    if (found == cache.sections.constEnd())
        return std::nullopt;
    for (const Entry& entry : *found) {
        if (sameName(entry.key, key))
            return entry.value;
    }
    return std::nullopt;
}

QList<SettingsFile::Entry> SettingsFile::sectionValues(const QString& section) const
{
    const Cache& cache = load();
    QList<Entry> entries = cache.sections.value(section.toCaseFolded());
    for (Entry& entry : entries)
        entry.section = section;
    return entries;
}

QString SettingsFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    return value(section, key).value_or(defaultValue);
}

bool SettingsFile::contains(const QString& section, const QString& key) const
{
    return value(section, key).has_value();
}

bool SettingsFile::writeString(const QString& section, const QString& key, const QString& value)
{
    return write({Entry{section, key, value}});
}

bool SettingsFile::write(const QList<Entry>& entries)
{
    Parsed parsed = load().parsed;
    if (!parsed.ok)
        return false;
    for (const Entry& entry : entries)
        put(parsed.lines, entry);
    return store(parsed.lines);
}

bool SettingsFile::eraseSection(const QString& section)
{
    return replaceSection(section, {});
}

bool SettingsFile::replaceSection(const QString& section, const QList<Entry>& entries)
{
    Parsed parsed = load().parsed;
    if (!parsed.ok)
        return false;
    erase(parsed.lines, section);
    for (const Entry& entry : entries)
        put(parsed.lines, entry);
    return store(parsed.lines);
}

void SettingsFile::erase(QList<Line>& lines, const QString& section)
{
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size();) {
        if (const auto name = sectionOf(decoded(lines[i].text)))
            inSection = sameName(*name, section);
        if (inSection)
            lines.removeAt(i);
        else
            ++i;
    }
}

void SettingsFile::put(QList<Line>& lines, const Entry& entry)
{
    const QString value = oneLine(entry.value);
    qsizetype header = -1;
    qsizetype insertAt = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString text = decoded(lines[i].text);
        if (const auto name = sectionOf(text)) {
            if (header >= 0)
                break;
            if (sameName(*name, entry.section))
                header = insertAt = i;
            continue;
        }
        if (header < 0)
            continue;
        if (const auto key = keyOf(text)) {
            if (sameName(key->key, entry.key)) {
                // The key keeps the spelling it has in the file.
                lines[i].text = Cp1252::fromUnicode(QString(key->key + QLatin1Char('=') + value));
                return;
            }
            insertAt = i;
        }
    }
    const Line newLine{Cp1252::fromUnicode(QString(entry.key + QLatin1Char('=') + value)), TextFile::kLineEnd};
    if (header >= 0) {
        if (lines[insertAt].ending.isEmpty())
            lines[insertAt].ending = TextFile::kLineEnd;
        lines.insert(insertAt + 1, newLine);
        return;
    }
    if (!lines.isEmpty()) {
        if (lines.back().ending.isEmpty())
            lines.back().ending = TextFile::kLineEnd;
        if (!trimmedBlanks(decoded(lines.back().text)).isEmpty())
            lines.append(Line{{}, TextFile::kLineEnd});
    }
    lines.append(
        Line{Cp1252::fromUnicode(QString(QLatin1Char('[') + entry.section + QLatin1Char(']'))), TextFile::kLineEnd});
    lines.append(newLine);
}

bool SettingsFile::store(const QList<Line>& lines) const
{
    // The rewrite replaces the file by renaming; without this check a file the user made read-only
    // would be replaced anyway.
    const QFileInfo info(m_path);
    if (info.exists() && (!info.isFile() || !info.isWritable()))
        return false;
    QByteArray content;
    for (const Line& line : lines)
        content += line.text + line.ending;
    // Read again at the next look, whatever the time stamps say.
    m_cache.loaded = false;
    return TextFile::rewrite(m_path, content);
}
