#pragma once

#include <QList>
#include <QString>

#include <optional>

// The callers that are taken off before the phones ring: numbers and prefixes (a prefix ends with
// "*"), each with an optional note, in a UTF-8 text file of one entry a line. A line is the number,
// then a tab or the first character that cannot belong to a number, then the note; "#" starts a
// comment line. Numbers are compared normalised as the address book compares them, so "+49 30 …",
// "0049 30 …" and "030 …" are one number. Comments and blank lines survive a rewrite.
class BlockList
{
public:
    struct Entry
    {
        QString number; // as written, "0900*" for a prefix
        QString note;
    };

    // A note becomes the logged name of the call, which holds 30 characters.
    static constexpr int MaxNoteLength = 30;
    static constexpr int MaxNumberLength = 40;
    static constexpr int MaxEntries = 10000;
    static constexpr int MaxLineLength = 200;
    static constexpr qint64 MaxFileBytes = 1024 * 1024;

    // The entry a line holds; nothing for a comment, a blank line or a line without a number.
    static std::optional<Entry> parseLine(const QString& line);
    // What two entries are compared by: the normalised digits, with "*" after a prefix; empty for
    // text that holds no number.
    static QString key(const QString& number);

    // 0, or the errno of the failure; a missing file is an empty list (ENOENT all the same). Lines
    // that hold no entry are kept and counted in skipped() unless they are comments or blank.
    int load(const QString& path);
    // Atomically; false when the file cannot be written.
    bool save(const QString& path) const;

    QList<Entry> entries() const;
    int skipped() const { return m_skipped; }
    // Adds the entry, or gives an entry with the same number the new note. False for a number
    // without digits or a full list.
    bool add(const Entry& entry);
    // False when no entry has the number.
    bool remove(const QString& number);
    // The entry of `number` becomes `entry` in its line; an entry that already has the new number
    // goes. False when no entry has `number` or the new one is no number.
    bool replace(const QString& number, const Entry& entry);
    // The entry for the caller (normalised digits, empty when withheld): the number itself before
    // the longest matching prefix.
    std::optional<Entry> match(const QString& caller) const;

private:
    struct Line
    {
        QString text;                // a comment, a blank line or no entry, as read
        std::optional<Entry> entry;  // else the entry
    };

    static QString lineText(const Entry& entry);
    qsizetype indexOf(const QString& key) const;

    QList<Line> m_lines;
    int m_skipped = 0;
};
