#include "ExchangeReply.h"
#include "FakeTransport.h"
#include "Golden.h"
#include "KillPoints.h"
#include "MockClock.h"
#include "charges/ChargeUpdate.h"
#include "charges/HistoryFile.h"
#include "charges/PendingCall.h"
#include "common/FormatPicture.h"
#include "link/PbxLink.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString money(double value, int width = 4)
{
    return FormatPicture::fixed(value, width);
}

// A charge update over an image as the link leaves it after a charge reply, in virtual time.
struct Rig
{
    QTemporaryDir dir;
    MockClock clock{QDateTime(QDate(2026, 3, 2), QTime(9, 15, 0))};
    FakeTransport transport{clock};
    ConfigImage image;
    PbxLink link{transport, clock, image};
    PendingCall call{link.stateEvents(), link, clock};
    ChargeUpdate update{image, call, clock, historyPath()};
    QStringList texts;

    explicit Rig(int count = 8)
    {
        image[2] = static_cast<quint8>(count);
        QObject::connect(&update, &ChargeUpdate::statusText, [this](StatusLevel level, const QString& text) {
            texts << QString::number(int(level)) + text;
        });
    }
    QString historyPath() const { return dir.filePath(QStringLiteral("WinKavex.dat")); }
    QString backupPath() const { return dir.filePath(QStringLiteral("WinKavex.bak")); }
    void read(const Units& units)
    {
        image[800] = 21;
        for (int i = 0; i < 8; ++i) {
            image[801 + 2 * i] = static_cast<quint8>(units[i] & 0xFF);
            image[802 + 2 * i] = static_cast<quint8>(units[i] >> 8);
        }
        update.run();
    }
};

} // namespace

TEST(ChargeUpdate, UnitsCostsAndPublishedTextsOfTheExtensionsPresent)
{
    Rig rig(3);
    ChargePrices prices;
    prices.pricePerUnit = 0.12;
    prices.baselineUnits = {100, 5, 0, 0, 0, 0, 0, 0};
    prices.baselineCosts = {20.0, 1.5, 0, 0, 0, 0, 0, 0};
    rig.update.setPrices(prices);
    EXPECT_EQ(rig.update.unitsItem(), QString());
    rig.image[800] = 21;
    rig.image[801] = 0x34; // 4660 on extension 21
    rig.image[802] = 0x12;
    rig.image[803] = 3; // extension 22: reset below its baseline of 5
    rig.image[805] = 7;
    rig.image[807] = 99; // extension 24 is not there: never read
    rig.update.run();

    EXPECT_EQ(rig.update.units()[0], 4660);
    EXPECT_EQ(rig.update.units()[3], 0);
    EXPECT_EQ(rig.update.unitsText(0), QStringLiteral("4660"));
    EXPECT_EQ(rig.update.unitsText(3), QString());
    EXPECT_DOUBLE_EQ(rig.update.cost(0), 0.12 * (4660 - 100) + 20.0);
    EXPECT_DOUBLE_EQ(rig.update.cost(1), 0.12 * 3); // the carried-over cost no longer applies
    EXPECT_DOUBLE_EQ(rig.update.cost(2), 0.12 * 7);
    EXPECT_EQ(rig.update.costText(4), QString());
    EXPECT_EQ(rig.update.totalUnits(), 4670);
    EXPECT_EQ(rig.update.totalCostText(), money(rig.update.totalCost(), 6));
    EXPECT_EQ(rig.update.unitsItem(), QStringLiteral("4660;3;7;0;0;0;0;0"));
    EXPECT_EQ(rig.update.costsItem(), QStringList({money(567.2), money(0.36), money(0.84)}).join(u';'));

    // A reply of another kind is not a charge reading.
    rig.image[800] = 5;
    rig.image[801] = 0;
    rig.update.run();
    EXPECT_EQ(rig.update.units()[0], 4660);
}

