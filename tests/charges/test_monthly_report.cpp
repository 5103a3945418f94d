#include "charges/CompletedCall.h"
#include "charges/MonthUnits.h"
#include "charges/MonthlyReport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Reading
{
    const char* day;
    Units counters;
};

struct UnitsCase
{
    const char* what;
    std::vector<Reading> history;
    Units expected; // for November 2026
};

QDate day(const char* text)
{
    return QDate::fromString(QString::fromLatin1(text), QStringLiteral("dd.MM.yyyy"));
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const QByteArray HistoryHeader = QByteArray(92, '=') +
                                 "\r\n|       Datum      |   21  |   22  |   23  |   24  |   25  |   26  |   27  |   "
                                 "28  | Summe |\r\n" +
                                 QByteArray(92, '=') + "\r\n";
const QByteArray LogHeader = "   Datum     Zeit     Nebenstelle   Rufnummer             Name                       "
                             "Einheiten  Kosten  Dauer\r\n" +
                             QByteArray(110, '=') + "\r\n";

} // namespace

TEST(MonthUnits, EachLineAgainstTheOneBeforeAResetCountsFromZero)
{
    const std::vector<UnitsCase> cases = {
        {"the month's last line against the last one before it",
         {{"31.10.2026", {100, 50}}, {"05.11.2026", {120, 50}}, {"30.11.2026", {150, 70}}, {"01.12.2026", {900, 900}}},
         {50, 20}},
        {"a reset in the month: what was gained before it and what the counter shows after it",
         {{"31.10.2026", {100}}, {"10.11.2026", {130}}, {"20.11.2026", {4}}, {"30.11.2026", {10}}},
         {40}},
        {"a reset at the month's first reading", {{"31.10.2026", {100}}, {"02.11.2026", {7}}}, {7}},
        {"a history that begins in the month counts from its first line",
         {{"03.11.2026", {5000, 10}}, {"30.11.2026", {5012, 10}}},
         {12}},
        {"no reading in the month", {{"31.10.2026", {100}}, {"01.12.2026", {300}}}, {}},
        {"only readings before the month", {{"15.10.2026", {100}}}, {}},
    };
    for (const UnitsCase& c : cases) {
        MonthUnits month(QDate(2026, 11, 17));
        for (const Reading& r : c.history)
            month.add(day(r.day), r.counters);
        EXPECT_EQ(month.units(), c.expected) << c.what;
    }
}

TEST(CompletedCall, RecordLinesByTheirColumns)
{
    struct Case
    {
        const char* what;
        QString line;
        int units;
        double cost;
        qint64 seconds;
        const char* name;
    };
    const QString start = QStringLiteral("30.11.2026 23:59:00        23       030 1234567           ");
    const std::vector<Case> cases = {
        {"completed, across midnight", start + QStringLiteral("Berlin                          2      0,24    1:30"), 2,
         0.24, 90, "Berlin"},
        {"an hour or more", start + QStringLiteral("Berlin                       1234     12,34 1:02:03"), 1234, 12.34,
         3723, "Berlin"},
        {"never completed", start + QStringLiteral("Berlin                     "), 0, 0.0, 0, "Berlin"},
        {"a counter reset during the call",
         start + QStringLiteral("Berlin                         -2     -0,24    1:00"), 0, 0.0, 60, "Berlin"},
        {"renamed to 30 characters, into the units' columns",
         start + QStringLiteral("Hamburger Hafenverwaltung GmbH  7      0,84    3:00"), 7, 0.84, 180,
         "Hamburger Hafenverwaltung GmbH"},
        {"figures that are none", start + QStringLiteral("Berlin                         zz       nan   ab:cd"), 0, 0.0,
         0, "Berlin"},
    };
    for (const Case& c : cases) {
        const std::optional<CompletedCall> call = CompletedCall::parse(c.line);
        ASSERT_TRUE(call) << c.what;
        EXPECT_EQ(call->day, QDate(2026, 11, 30)) << c.what;
        EXPECT_EQ(call->extension, 23) << c.what;
        EXPECT_EQ(call->number, QStringLiteral("030 1234567")) << c.what;
        EXPECT_EQ(call->name, QString::fromUtf8(c.name)) << c.what;
        EXPECT_EQ(call->units, c.units) << c.what;
        EXPECT_DOUBLE_EQ(call->cost, c.cost) << c.what;
        EXPECT_EQ(call->seconds, c.seconds) << c.what;
    }
    EXPECT_FALSE(CompletedCall::parse(QStringLiteral("31.02.2026 10:00:00        21       0301")));
    EXPECT_FALSE(CompletedCall::parse(QStringLiteral("01.11.2026 10:00:00        29       0301")));
}

