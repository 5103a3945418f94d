#pragma once

#include "contacts/VCardReader.h"

#include <QHash>
#include <QString>
#include <QStringList>

// The names of a vCard file or of a folder of ".vcf" files (as contact-sync tools keep them, one
// card a file), looked up by number: the chosen "Telefonbuch (vCard)" names callers and dialled
// numbers that no speed dial names. The numbers are compared normalised, so that a card's
// "+49 30 123-4567" names the caller 0301234567.
class AddressBook
{
public:
    struct Report
    {
        QString path;
        int cards = 0;
        int numbers = 0;
        int skipped = 0; // broken cards, and files of a folder that could not be read
        QString error;   // the file or folder could not be read
    };

    // A folder holds at most this many cards: the rest is left unread and counted as skipped.
    static constexpr int MaxFolderFiles = 20000;

    // Replaces the names with those of the file or folder (its files in name order); an empty
    // path empties the book. A number on several cards keeps the first card's name.
    Report load(const QString& path);
    void clear() { m_names.clear(); }
    // Empty when the number is on no card.
    QString nameFor(const QString& number) const;
    qsizetype size() const { return m_names.size(); }

    // The ".vcf" files of a folder, in name order, at most MaxFolderFiles of them; links are
    // followed, so that a synced file may live elsewhere.
    static QStringList folderFiles(const QString& folder, int* leftOut = nullptr);

    // The status line's account of a load: how many cards and numbers were read and how many
    // cards skipped.
    static QString reportText(const Report& report);

private:
    void add(const VCardReader::Result& read, Report& report);

    QHash<QString, QString> m_names; // normalised number -> name
};
