#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// An INI file with the semantics of the classic profile functions: section and key names compare
// case-insensitively (umlauts included), values are Windows-1252 with CR LF line ends, and the file is
// never held open: every read opens, reads and closes it; every write rewrites it safely, keeping all
// unrelated sections, keys, comments and blank lines byte for byte.
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

    Parsed load() const;
    bool store(const QList<Line>& lines) const;
    static void erase(QList<Line>& lines, const QString& section);
    static void put(QList<Line>& lines, const Entry& entry);

    QString m_path;
};
