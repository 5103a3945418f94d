#include "config/ConfigChoices.h"
#include "config/SpeedDialCodec.h"
#include "config/SpeedDialList.h"

#include <gtest/gtest.h>

#include <map>

namespace {

class MapStore : public SpeedDialStore
{
public:
    QString name(int entry) const override { return value(m_names, entry); }
    QString storedNumber(int entry) const override { return value(m_numbers, entry); }
    QString sound(int entry) const override { return value(m_sounds, entry); }
    bool save(int entry, const QString& name, const QString& number, const QString& sound) override
    {
        m_names[entry] = name;
        m_numbers[entry] = number;
        m_sounds[entry] = sound;
        return m_writable;
    }

    std::map<int, QString> m_names, m_numbers, m_sounds;
    bool m_writable = true;

private:
    static QString value(const std::map<int, QString>& map, int entry)
    {
        const auto it = map.find(entry);
        return it == map.end() ? QString() : it->second;
    }
};

// An entry reply as it arrives: the payload CC 08 03 n d digits attributes, in cells.
QByteArray reply(int n, int digits, const QByteArray& packed, const QByteArray& attributes)
{
    QByteArray payload = QByteArray::fromHex("CC0803");
    payload += static_cast<char>(n);
    payload += static_cast<char>(digits);
    payload += packed + attributes;
    QByteArray line;
    for (int i = 0; i < payload.size(); i += 3) {
        const int rest = static_cast<int>(payload.size()) - i;
        line += static_cast<char>(rest > 3 ? 0x03 : 0x80 + rest);
        line += payload.mid(i, 3).leftJustified(3, '\0');
    }
    return line;
}

TEST(SpeedDialCodec, DecodesTheReplyHighNibbleFirst)
{
    const auto e =
        SpeedDialCodec::decodeReply(reply(7, 3, QByteArray::fromHex("123F"), QByteArray::fromHex("01020300")));
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->entry, 7);
    EXPECT_EQ(e->number, QStringLiteral("123"));
    EXPECT_EQ(e->attributes, 0x01020300u);

    const auto full = SpeedDialCodec::decodeReply(
        reply(60, 20, QByteArray::fromHex("01234567890123456789"), QByteArray::fromHex("FF0004FF")));
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ(full->number, QStringLiteral("01234567890123456789"));
    EXPECT_EQ(full->attributes, 0xFF0004FFu);

    const auto empty = SpeedDialCodec::decodeReply(reply(1, 0, {}, QByteArray::fromHex("00000000")));
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(empty->number, QString());

    EXPECT_FALSE(SpeedDialCodec::decodeReply(reply(0, 0, {}, {})).has_value());
    EXPECT_FALSE(SpeedDialCodec::decodeReply(reply(61, 0, {}, {})).has_value());
    EXPECT_FALSE(SpeedDialCodec::decodeReply(QByteArray::fromHex("03CC0803")).has_value());
    // A reply cut short reads the missing bytes as zero.
    const auto cut = SpeedDialCodec::decodeReply(QByteArray::fromHex("03CC080383050412"));
    ASSERT_TRUE(cut.has_value());
    EXPECT_EQ(cut->entry, 5);
    EXPECT_EQ(cut->number, QStringLiteral("1200"));
}

