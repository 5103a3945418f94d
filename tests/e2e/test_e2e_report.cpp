#include "E2eHarness.h"
#include "PdfPage.h"

#include "Golden.h"
#include "common/Cp1252.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

// `kavexctl report` over hand-written history and log files of October and November 2026: a
// counter reset in November, calls across midnight at the end of both months.
namespace {

class Report : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::copy(Golden::path(QStringLiteral("report-history.dat")), path("WinKavex.dat")));
        ASSERT_TRUE(QFile::copy(Golden::path(QStringLiteral("report-outgoing.out")), path("WinKavex.out")));
        QFile settings(path("WinKavex.INI"));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        // A name that a spreadsheet would take for a formula.
        settings.write(Cp1252::fromUnicode(QStringLiteral("[Allgemein]\r\nKosten=0,12\r\nDruckenMitRand=Ja\r\n"
                                                          "[Bezeichnungen]\r\n21=Büro\r\n22=Küche\r\n23==Gast\r\n")));
    }
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    CtlRun report(const QStringList& args, const QString& dir = {})
    {
        return runKavexctl(QStringList{QStringLiteral("report")} + args, dir.isEmpty() ? m_dir.path() : dir);
    }

    QTemporaryDir m_dir;
};

TEST_F(Report, CsvAndJsonOfTwoMonths)
{
    const std::vector<std::pair<QStringList, const char*>> cases = {
        {{QStringLiteral("--month"), QStringLiteral("2026-11"), QStringLiteral("--csv")}, "report-2026-11.csv"},
        {{QStringLiteral("--month"), QStringLiteral("2026-10"), QStringLiteral("--csv")}, "report-2026-10.csv"},
        {{QStringLiteral("--json"), QStringLiteral("--month"), QStringLiteral("2026-11")}, "report-2026-11.json"},
    };
    for (const auto& [args, golden] : cases) {
        const CtlRun run = report(args);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(Golden::matches(QString::fromLatin1(golden), run.out));
    }
}

// The default is a table for people; its texts are the same as in CSV.
TEST_F(Report, ReadableTable)
{
    const CtlRun run = report({QStringLiteral("--month"), QStringLiteral("2026-11")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = QString::fromUtf8(run.out).split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 14);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Monatsbericht November 2026, Preis pro Einheit 0")));
    // The decimal separator is the locale's.
    const QRegularExpression row21(QStringLiteral("^21 +Büro +70 +8[.,]40 +3 +15 +1[.,]80 +1:11:00$"));
    EXPECT_TRUE(row21.match(lines[3]).hasMatch()) << lines[3].toStdString();
    EXPECT_TRUE(lines[11].startsWith(QStringLiteral("040 777                 Hamburger Hafenverwaltung GmbH")));
}

TEST_F(Report, PdfPage)
{
    const CtlRun run =
        report({QStringLiteral("--month"), QStringLiteral("2026-11"), QStringLiteral("--pdf"), path("m.pdf")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const std::vector<Word> words = wordsOf(path("m.pdf"));
    EXPECT_EQ(pageCount(words), 1);
    // Rows: headings 13, extensions 14..16, sum 18; the numbers from row 25, the footer in row 47.
    const std::vector<std::tuple<const char*, int, int>> left = {
        {"Monatsbericht", 7, 45},  {"Gebührenzähler", 12, 30}, {"Nebenstelle", 13, 8}, {"Küche", 15, 15},
        {"=Gast", 16, 15},         {"Summe", 18, 8},           {"Rufnummer", 24, 13},  {"0171", 25, 13},
        {"Mobil\\x1b[2J", 25, 30}, {"München", 28, 30},        {"WinKavex", 47, 7},
    };
    for (const auto& [text, row, column] : left)
        EXPECT_TRUE(placed(words, 0, QString::fromUtf8(text), row, column)) << text;
    const std::vector<std::tuple<const char*, int, int>> right = {
        {"Einheiten", 13, 37}, {"70", 14, 37},      {"95", 18, 37}, {"Dauer", 13, 98}, {"1:11:00", 14, 98},
        {"1:19:40", 18, 98},   {"1:01:30", 27, 92}, {"5.", 29, 11}, {"0.12", 47, 99},
    };
    for (const auto& [text, row, column] : right)
        EXPECT_TRUE(placed(words, 0, QString::fromUtf8(text), row, column, true)) << text;
    // The bars in the extensions' colours of the charts: 21 blue, 22 red; 23's is short.
    const QRgb blue = colourAt(path("m.pdf"), 14.5, 50), red = colourAt(path("m.pdf"), 15.5, 48);
    EXPECT_TRUE(qBlue(blue) > 200 && qRed(blue) < 60 && qGreen(blue) < 60) << std::hex << blue;
    EXPECT_TRUE(qRed(red) > 200 && qBlue(red) < 60 && qGreen(red) < 60) << std::hex << red;
    EXPECT_GT(qGray(colourAt(path("m.pdf"), 16.5, 55)), 192);
    EXPECT_LT(qGray(colourAt(path("m.pdf"), 20, 4.5)), 64); // the side bar
}

// Every failure: a German reason on stderr, exit status 1, no output file and nothing beside it.
TEST_F(Report, Failures)
{
    QTemporaryDir empty;
    QTemporaryDir damaged;
    QFile::copy(path("WinKavex.out"), damaged.filePath(QStringLiteral("WinKavex.out")));
    QFile history(damaged.filePath(QStringLiteral("WinKavex.dat")));
    ASSERT_TRUE(history.open(QIODevice::WriteOnly));
    history.write("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    history.close();
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("taken.pdf")));
    const QString month = QStringLiteral("--month");
    struct Case
    {
        QStringList args;
        QString dir;
        QString message;
    };
    const std::vector<Case> cases = {
        {{month, QStringLiteral("2026-13")}, {}, QStringLiteral("Kein Monat: 2026-13 (erwartet JJJJ-MM")},
        {{month, QStringLiteral("11.2026")}, {}, QStringLiteral("Kein Monat: 11.2026")},
        {{month}, {}, QStringLiteral("Aufruf: kavexctl report")},
        {{QStringLiteral("--csv"), QStringLiteral("--json")}, {}, QStringLiteral("Aufruf: kavexctl report")},
        {{},
         m_dir.filePath(QStringLiteral("fehlt")),
         QStringLiteral("Programmverzeichnis ") + m_dir.filePath(QStringLiteral("fehlt")) +
             QStringLiteral(" nicht gefunden")},
        {{}, empty.path(), empty.filePath(QStringLiteral("WinKavex.dat nicht gefunden"))},
        {{}, damaged.path(), damaged.filePath(QStringLiteral("WinKavex.dat ist beschädigt (Zeile 1)"))},
        {{QStringLiteral("--pdf"), QStringLiteral("/dev/full")}, {}, QStringLiteral("/dev/full")},
        {{QStringLiteral("--pdf"), path("taken.pdf")}, {}, QStringLiteral("Kann nicht nach ") + path("taken.pdf")},
        {{QStringLiteral("--pdf"), path("fehlt/m.pdf")}, {}, QStringLiteral("Kann nicht nach ") + path("fehlt/m.pdf")},
    };
    const QStringList before = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const Case& c : cases) {
        const CtlRun run = report(c.args, c.dir);
        EXPECT_EQ(run.exitCode, 1) << c.args.join(' ').toStdString();
        EXPECT_TRUE(QString::fromUtf8(run.err).contains(c.message)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << c.args.join(' ').toStdString();
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(QDir(path("taken.pdf")).isEmpty());
}

} // namespace
