#include "E2eHarness.h"
#include "PdfPage.h"

#include "Golden.h"
#include "common/Cp1252.h"
#include "common/FormatPicture.h"
#include "config/ConfigFile.h"
#include "image/ImageLayout.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

// `kavexctl print` into PDF files, read back with the text positions of pdftotext -bbox and
// the pixels of pdftoppm.
namespace {

class PrintToPdf : public testing::Test
{
protected:
    void SetUp() override { writeSettings(QStringLiteral("Ja")); }
    void writeSettings(const QString& bars)
    {
        QFile file(m_dir.filePath(QStringLiteral("WinKavex.INI")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(Cp1252::fromUnicode(QStringLiteral("[Allgemein]\r\nKosten=0,10\r\nDruckenMitRand=%1\r\n"
                                                      "[Bezeichnungen]\r\n22=Küche\r\n"
                                                      "[Kurzwahlen]\r\n302=Bäckerei\r\n"
                                                      "[Kurzwahlen-Rufnummer]\r\n302=089123\r\n")
                                           .arg(bars)));
    }
    CtlRun print(const QString& image, const QString& pdf, const QStringList& options)
    {
        return runKavexctl(
            QStringList{QStringLiteral("print"), Golden::path(image), QStringLiteral("--pdf"), m_dir.filePath(pdf)} +
                options,
            m_dir.path());
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

// Three extensions: three rows, the sum two rows below, the footer below the box; headings and
// values at their cells; units and costs from the file's charge region at the settings' price.
TEST_F(PrintToPdf, ConfigurationPageOfThreeExtensions)
{
    const CtlRun run = print(QStringLiteral("sim-image-198-3.kvx"), QStringLiteral("c.pdf"), {});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const std::vector<Word> words = wordsOf(path(QStringLiteral("c.pdf")));
    EXPECT_EQ(pageCount(words), 1);
    const std::vector<std::tuple<const char*, int, int>> cells = {
        {"Protokoll", 13, 8},     {"Firmware-Version", 18, 8},
        {"1.98", 18, 30},         {"Nebenstelle", 25, 8},
        {"Bezeichnung", 25, 15},  {"MSN-Zuordnung", 25, 30},
        {"Rufumleitung", 25, 40}, {"Dienst", 25, 60},
        {"Impuls", 25, 69},       {"Spontane", 25, 74},
        {"Küche", 28, 15},        {"Summe", 31, 8},
        {"WinKavex", 34, 7},      {"MSN", 21, 62},
    };
    for (const auto& [text, row, column] : cells)
        EXPECT_TRUE(placed(words, 0, QString::fromUtf8(text), row, column)) << text;
    EXPECT_TRUE(placed(words, 0, QStringLiteral("Einheiten"), 25, 92, true));
    EXPECT_TRUE(placed(words, 0, QStringLiteral("Kosten"), 25, 98, true));

    const std::optional<ConfigImage> image = ConfigFile::read(Golden::path(QStringLiteral("sim-image-198-3.kvx")));
    ASSERT_TRUE(image);
    int total = 0;
    for (int g = 0; g < 3; ++g) {
        const int units = ImageLayout::units(*image, g);
        total += units;
        EXPECT_TRUE(placed(words, 0, QString::number(units), 27 + g, 92, true)) << g;
        EXPECT_TRUE(placed(words, 0, FormatPicture::fixed(units * 0.10, 4).trimmed(), 27 + g, 98, true)) << g;
    }
    EXPECT_TRUE(placed(words, 0, QString::number(total), 31, 92, true));
    for (const Word& w : words)
        EXPECT_FALSE(w.yMin >= rowY(30) - 1 && w.yMin < rowY(31) - 1) << w.text.toStdString(); // no fourth row
}

TEST_F(PrintToPdf, SpeedDialPageAfterTheConfiguration)
{
    const CtlRun run =
        print(QStringLiteral("sim-image-200-8.kvx"), QStringLiteral("b.pdf"),
              {QStringLiteral("--mode"), QStringLiteral("2"), QStringLiteral("--speeddials-from-settings")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const std::vector<Word> words = wordsOf(path(QStringLiteral("b.pdf")));
    ASSERT_EQ(pageCount(words), 2);
    EXPECT_TRUE(placed(words, 0, QStringLiteral("Summe"), 36, 8));
    const std::vector<std::tuple<const char*, int, int>> cells = {
        {"Kurzwahl", 12, 8}, {"Attribute", 12, 80}, {"301", 14, 9},     {"330", 43, 9},      {"331", 14, 55},
        {"360", 43, 55},     {"Bäckerei", 15, 13},  {"089123", 15, 25}, {"WinKavex", 46, 7},
    };
    for (const auto& [text, row, column] : cells)
        EXPECT_TRUE(placed(words, 1, QString::fromUtf8(text), row, column)) << text;

    const CtlRun alone =
        print(QStringLiteral("sim-image-200-8.kvx"), QStringLiteral("k.pdf"),
              {QStringLiteral("--mode"), QStringLiteral("1"), QStringLiteral("--speeddials-from-settings")});
    ASSERT_EQ(alone.exitCode, 0) << alone.err.toStdString();
    const std::vector<Word> only = wordsOf(path(QStringLiteral("k.pdf")));
    EXPECT_EQ(pageCount(only), 1);
    EXPECT_TRUE(placed(only, 0, QStringLiteral("301"), 14, 9));
}

// Below firmware 2.00 the speed dials are left out: mode 1 has nothing to print.
TEST_F(PrintToPdf, OldFirmwareHasNoSpeedDialPage)
{
    const CtlRun both =
        print(QStringLiteral("sim-image-198-3.kvx"), QStringLiteral("b.pdf"),
              {QStringLiteral("--mode"), QStringLiteral("2"), QStringLiteral("--speeddials-from-settings")});
    ASSERT_EQ(both.exitCode, 0) << both.err.toStdString();
    EXPECT_EQ(pageCount(wordsOf(path(QStringLiteral("b.pdf")))), 1);

    const CtlRun alone = print(QStringLiteral("sim-image-198-3.kvx"), QStringLiteral("k.pdf"),
                               {QStringLiteral("--mode"), QStringLiteral("1")});
    EXPECT_EQ(alone.exitCode, 3);
    EXPECT_TRUE(alone.err.contains("Kurzwahlen bei dieser Firmware-Version nicht verf")) << alone.err.toStdString();
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("k.pdf"))));
}

// "DruckenMitRand": the bars are black on the paper, or absent.
TEST_F(PrintToPdf, BarsFollowTheSetting)
{
    for (const bool bars : {true, false}) {
        writeSettings(bars ? QStringLiteral("Ja") : QStringLiteral("Nein"));
        const QString pdf = bars ? QStringLiteral("on.pdf") : QStringLiteral("off.pdf");
        const CtlRun run = print(QStringLiteral("sim-image-198-3.kvx"), pdf, {});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const int titleBar = greyAt(path(pdf), 8.5, 10);
        const int sideBar = greyAt(path(pdf), 20, 4.5);
        EXPECT_EQ(titleBar < 64, bars) << titleBar;
        EXPECT_EQ(sideBar < 64, bars) << sideBar;
        EXPECT_GT(greyAt(path(pdf), 45, 50), 192); // paper below the footer
    }
}

TEST_F(PrintToPdf, UnwritableFileAndBadArguments)
{
    const CtlRun run = runKavexctl({QStringLiteral("print"), Golden::path(QStringLiteral("sim-image-198-3.kvx")),
                                    QStringLiteral("--pdf"), QStringLiteral("/nonexistent/dir/x.pdf")},
                                   m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("/nonexistent/dir/x.pdf")) << run.err.toStdString();
    for (const QStringList& args :
         {QStringList{QStringLiteral("print"), path(QStringLiteral("x.kvx"))},
          QStringList{QStringLiteral("print"), path(QStringLiteral("x.kvx")), QStringLiteral("--pdf"),
                      path(QStringLiteral("x.pdf")), QStringLiteral("--mode"), QStringLiteral("3")}}) {
        const CtlRun bad = runKavexctl(args, m_dir.path());
        EXPECT_EQ(bad.exitCode, 1);
        EXPECT_TRUE(bad.err.contains("Aufruf: kavexctl print")) << bad.err.toStdString();
    }
}

} // namespace

namespace {

// Without --speeddials-from-settings the list comes from the exchange: one read of the 60 entries.
TEST(PrintFromExchange, SpeedDialsAreReadFromTheSimulatedExchange)
{
    SimulatedExchange sim;
    ASSERT_TRUE(sim.start());
    const QString pdf = sim.path(QStringLiteral("k.pdf"));
    const CtlRun run = runKavexctl({QStringLiteral("--port"), sim.device(), QStringLiteral("print"),
                                    Golden::path(QStringLiteral("sim-image-200-8.kvx")), QStringLiteral("--pdf"), pdf,
                                    QStringLiteral("--mode"), QStringLiteral("1")},
                                   sim.dir());
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    sim.stop();
    int reads = 0;
    for (const auto& cell : sim.cells())
        reads += cell.bytes == QByteArray::fromHex("83020200");
    EXPECT_EQ(reads, 1);
    const std::vector<Word> words = wordsOf(pdf);
    EXPECT_EQ(pageCount(words), 1);
    EXPECT_TRUE(placed(words, 0, QStringLiteral("301"), 14, 9));
    bool attributes = false;
    for (const Word& w : words)
        attributes |= w.text == QLatin1String("KW") && std::abs(w.xMin - columnX(34)) < ColumnPoints;
    EXPECT_TRUE(attributes);
}

} // namespace
