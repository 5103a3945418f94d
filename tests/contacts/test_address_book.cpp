#include "contacts/AddressBook.h"
#include "contacts/PhoneNumber.h"
#include "contacts/VCardReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QString writeFile(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = dir.filePath(QStringLiteral("kontakte.vcf"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

// Two good cards (3.0 with CRLF and folds, one inside "ü"; 4.0 with LF, tel: addresses and a
// quoted colon), then four broken ones: a line that is no property, no name, a card cut short by
// the next BEGIN, and one cut short by the end of the file.
const QByteArray Cards = "garbage before the first card\r\n"
                         "BEGIN:VCARD\r\n"
                         "VERSION:3.0\r\n"
                         "N:M\xC3\r\n"
                         " \xBCller;Hans;;Dr.;\r\n"
                         "FN:Dr. Hans M\xC3\r\n"
                         "\t\xBCller\r\n"
                         "item1.TEL;TYPE=WORK,VOICE:+49 30 123-4567\r\n"
                         "TEL;TYPE=CELL:0171/9876\r\n"
                         " 543\r\n"
                         "END:VCARD\r\n"
                         "\r\n"
                         "BEGIN:VCARD\n"
                         "VERSION:4.0\n"
                         "N:Dupont;Marie;;;\n"
                         "TEL;VALUE=uri;TYPE=\"voice,x:home\":tel:+33-1-42-27-80-00;ext=12\n"
                         "TEL;VALUE=uri:tel:+49-30-1234567\n"
                         "END:VCARD\n"
                         "BEGIN:VCARD\n"
                         "VERSION:3.0\n"
                         "FN:Kaputt\n"
                         "this line has no colon\n"
                         "TEL:0301111111\n"
                         "END:VCARD\n"
                         "BEGIN:VCARD\n"
                         "VERSION:3.0\n"
                         "TEL:0302222222\n"
                         "END:VCARD\n"
                         "BEGIN:VCARD\n"
                         "FN:Abgebrochen\n"
                         "TEL:0303333333\n"
                         "BEGIN:VCARD\n"
                         "FN:Letzte\n"
                         "TEL:0304444444\n";

} // namespace

TEST(PhoneNumber, OneNumberHoweverItIsWritten)
{
    struct Case
    {
        const char* written;
        const char* normalised;
    };
    const Case cases[] = {
        {"+49 30 123-4567", "0301234567"},
        {"0049301234567", "0301234567"},
        {"0301234567", "0301234567"},
        {"(030) 123 45-67", "0301234567"},
        {"+49 (0)30 1234567", "0301234567"},
        {"+49 030 1234567", "0301234567"},
        {"tel:+49-30-1234567;ext=12", "0301234567"},
        {"+33 1 42 27 80 00", "0033142278000"},
        {"0033 1 42 27 80 00", "0033142278000"},
        {"1234567", "1234567"}, // a local number stays as written
        {"", ""},
        {"+", ""},
        {"unbekannt", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PhoneNumber::normalised(QString::fromUtf8(c.written)), QString::fromUtf8(c.normalised)) << c.written;
}

TEST(VCardReader, GoodCardsReadAndBrokenOnesCounted)
{
    const VCardReader::Result result = VCardReader::parse(Cards);
    EXPECT_TRUE(result.error.isEmpty());
    ASSERT_EQ(result.cards.size(), 2);
    EXPECT_EQ(result.cards[0].name, QStringLiteral("Dr. Hans Müller"));
    EXPECT_EQ(result.cards[0].numbers, QStringList({"+49 30 123-4567", "0171/9876543"}));
    EXPECT_EQ(result.cards[1].name, QStringLiteral("Marie Dupont")) << "from N when there is no FN";
    EXPECT_EQ(result.cards[1].numbers, QStringList({"tel:+33-1-42-27-80-00;ext=12", "tel:+49-30-1234567"}));
    EXPECT_EQ(result.skipped, 4);
}

TEST(VCardReader, EmptyMissingAndForeignFiles)
{
    for (const QByteArray& bytes : {QByteArray(), QByteArray("\xEF\xBB\xBF"), QByteArray("Name;Nummer\nA;0301\n")}) {
        const VCardReader::Result result = VCardReader::parse(bytes);
        EXPECT_TRUE(result.cards.isEmpty());
        EXPECT_EQ(result.skipped, 0);
    }
    const VCardReader::Result missing = VCardReader::read(QStringLiteral("/nonexistent/kontakte.vcf"));
    EXPECT_FALSE(missing.error.isEmpty());
    EXPECT_TRUE(missing.cards.isEmpty());
}

TEST(AddressBook, NamesNumbersOfTheFileAndReportsTheSkippedCards)
{
    QTemporaryDir dir;
    AddressBook book;
    const AddressBook::Report report = book.load(writeFile(dir, Cards));
    EXPECT_EQ(AddressBook::reportText(report),
              QStringLiteral("Telefonbuch: 2 Karten mit 3 Nummern gelesen, 4 fehlerhafte Karten übersprungen"));
    // The same number on two cards keeps the first card's name.
    EXPECT_EQ(book.nameFor(QStringLiteral("0049301234567")), QStringLiteral("Dr. Hans Müller"));
    EXPECT_EQ(book.nameFor(QStringLiteral("01719876543")), QStringLiteral("Dr. Hans Müller"));
    EXPECT_EQ(book.nameFor(QStringLiteral("0033142278000")), QStringLiteral("Marie Dupont"));
    EXPECT_EQ(book.nameFor(QStringLiteral("0301111111")), QString()) << "a broken card names nothing";
    EXPECT_EQ(book.nameFor(QString()), QString());

    const AddressBook::Report missing = book.load(dir.filePath(QStringLiteral("weg.vcf")));
    EXPECT_TRUE(AddressBook::reportText(missing).startsWith(
        QStringLiteral("Telefonbuch ") + dir.filePath(QStringLiteral("weg.vcf")) + QStringLiteral(" nicht lesbar: ")));
    EXPECT_EQ(book.nameFor(QStringLiteral("0301234567")), QString()) << "a failed load leaves no old names";
}

// The size bound holds for what is read: a FIFO or a device is refused at once, never read without end.
TEST(VCardReader, OnlyARegularFileIsRead)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("kontakte.vcf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ::alarm(10);
    for (const QString& path : {fifo, QStringLiteral("/dev/zero")}) {
        const VCardReader::Result result = VCardReader::read(path);
        EXPECT_EQ(result.error, QStringLiteral("keine gewöhnliche Datei")) << path.toStdString();
    }
    ::alarm(0);
}