TEST(SpeedDialCodec, AttributesText)
{
    struct Case
    {
        bool empty;
        std::uint32_t value;
        QString text;
    };
    const Case cases[] = {
        {false, 0x00000000, ""},
        {true, 0x010100FF, ""},
        {false, 0x010100FF, "Wahlsperre"},
        {false, 0x00030000, "Kurzwahl"},
        {false, 0x01010000, "Kurzwahl, Babyruf"},
        {false, 0x80000400, "Babyruf"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpeedDialCodec::attributesText(c.empty, c.value), c.text) << std::hex << c.value;
    EXPECT_EQ(SpeedDialCodec::attributeValue(0x01, 0x01, 0, 0), 16842752u);
}

TEST(SpeedDialCodec, SavePayload)
{
    EXPECT_EQ(SpeedDialCodec::savePayload(1, QStringLiteral("0301234"), 0x01030200).toHex(' '),
              "cc 05 09 01 07 03 01 23 4f 01 03 02 00 ff");
    EXPECT_EQ(SpeedDialCodec::savePayload(60, QStringLiteral("12"), 0x000000FF).toHex(' '),
              "cc 05 09 3c 02 12 00 00 00 ff ff");
    EXPECT_EQ(SpeedDialCodec::savePayload(2, QString(), 0).toHex(' '), "cc 05 09 02 00 00 00 00 00 ff");
    EXPECT_EQ(SpeedDialCodec::savePayload(3, QStringLiteral("123456789012345678901"), 0).size(), 20);
    // ceil(7 / 2) = 4 digit bytes: (4 + 9) x 4 / 3 = 17; no digits: 12.
    EXPECT_EQ(SpeedDialCodec::saveProgressMaximum(SpeedDialCodec::savePayload(1, QStringLiteral("0301234"), 0)), 17);
    EXPECT_EQ(SpeedDialCodec::saveProgressMaximum(SpeedDialCodec::savePayload(1, QString(), 0)), 12);
}

TEST(SpeedDialCodec, EntryTexts)
{
    EXPECT_EQ(SpeedDialCodec::entryText(1), QStringLiteral("301"));
    EXPECT_EQ(SpeedDialCodec::entryText(60), QStringLiteral("360"));
    EXPECT_EQ(SpeedDialCodec::entryFromText(QStringLiteral("301")), 1);
    EXPECT_EQ(SpeedDialCodec::entryFromText(QStringLiteral("360")), 60);
    EXPECT_EQ(SpeedDialCodec::entryFromText(QStringLiteral("361")), 0);
    EXPECT_EQ(SpeedDialCodec::entryFromText(QString()), 0);
}

TEST(SpeedDialList, NumberColumnAgainstTheStoredNumbers)
{
    MapStore store;
    store.m_numbers = {{1, "123"}, {2, "555"}, {3, "777"}};
    SpeedDialList list(store);
    store.m_numbers[1] = "999"; // the list keeps the copy made at start-up
    list.applyEntry({1, "123", 0x00010000});
    list.applyEntry({2, "556", 0});
    list.applyEntry({3, "", 0x00010000});
    list.applyEntry({4, "01234567890123456789", 0});
    EXPECT_EQ(list.rowOfEntry(1).number, QStringLiteral("123"));
    EXPECT_EQ(list.rowOfEntry(1).attributesText, QStringLiteral("Kurzwahl"));
    EXPECT_EQ(list.rowOfEntry(2).number, QStringLiteral("<556>"));
    EXPECT_EQ(list.rowOfEntry(3).number, QStringLiteral("<777>"));
    EXPECT_EQ(list.rowOfEntry(3).attributesText, QString());
    EXPECT_EQ(list.rowOfEntry(4).number, QStringLiteral("<01234567890123456789>"));

    EXPECT_EQ(list.rowClicked(2).number, QStringLiteral("777"));
    EXPECT_EQ(list.rowClicked(3).number, QStringLiteral("01234567890123456789"));
    EXPECT_EQ(list.rowClicked(0).number, QStringLiteral("123"));
}

TEST(SpeedDialList, RowClickFillsTheEditor)
{
    MapStore store;
    store.m_names = {{5, "Oma"}};
    store.m_sounds = {{5, "oma.wav"}};
    SpeedDialList list(store);
    list.applyEntry({5, "0301234", SpeedDialCodec::attributeValue(0x81, 0x03, 3, 0xFF)});
    const SpeedDialEditor e = list.rowClicked(4);
    EXPECT_EQ(e.entryText, QStringLiteral("305"));
    EXPECT_EQ(e.name, QStringLiteral("Oma"));
    EXPECT_EQ(e.sound, QStringLiteral("oma.wav"));
    EXPECT_EQ(e.rhythmChoice, 0); // byte 3 is "Keiner"
    EXPECT_TRUE(e.dialBlock);
    EXPECT_FALSE(e.babyEnabled);
    EXPECT_EQ(e.permitted, (std::array<bool, 8>{true, true, false, false, false, false, false, false}));
    EXPECT_EQ(e.baby, (std::array<bool, 8>{true, false, false, false, false, false, false, true}));
    SpeedDialEditor unblocked = e;
    unblocked.dialBlock = false;
    EXPECT_TRUE(SpeedDialList::dialBlockClicked(unblocked).babyEnabled);
}

TEST(SpeedDialList, TypedNumbersKeepDigitsOnly)
{
    bool removed = false;
    EXPECT_EQ(SpeedDialList::cleanNumber(QStringLiteral("030-12 34"), &removed), QStringLiteral("0301234"));
    EXPECT_TRUE(removed);
    EXPECT_EQ(SpeedDialList::cleanNumber(QStringLiteral("0301234"), &removed), QStringLiteral("0301234"));
    EXPECT_FALSE(removed);
}

TEST(SpeedDialList, SaveWritesSettingsRowAndPayload)
{
    MapStore store;
    store.m_numbers = {{1, "111"}};
    SpeedDialList list(store);
    list.applyEntry({1, "111", 0});
    SpeedDialEditor e = list.rowClicked(0);
    e.name = QStringLiteral("Büro");
    e.number = QStringLiteral("0301234");
    e.rhythmChoice = 3; // "Rhytmus 2" -> 2
    e.permitted[0] = true;
    e.permitted[2] = true;
    e.baby[1] = true;
    e.sound = QStringLiteral("buero.wav");
    bool saved = false;
    EXPECT_EQ(list.save(e, &saved).toHex(' '), "cc 05 09 01 07 03 01 23 4f 02 05 02 00 ff");
    EXPECT_TRUE(saved);
    EXPECT_EQ(store.m_names[1], QStringLiteral("Büro"));
    EXPECT_EQ(store.m_numbers[1], QStringLiteral("0301234"));
    EXPECT_EQ(store.m_sounds[1], QStringLiteral("buero.wav"));
    EXPECT_EQ(list.rowOfEntry(1).name, QStringLiteral("Büro"));
    EXPECT_EQ(list.rowOfEntry(1).number, QStringLiteral("0301234"));
    EXPECT_EQ(list.rowOfEntry(1).attributes, 0x02050200u);
    EXPECT_EQ(list.rowOfEntry(1).attributesText, QStringLiteral("Kurzwahl, Babyruf"));

    e.number.clear();
    e.dialBlock = true;
    store.m_writable = false;
    EXPECT_EQ(list.save(e, &saved).toHex(' '), "cc 05 09 01 00 02 05 02 ff ff");
    EXPECT_FALSE(saved);
    EXPECT_EQ(list.rowOfEntry(1).attributesText, QString());
    // A later read compares with the start-up copy, not with what was saved.
    list.applyEntry({1, "0301234", 0});
    EXPECT_EQ(list.rowOfEntry(1).number, QStringLiteral("<0301234>"));

    SpeedDialEditor nothing;
    EXPECT_TRUE(list.save(nothing).isEmpty());
}

QStringList column(const SpeedDialList& list, int column, int count)
{
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        const SpeedDialRow& r = list.row(i);
        texts << (column == SpeedDialList::NameColumn     ? r.name
                  : column == SpeedDialList::NumberColumn ? r.number
                                                          : r.entryText);
    }
    return texts;
}