TEST(MonthlyReport, MonthArgument)
{
    EXPECT_EQ(MonthlyReport::parseMonth(QStringLiteral("2026-02")), QDate(2026, 2, 1));
    for (const char* bad : {"2026-13", "2026-00", "0000-05", "2026-1", "26-01", "2026-01-01", "Mai", ""})
        EXPECT_FALSE(MonthlyReport::parseMonth(QString::fromLatin1(bad)).isValid()) << bad;
}

// Files that are no history or no log stop the report with the file and the line named.
TEST(MonthlyReport, DamagedFilesAreNamed)
{
    QTemporaryDir dir;
    const QString history = dir.filePath(QStringLiteral("WinKavex.dat"));
    const QString log = dir.filePath(QStringLiteral("WinKavex.out"));
    const QByteArray goodLine = "| 02.11.2026 08:00 |   230 |    80 |    20 |     0 |     0 |     0 |     0 |     0 "
                                "|   330 |\r\n";
    const QByteArray goodRecord = "\r\n01.11.2026 00:05:00        21       030 1234567           Berlin            "
                                  "              3      0,36 1:00:00";
    struct Case
    {
        const char* what;
        QByteArray history, log;
        const char* error; // empty: a report
    };
    const std::vector<Case> cases = {
        {"both good", HistoryHeader + goodLine, LogHeader + goodRecord, ""},
        {"an empty history", "", LogHeader, "WinKavex.dat ist beschädigt (Zeile 1)"},
        {"an empty log", HistoryHeader, "", "WinKavex.out ist beschädigt (Zeile 1)"},
        {"no history header", goodLine, LogHeader, "WinKavex.dat ist beschädigt (Zeile 1)"},
        {"a history line without a date", HistoryHeader + goodLine + "|   kaputt\r\n", LogHeader,
         "WinKavex.dat ist beschädigt (Zeile 5)"},
        {"binary in the log", HistoryHeader,
         LogHeader + "\r\n\x7f"
                     "ELF\x02\x01\x01",
         "WinKavex.out ist beschädigt (Zeile 4)"},
        {"a record of extension 31", HistoryHeader, LogHeader + "\r\n01.11.2026 00:05:00        31       0301",
         "WinKavex.out ist beschädigt (Zeile 4)"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(write(history, c.history));
        ASSERT_TRUE(write(log, c.log));
        const MonthlyReportResult result = MonthlyReport::read({history, log, QDate(2026, 11, 1), 0.1, {}, 0});
        EXPECT_EQ(result.report.has_value(), *c.error == 0) << c.what;
        if (*c.error != 0) {
            EXPECT_TRUE(result.error.endsWith(QString::fromUtf8(c.error)))
                << c.what << ": " << result.error.toStdString();
        }
    }
    QFile::remove(log);
    EXPECT_EQ(MonthlyReport::read({history, log, QDate(2026, 11, 1), 0.1, {}, 0}).error, log + " nicht gefunden");
}

// Without the exchange's count, any trace of extensions 24..28 in either file means eight.
TEST(MonthlyReport, PresentExtensions)
{
    QTemporaryDir dir;
    const QString history = dir.filePath(QStringLiteral("WinKavex.dat"));
    const QString log = dir.filePath(QStringLiteral("WinKavex.out"));
    const QByteArray small =
        "| 02.11.2026 08:00 |   230 |    80 |    20 |     0 |     0 |     0 |     0 |     0 |   330 |\r\n";
    const QByteArray large =
        "| 02.11.2026 08:00 |   230 |    80 |    20 |     0 |     0 |     0 |     0 |     1 |   331 |\r\n";
    const QByteArray call28 =
        "\r\n15.10.2026 10:00:00        28       0301                                             ";
    struct Case
    {
        QByteArray history, log;
        int given, expected;
    };
    const std::vector<Case> cases = {
        {small, {}, 0, 3}, {large, {}, 0, 8}, {small, call28, 0, 8}, {large, {}, 3, 3}, {small, {}, 8, 8},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(write(history, HistoryHeader + c.history));
        ASSERT_TRUE(write(log, LogHeader + c.log));
        const MonthlyReportResult result = MonthlyReport::read({history, log, QDate(2026, 11, 1), 0.1, {}, c.given});
        ASSERT_TRUE(result.report) << result.error.toStdString();
        EXPECT_EQ(result.report->extensions.size(), static_cast<std::size_t>(c.expected)) << c.given;
    }
}