TEST(ChargeUpdate, HistoryGrowsOnlyWhenTheTotalChangesAndIsBackedUpOncePerRun)
{
    Rig rig;
    rig.read({10, 0, 0, 0, 0, 0, 0, 0}); // no file yet: header and the first line
    EXPECT_EQ(rig.texts, QStringList{QStringLiteral("0Öffnen der Gebührendatei brachte Fehler 2")});
    EXPECT_FALSE(QFile::exists(rig.backupPath()));
    rig.clock.advance(60000);
    rig.read({10, 0, 0, 0, 0, 0, 0, 0}); // the same total: no line
    EXPECT_EQ(rig.update.differenceText(0), QString());
    EXPECT_EQ(rig.update.totalDifferenceText(), QString());
    const QByteArray beforeAppend = fileBytes(rig.historyPath());

    rig.clock.setNow(rig.clock.now().addSecs(3600));
    rig.read({12, 3, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(fileBytes(rig.backupPath()), beforeAppend); // made just before the first new line
    EXPECT_EQ(rig.update.differenceText(0), QStringLiteral("(+2)"));
    EXPECT_EQ(rig.update.differenceText(1), QStringLiteral("(+3)"));
    EXPECT_EQ(rig.update.totalDifferenceText(), QStringLiteral("(+5)"));

    rig.clock.advance(60000);
    rig.read({2, 0, 0, 0, 0, 0, 0, 0});                   // counters reset at the exchange: a lower total is a change
    EXPECT_EQ(fileBytes(rig.backupPath()), beforeAppend); // once per run
    EXPECT_EQ(rig.update.differenceText(0), QString());
    EXPECT_TRUE(Golden::matches(QStringLiteral("history-written.dat"), fileBytes(rig.historyPath())));
}

TEST(ChargeUpdate, AHistoryThatCannotBeReadIsReportedAndNeverReplaced)
{
    struct Case
    {
        const char* what;
        bool directory;
    };
    for (const Case& c : {Case{"a directory in its place", true}, Case{"no read permission", false}}) {
        SCOPED_TRACE(c.what);
        Rig rig;
        if (c.directory) {
            ASSERT_TRUE(QDir().mkdir(rig.historyPath()));
        } else {
            QFile file(rig.historyPath());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("old lines\r\n");
            file.close();
            file.setPermissions(QFileDevice::WriteOwner);
            if (file.open(QIODevice::ReadOnly))
                continue; // root reads anyway; the directory case covers it
        }
        rig.read({10, 0, 0, 0, 0, 0, 0, 0});
        ASSERT_EQ(rig.texts.size(), 1);
        EXPECT_TRUE(rig.texts[0].startsWith(QStringLiteral("2Öffnen der Gebührendatei brachte Fehler ")));
        EXPECT_EQ(rig.update.totalUnitsText(), QStringLiteral("10")); // the reading itself goes on
        EXPECT_FALSE(QFile::exists(rig.backupPath()));
        if (!c.directory) {
            QFile(rig.historyPath()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            EXPECT_EQ(fileBytes(rig.historyPath()), QByteArray("old lines\r\n"));
        }
    }
}

TEST(PeriodList, ARunWithoutHistoryGetsThisMonthAndTheOverallEntry)
{
    Rig rig;
    rig.read({5, 0, 0, 0, 0, 0, 0, 0});
    const auto& entries = rig.update.periods().entries();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].text, QStringLiteral("März 2026"));
    EXPECT_EQ(entries[1].text, QStringLiteral("Gesamtübersicht"));
    EXPECT_EQ(entries[0].line, entries[1].line);
    EXPECT_EQ(entries[1].line, QString(18, u' ') + QStringLiteral("       5") + QStringLiteral("       0").repeated(7));
    EXPECT_EQ(rig.update.periods().selected(), 1);

    // Later readings overwrite both; the month is not split while the program runs.
    rig.clock.setNow(QDateTime(QDate(2026, 4, 1), QTime(8, 0)));
    rig.read({9, 0, 0, 0, 0, 0, 0, 0});
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(CounterLine::column(entries[0].line, 0), 9);
}

// A history written by hand in the file's format: one entry per month with the month's last line;
// March 2025 and March 2026 follow each other and so fall into one entry.
TEST(PeriodList, AHandWrittenHistoryLoadsIntoMonthEntries)
{
    const QString path = Golden::path(QStringLiteral("history-hand.dat"));
    const PeriodList list = PeriodList::fromHistory(path);
    QStringList texts, dates;
    for (const auto& e : list.entries()) {
        texts << e.text;
        dates << e.line.mid(2, 10);
    }
    EXPECT_EQ(texts, (QStringList{"Januar 2025", "Februar 2025", "März 2026"}));
    EXPECT_EQ(dates, (QStringList{"31.01.2025", "14.02.2025", "15.03.2026"}));
    EXPECT_EQ(CounterLine::columns(list.entries()[1].line), (Units{20, 5, 1, 0, 0, 0, 0, 0}));

    // The same file as the last line of the history: previous units and the recorded total.
    Rig rig;
    ASSERT_TRUE(QFile::copy(path, rig.historyPath()));
    rig.update.loadPeriods();
    rig.read({40, 11, 4, 0, 0, 0, 0, 0});
    EXPECT_EQ(rig.update.previousUnits(), (Units{40, 11, 4, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rig.update.lastRecordedTotal(), 55);
    EXPECT_EQ(fileBytes(rig.historyPath()), fileBytes(path)); // nothing new
    EXPECT_EQ(rig.update.periods().entries().last().text, QStringLiteral("Gesamtübersicht"));
    EXPECT_EQ(rig.update.periods().size(), 4); // "März 2026" is this month's entry
}

TEST(HistoryFile, LastLineRules)
{
    struct Case
    {
        const char* line;
        Units previous;
        int total;
    };
    const Case cases[] = {
        {"| 02.03.2026 09:15 |    12 |     3 |     0 |     0 |     0 |     0 |     0 |     0 |    15 |", {12, 3}, 15},
        {"| 02.03.2026 09:15 | 32501 | 32500 |     x |     0 |     0 |     0 |     0 |     0 | 65001 |",
         {0, 32500},
         65001},
        {"============================================================================================", {}, 0},
        {"short", {}, 0},
    };
    for (const Case& c : cases) {
        const HistoryFile::Last last = HistoryFile::parseLast(QString::fromLatin1(c.line));
        EXPECT_EQ(last.previous, c.previous) << c.line;
        EXPECT_EQ(last.total, c.total) << c.line;
    }
}

// Killed at any byte of a reading's record (its backup first, then the appended line), or stopped
// there by a full disk, the history holds its old lines and at most the whole new one.
TEST(HistoryFile, AnAppendKilledAtAnyByteLeavesNoPartialLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("WinKavex.dat"));
    const QDateTime when(QDate(2026, 12, 9), QTime(8, 0));
    const Units units{12, 3, 0, 0, 0, 0, 0, 0};
    const QByteArray before =
        HistoryFile::headerText().toLatin1() + HistoryFile::dataLine(when.addDays(-1), {10}, 10).toLatin1() + "\r\n";
    const QByteArray after = before + HistoryFile::dataLine(when, units, 15).toLatin1() + "\r\n";
    const auto put = [&] {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(before), before.size());
    };
    for (qint64 limit = 0; limit <= after.size(); limit += limit < before.size() - 4 ? 23 : 1) {
        put();
        QFile::remove(HistoryFile(path).backupPath());
        KillPoints::runWithFileSizeLimit(limit, [&] {
            HistoryFile::Last last;
            HistoryFile(path).update(units, 15, when, last);
        });
        const QByteArray now = fileBytes(path);
        ASSERT_TRUE(now == before || now == after) << "stopped at byte " << limit << ": " << now.size();
        EXPECT_EQ(now == after, limit == after.size()) << limit;
    }
}

// A history that was missing gets its header; when the data line after it cannot be written, that
// is reported as a lost line too.
TEST(ChargeUpdate, ANewHistoryWhoseFirstLineCannotBeWrittenIsReported)
{
    Rig rig;
    const qint64 header = HistoryFile::headerText().toLatin1().size();
    const int status = KillPoints::runWithFileSizeLimit(header + 10, [&] {
        ::signal(SIGXFSZ, SIG_IGN); // the write fails instead of killing the child
        rig.read({10, 0, 0, 0, 0, 0, 0, 0});
        const bool reported =
            rig.texts.contains(QStringLiteral("2Kann nicht nach %1 schreiben").arg(rig.historyPath()));
        ::_exit(reported ? 0 : 1);
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "no report of the lost line";
    EXPECT_EQ(fileBytes(rig.historyPath()), HistoryFile::headerText().toLatin1());
}