TEST(SpeedDialList, Sorting)
{
    MapStore store;
    store.m_names = {{1, "berta"}, {2, "Anton"}, {3, "Cäsar"}, {4, "anton"}};
    store.m_numbers = {{5, "0301"}, {6, "0201"}};
    SpeedDialList list(store);
    list.applyEntry({5, "0301", 0});
    list.applyEntry({6, "0201", 0});

    list.sortByColumn(SpeedDialList::NameColumn);
    EXPECT_EQ(column(list, SpeedDialList::NameColumn, 5), (QStringList{"Anton", "anton", "berta", "Cäsar", ""}));
    EXPECT_EQ(list.row(0).entry, 2);
    EXPECT_EQ(list.row(59).name, QString());

    list.sortByColumn(SpeedDialList::NameColumn); // again: reversed, empty names still last
    EXPECT_TRUE(list.sortDescending());
    EXPECT_EQ(column(list, SpeedDialList::NameColumn, 5), (QStringList{"Cäsar", "berta", "anton", "Anton", ""}));

    list.sortByColumn(SpeedDialList::NumberColumn);
    EXPECT_EQ(column(list, SpeedDialList::NumberColumn, 3), (QStringList{"0201", "0301", ""}));
    EXPECT_FALSE(list.sortDescending());

    list.sortByColumn(SpeedDialList::EntryColumn);
    EXPECT_EQ(list.row(0).entryText, QStringLiteral("301"));
    list.sortByColumn(SpeedDialList::EntryColumn);
    EXPECT_EQ(list.row(0).entryText, QStringLiteral("360"));
    EXPECT_EQ(list.row(59).entryText, QStringLiteral("301"));

    list.sortByColumn(7); // no such column
    EXPECT_EQ(list.sortColumn(), SpeedDialList::EntryColumn);
}

} // namespace
