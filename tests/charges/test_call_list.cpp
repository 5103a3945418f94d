#include "charges/CallList.h"
#include "charges/CallListExport.h"
#include "charges/CallListFilter.h"
#include "charges/OutgoingCallLog.h"
#include "common/FormatPicture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

struct Lists
{
    CallList list{OutgoingCallLog::columns()};
    CallListFilter filter{list};

    Lists()
    {
        list.append({"01.03.2026 09:00:00", "21", "030 1234567", "berlin", "12", "1,44", "2:05"});
        list.append({"01.03.2026 10:00:00", "22", "089 987", "München", "3", "0,36", "0:40"});
        list.append({"02.03.2026 08:00:00", "23", "0221 55", "Köln \"Dom\", Süd", "", "", ""});
        list.append({"28.02.2026 12:00:00", "21", "040 1", "Berlin", "100", "12,00", "1:00:00"});
    }
    QStringList shown(int column) const
    {
        QStringList texts;
        for (int row = 0; row < filter.rowCount(); ++row)
            texts << filter.index(row, column).data().toString();
        return texts;
    }
};

} // namespace

// Units compare as numbers (no number counts as -1); everything else as text, ignoring case, so
// dates sort as text; the same column again reverses the order.
TEST(CallListFilter, SortingAndSearching)
{
    Lists lists;
    lists.filter.clickColumn(OutgoingCallLog::UnitsColumn);
    EXPECT_EQ(lists.shown(OutgoingCallLog::UnitsColumn), (QStringList{"", "3", "12", "100"}));
    EXPECT_EQ(lists.filter.signedColumn(), OutgoingCallLog::UnitsColumn + 1);
    lists.filter.clickColumn(OutgoingCallLog::UnitsColumn);
    EXPECT_EQ(lists.shown(OutgoingCallLog::UnitsColumn), (QStringList{"100", "12", "3", ""}));
    EXPECT_EQ(lists.filter.signedColumn(), -(OutgoingCallLog::UnitsColumn + 1));

    lists.filter.clickColumn(OutgoingCallLog::TimeColumn);
    EXPECT_EQ(lists.shown(OutgoingCallLog::TimeColumn).first(), QStringLiteral("01.03.2026 09:00:00"));
    EXPECT_EQ(lists.shown(OutgoingCallLog::TimeColumn).last(), QStringLiteral("28.02.2026 12:00:00"));
    lists.filter.clickColumn(OutgoingCallLog::NameColumn);
    EXPECT_EQ(lists.shown(OutgoingCallLog::NameColumn).mid(0, 2), (QStringList{"berlin", "Berlin"}));

    lists.filter.setSearch(QStringLiteral("BERLIN"));
    EXPECT_EQ(lists.filter.rowCount(), 2);
    EXPECT_EQ(lists.filter.footerText(),
              QStringLiteral("2 Gespräche · 112 Einheiten · Kosten ") + FormatPicture::fixed(13.44, 0));
    lists.filter.setSearch(QStringLiteral("0:40"));
    ASSERT_EQ(lists.filter.rowCount(), 1);
    EXPECT_EQ(lists.filter.sourceRow(0), 1);
    lists.filter.setSearch(QString());
    EXPECT_EQ(lists.filter.rowCount(), 4);
}

// A sorted list stays sorted through a rename, new rows and a reload.
TEST(CallListFilter, KeepsItsOrderWhenRowsChangeOrArrive)
{
    Lists lists;
    lists.filter.clickColumn(OutgoingCallLog::NameColumn);
    lists.list.setText(0, OutgoingCallLog::NameColumn, QStringLiteral("Zwickau"));
    EXPECT_EQ(lists.shown(OutgoingCallLog::NameColumn),
              (QStringList{"Berlin", "Köln \"Dom\", Süd", "München", "Zwickau"}));
    lists.list.append({"03.03.2026 07:00:00", "24", "0711 2", "aachen", "5", "0,60", "0:10"});
    EXPECT_EQ(lists.shown(OutgoingCallLog::NameColumn).first(), QStringLiteral("aachen"));
    lists.filter.clickColumn(OutgoingCallLog::UnitsColumn);
    lists.list.setText(1, OutgoingCallLog::UnitsColumn, QStringLiteral("1000"));
    EXPECT_EQ(lists.shown(OutgoingCallLog::UnitsColumn), (QStringList{"", "5", "12", "100", "1000"}));
    lists.list.replaceAll({{"04.03.2026 07:00:00", "25", "0711 3", "b", "7", "", ""},
                           {"04.03.2026 08:00:00", "26", "0711 4", "a", "2", "", ""}});
    EXPECT_EQ(lists.shown(OutgoingCallLog::UnitsColumn), (QStringList{"2", "7"}));
}

TEST(CallListExport, CsvQuotesWhereNeededAndJsonKeysByHeading)
{
    Lists lists;
    lists.filter.setSearch(QStringLiteral("Köln"));
    EXPECT_EQ(CallListExport::csv(lists.filter),
              QStringLiteral("Zeit,NSt.,Rufnummer,Name,Einh.,Kosten,Dauer\r\n"
                             "02.03.2026 08:00:00,23,0221 55,\"Köln \"\"Dom\"\", Süd\",,,\r\n")
                  .toUtf8());
    lists.filter.setSearch(QStringLiteral("München"));
    const QJsonArray calls = QJsonDocument::fromJson(CallListExport::json(lists.filter)).array();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].toObject().value(QStringLiteral("Kosten")).toString(), QStringLiteral("0,36"));
    EXPECT_EQ(calls[0].toObject().value(QStringLiteral("Name")).toString(), QStringLiteral("München"));
}

// What a spreadsheet would take for a formula is quoted with "'" so that it stays text; other
// cells are as they were.
TEST(CallListExport, CellsThatWouldBeFormulasStayText)
{
    const struct
    {
        const char* cell;
        const char* field;
    } cases[] = {{"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
                 {"+49 30 1234", "'+49 30 1234"},
                 {"-1+1", "'-1+1"},
                 {"@SUM(A1)", "'@SUM(A1)"},
                 {"\tx", "'\tx"},
                 {"0301 = Berlin", "0301 = Berlin"},
                 {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(CallListExport::csvField(QString::fromUtf8(c.cell)), QString::fromUtf8(c.field)) << c.cell;
}
