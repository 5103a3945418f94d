#pragma once

#include <QHash>
#include <QString>

// The names of a vCard file, looked up by number: the chosen "Telefonbuch (vCard)" names callers
// and dialled numbers that no speed dial names. The numbers are compared normalised, so that a
// card's "+49 30 123-4567" names the caller 0301234567.
class AddressBook
{
public:
    struct Report
    {
        QString path;
        int cards = 0;
        int skipped = 0;
        QString error; // the file could not be read
    };

    // Replaces the names with those of the file; an empty path empties the book. A number on
    // several cards keeps the first card's name.
    Report load(const QString& path);
    void clear() { m_names.clear(); }
    // Empty when the number is on no card.
    QString nameFor(const QString& number) const;
    qsizetype size() const { return m_names.size(); }

    // The status line's account of a load: how many cards were read and how many skipped.
    static QString reportText(const Report& report);

private:
    QHash<QString, QString> m_names; // normalised number -> name
};
