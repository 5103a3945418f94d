#include "contacts/BlockList.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(BlockList, ALineIsANumberOrPrefixThenItsNote)
{
    struct Case
    {
        const char* line;
        const char* number; // nullptr: no entry
        const char* note;
    };
    const Case cases[] = {
        {"0301234567", "0301234567", ""},
        {"+49 (0)30 123-4567 Werbung", "+49 (0)30 123-4567", "Werbung"},
        {"0900*\tMehrwert 24/7", "0900*", "Mehrwert 24/7"},
        {"0171 555\t 2x angerufen ", "0171 555", "2x angerufen"},
        {"  # 0301234567 kommentiert", nullptr, nullptr},
        {"", nullptr, nullptr},
        {"Werbung", nullptr, nullptr},
        {"*", nullptr, nullptr},
        {"03*01", nullptr, nullptr},
        {"0301234567\tNotiz\x01mit\x1b[31mSteuerzeichen und sehr viel mehr Text dahinter", "0301234567",
         "Notiz mit [31mSteuerzeichen un"},
    };
    for (const Case& c : cases) {
        const std::optional<BlockList::Entry> entry = BlockList::parseLine(QString::fromUtf8(c.line));
        if (!c.number) {
            EXPECT_FALSE(entry) << c.line;
            continue;
        }
        ASSERT_TRUE(entry) << c.line;
        EXPECT_EQ(entry->number, QString::fromUtf8(c.number)) << c.line;
        EXPECT_EQ(entry->note, QString::fromUtf8(c.note)) << c.line;
        EXPECT_LE(entry->note.size(), BlockList::MaxNoteLength);
    }
}

TEST(BlockList, ACallerMatchesItsNumberBeforeTheLongestPrefix)
{
    BlockList list;
    ASSERT_TRUE(list.add({QStringLiteral("0*"), QStringLiteral("national")}));
    ASSERT_TRUE(list.add({QStringLiteral("+49 900*"), QStringLiteral("Mehrwert")}));
    ASSERT_TRUE(list.add({QStringLiteral("0900 123*"), QStringLiteral("Anbieter")}));
    ASSERT_TRUE(list.add({QStringLiteral("0049 900 1234567"), QStringLiteral("genau")}));
    ASSERT_FALSE(list.add({QStringLiteral("keine Nummer"), QStringLiteral("x")}));
    struct Case
    {
        const char* caller;
        const char* note; // nullptr: rings on
    };
    const Case cases[] = {
        {"09001234567", "genau"},      {"09001239999", "Anbieter"}, {"09005550000", "Mehrwert"},
        {"0301234567", "national"},    {"0049301234567", "national"}, {"4711", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        const auto entry = list.match(QString::fromLatin1(c.caller));
        if (!c.note)
            EXPECT_FALSE(entry) << c.caller;
        else
            EXPECT_EQ(entry ? entry->note : QString(), QString::fromUtf8(c.note)) << c.caller;
    }
}

// Comments and blank lines stay where they were; an edit changes its line, a removal drops it, an
// addition goes to the end; the same number in another form is the same entry.
TEST(BlockList, ARewriteKeepsTheUsersCommentsAndChangesOnlyItsEntries)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Sperrliste.txt"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\xEF\xBB\xBF# Meine Sperrliste\r\n\r\n030 1234567 Werbung\r\nkaputte Zeile\r\n0900*\r\n# Ende");
    }
    BlockList list;
    ASSERT_EQ(list.load(path), 0);
    EXPECT_EQ(list.skipped(), 1);
    ASSERT_EQ(list.entries().size(), 2);
    ASSERT_TRUE(list.add({QStringLiteral("+49301234567"), QStringLiteral("Gewinnspiel")}));
    ASSERT_TRUE(list.remove(QStringLiteral("0900 *")));
    EXPECT_FALSE(list.remove(QStringLiteral("0800*")));
    ASSERT_TRUE(list.add({QStringLiteral("0171/5550123"), QString()}));
    ASSERT_TRUE(list.add({QStringLiteral("0171 5550124"), QStringLiteral("doppelt")}));
    // Edited into the number of another entry: one entry remains, in the edited line.
    ASSERT_TRUE(list.replace(QStringLiteral("01715550123"), {QStringLiteral("0171 5550124"), QStringLiteral("neu")}));
    EXPECT_FALSE(list.replace(QStringLiteral("0800"), {QStringLiteral("0801"), QString()}));
    EXPECT_FALSE(list.replace(QStringLiteral("0171 5550124"), {QStringLiteral("keine"), QString()}));
    ASSERT_TRUE(list.save(path));
    EXPECT_EQ(fileBytes(path), QByteArray("# Meine Sperrliste\n\n030 1234567\tGewinnspiel\nkaputte Zeile\n# Ende\n0171 5550124\tneu\n"));

    BlockList again;
    EXPECT_EQ(again.load(dir.filePath(QStringLiteral("fehlt.txt"))), ENOENT);
    EXPECT_TRUE(again.entries().isEmpty());
    EXPECT_EQ(again.load(dir.path()), EISDIR);
}
