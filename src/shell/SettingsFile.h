#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// An INI file with the semantics of the classic profile functions: section and key names compare
// case-insensitively (umlauts included), values are Windows-1252 with CR LF line ends, and the file is
// never held open. It is read once and kept, and read again only when it changed on disk (a look at
// its status at every read), so that a large file is not decoded again for every key; every write
// rewrites it safely, keeping all unrelated sections, keys, comments and blank lines byte for byte.
// A file that cannot be read (a FIFO or device in its place, or larger than any settings file)
// reads as empty and refuses writes, so that it is never replaced by a file without its keys.
class SettingsFile
{
public:
    struct Entry
    {
        QString section;
        QString key;
        QString value;
    };

    explicit SettingsFile(QString path);

    QString path() const { return m_path; }
    // Why the file could not be read (an errno value; a FIFO, device or folder is EINVAL or
    // EISDIR), 0 when it was read or is missing.
    int readError() const { return load().readError; }

    // The value with surrounding blanks (and one pair of enclosing quotes) removed; nothing when the
    // file, section or key is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;
    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    bool contains(const QString& section, const QString& key) const;
    // Every key of the section with its value, from one read: the first section of that name, the
    // keys in file order (a key that occurs twice is listed twice; value() gives the first).
    QList<Entry> sectionValues(const QString& section) const;

    // All writes return false when the file could not be written; the file is then unchanged.
    bool writeString(const QString& section, const QString& key, const QString& value);
    // Several keys in one rewrite, so that they change together.
    bool write(const QList<Entry>& entries);
    bool eraseSection(const QString& section);
    // Erases `section` and writes `entries` in one rewrite.
    bool replaceSection(const QString& section, const QList<Entry>& entries);

private:
    struct Line
    {
        QByteArray text;
        QByteArray ending;
    };
    struct Parsed
    {
        QList<Line> lines;
        bool ok = true;
    };
    // What tells one version of the file from another.
    struct Stamp
    {
        bool exists = false;
        quint64 device = 0, inode = 0;
        qint64 size = 0, modified = 0, changed = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Cache
    {
        bool loaded = false;
        int readError = 0;
        Stamp stamp;
        Parsed parsed;
        // The first section of each name, its keys in file order; folded names as keys.
        QHash<QString, QList<Entry>> sections;
    };

    const Cache& load() const;
    static Parsed parse(const QByteArray& content);
    static QHash<QString, QList<Entry>> index(const QList<Line>& lines);
    bool store(const QList<Line>& lines) const;
    static void erase(QList<Line>& lines, const QString& section);
    static void put(QList<Line>& lines, const Entry& entry);

    QString m_path;
    mutable Cache m_cache;
};
