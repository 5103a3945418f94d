#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// vCard files (versions 3.0 and 4.0 in UTF-8; 2.1 with quoted-printable values in UTF-8 or a
// Western character set) as the address book needs them: the name and the telephone numbers of
// each card. Folded lines are joined; a card that does not end, holds a line that is no property,
// or has no name is skipped and counted, never fatal.
namespace VCardReader {

struct Card
{
    QString name;        // FN, else "Given Family" from N
    QStringList numbers; // every TEL, as written
};

struct Result
{
    QList<Card> cards;
    int skipped = 0;
    QString error; // the file could not be read; empty otherwise
};

Result parse(const QByteArray& bytes);
// A missing or unreadable file, or one larger than any address book, gives an error text.
Result read(const QString& path);

} // namespace VCardReader
