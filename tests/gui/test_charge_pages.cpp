#include "ShellHarness.h"
#include "charges/ChargeUpdate.h"
#include "charges/Histogram.h"
#include "charges/HistoryFile.h"
#include "pages/charges/ChargeHistogramPage.h"

#include <QLabel>
#include <QTest>

// The histogram of a few months: its axes stay black where the grid runs along them and under the
// foot of every bar.
class ChargePagesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theHistogramsAxesLieOverGridAndBars()
    {
        ShellHarness shell;
        QFile file(shell.core().programDir() + QStringLiteral("/WinKavex.dat"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(HistoryFile::headerText().toLatin1());
        int total = 0;
        for (int month = 1; month <= 4; ++month) {
            total += 300 * month;
            file.write(
                HistoryFile::dataLine(QDateTime(QDate(2025, 11, 20).addMonths(month), QTime(9, 0)), {total}, total)
                    .toLatin1() +
                "\r\n");
        }
        file.close();
        shell.core().chargeUpdate().loadPeriods();
        ChargeHistogramPage page(shell.core());
        const QImage image = page.image();
        const Histogram::Layout layout = Histogram::layout(shell.core().chargeUpdate().periods());
        QVERIFY(layout.bars.size() >= 3);
        const QColor black(Qt::black);
        for (const QRect& bar : layout.bars)
            QCOMPARE(image.pixelColor(bar.center().x(), Histogram::AxisY), black);
        for (const Histogram::Tick& tick : layout.ticks)
            QCOMPARE(image.pixelColor(Histogram::AxisX, tick.y), black);
        QCOMPARE(image.pixelColor(Histogram::AxisRight, Histogram::AxisY), black);
        // Each month's initial stands in its row under its bar.
        QCOMPARE(layout.months.size(), layout.bars.size());
        for (const Histogram::MonthLabel& month : layout.months) {
            bool inked = false;
            for (int x = month.centreX - 4; x <= month.centreX + 4; ++x) {
                for (int y = Histogram::MonthRowY; y < Histogram::YearRowY; ++y)
                    inked = inked || image.pixelColor(x, y).lightness() < 96;
            }
            QVERIFY2(inked, qPrintable(month.initial));
        }
        // A screen reader reads the figures the hints show.
        const QLabel* view = page.findChild<QLabel*>(QStringLiteral("BalkenDiagramm"));
        QVERIFY(view);
        QVERIFY(view->accessibleDescription().contains(QStringLiteral("Januar 2026: 600 Gebühreneinheiten")));
        if (!qEnvironmentVariableIsEmpty("KAVEX_TEST_PNG"))
            image.save(qEnvironmentVariable("KAVEX_TEST_PNG"));
    }
};

QTEST_MAIN(ChargePagesTest)
#include "test_charge_pages.moc"
