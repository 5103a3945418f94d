#include "../config/TestImages.h"
#include "ButtonBar.h"
#include "ExchangeReply.h"
#include "NavigationBar.h"
#include "ShellHarness.h"
#include "pages/config/ConfigPages.h"
#include "pages/config/MonthlyReportButton.h"
#include "pages/config/PrintButton.h"
#include "shell/StatusLine.h"

#include <QFile>
#include <QMenu>
#include <QPrinterInfo>
#include <QTest>

namespace {

QStringList texts(const QMenu* menu)
{
    QStringList list;
    for (const QAction* action : menu->actions())
        list << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return list;
}

QString testData(const char* name)
{
    return qEnvironmentVariable("KAVEX_SOURCE_DIR") + QStringLiteral("/tests/data/") + QString::fromLatin1(name);
}

QAction* entry(const QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    qFatal("no menu entry %s", qPrintable(text));
}

} // namespace

class PrintButtonTest : public QObject
{
    Q_OBJECT

private:
    struct Rig
    {
        Rig()
        {
            registerConfigPages(h.registry);
            h.core().image() = TestImages::firmware200();
            h.core().decodeConfiguration();
            h.window().buildPages();
            button = h.window().buttonBar()->fileButtons()->findChild<PrintButton*>();
        }
        ShellHarness h;
        PrintButton* button = nullptr;
    };

private Q_SLOTS:
    // The mode's printout waits for the speed-dial read with every control off, then the controls
    // come back even when the printer fails, and the failure is on the status line.
    void pdfOfBothWaitsForTheReadWithControlsLocked()
    {
        Rig rig;
        QVERIFY(rig.button);
        QCOMPARE(rig.button->text(), QStringLiteral("Drucken..."));
        QCOMPARE(texts(rig.button->printMenu()),
                 QStringList({QStringLiteral("Parametrierung"), QStringLiteral("Kurzwahlen"),
                              QStringLiteral("Parametrierung und Kurzwahlen"), QStringLiteral("-"),
                              QStringLiteral("Als PDF-Datei")}));
        QCOMPARE(texts(rig.button->pdfMenu()), QStringList(texts(rig.button->printMenu()).mid(0, 3)));

        QString printedTo;
        int jobs = 0;
        rig.h.core().setPrintSink([&](const PrintContent& content, const QString& pdf) {
            ++jobs;
            printedTo = pdf;
            return content.speedDials ? Printout::Result::PrinterError : Printout::Result::Printed;
        });
        rig.button->setPathPrompt([](const QString&, const QString& proposed) {
            return proposed.startsWith(QLatin1String("WinKavex_")) ? QStringLiteral("/tmp/ausdruck") : QString();
        });
        QVERIFY(rig.h.core().isPortOpen() || rig.h.core().openPort(QStringLiteral("COM1")));
        entry(rig.button->pdfMenu(), QStringLiteral("Parametrierung und Kurzwahlen"))->trigger();
        QCOMPARE(jobs, 0);
        QVERIFY(!rig.h.window().buttonBar()->fileButtons()->isEnabled());
        QVERIFY(!rig.h.window().navigationBar()->isEnabled());

        rig.h.transport().inject(QByteArray::fromHex("81120000"));
        for (int n = 1; n <= 60; ++n) {
            rig.h.clock().advance(40); // each request's second block
            rig.h.transport().inject(ExchangeReply::speedDialEntry(n));
        }
        QCOMPARE(jobs, 1);
        QCOMPARE(printedTo, QStringLiteral("/tmp/ausdruck.pdf"));
        QCOMPARE(rig.h.core().statusLine().text(), QStringLiteral("Fehler beim Drucken"));
        QVERIFY(rig.h.window().buttonBar()->fileButtons()->isEnabled());
        QVERIFY(rig.h.window().navigationBar()->isEnabled());

        entry(rig.button->printMenu(), QStringLiteral("Parametrierung"))->trigger();
        QCOMPARE(jobs, 2);
        QCOMPARE(printedTo, QString());
    }

    // The window's own sink: a PDF file, and without a default printer the notice instead of a job.
    void windowSinkWritesPdfAndReportsAMissingPrinter()
    {
        Rig rig;
        const QString pdf = QDir::temp().filePath(QStringLiteral("winkavex-print-test.pdf"));
        QFile::remove(pdf);
        rig.button->setPathPrompt([&](const QString&, const QString&) { return pdf; });
        entry(rig.button->pdfMenu(), QStringLiteral("Parametrierung"))->trigger();
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
        file.remove();

        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("a default printer is set up: no test page is sent to it");
        entry(rig.button->printMenu(), QStringLiteral("Parametrierung"))->trigger();
        QCOMPARE(rig.h.core().statusLine().text(), QStringLiteral("Kein Drucker eingerichtet"));
        QCOMPARE(rig.h.core().statusLine().colourLevel(), 2);
        QVERIFY(rig.h.window().buttonBar()->fileButtons()->isEnabled());
    }

    // "Monatsbericht...": the previous month proposed among the last 24, the PDF in the chosen
    // file, the outcome on the status line; a missing history leaves no file.
    void monthlyReportAsksForMonthAndFile()
    {
        Rig rig;
        auto* button = rig.h.window().buttonBar()->fileButtons()->findChild<MonthlyReportButton*>();
        QVERIFY(button);
        QCOMPARE(button->text(), QStringLiteral("Monatsbericht..."));
        const QDate today = rig.h.clock().now().date();
        QList<QDate> offered;
        QDate proposed;
        QString proposedName;
        button->setPrompts(
            [&](const QList<QDate>& choices, const QDate& previous) {
                offered = choices;
                proposed = previous;
                return QDate(2026, 11, 1);
            },
            [&](const QString&, const QString& name) {
                proposedName = name;
                return QDir(rig.h.core().programDir()).filePath(QStringLiteral("bericht"));
            });
        const QString pdf = QDir(rig.h.core().programDir()).filePath(QStringLiteral("bericht.pdf"));

        button->click();
        QCOMPARE(offered.size(), 24);
        QCOMPARE(offered.last(), QDate(today.year(), today.month(), 1));
        QCOMPARE(proposed, offered.last().addMonths(-1));
        QCOMPARE(proposedName, QStringLiteral("Monatsbericht_2026-11.pdf"));
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(rig.h.core().statusLine().colourLevel(), 2);
        QVERIFY(rig.h.core().statusLine().text().endsWith(QStringLiteral("WinKavex.dat nicht gefunden")));

        QVERIFY(QFile::copy(testData("report-history.dat"),
                            QDir(rig.h.core().programDir()).filePath(QStringLiteral("WinKavex.dat"))));
        QVERIFY(QFile::copy(testData("report-outgoing.out"),
                            QDir(rig.h.core().programDir()).filePath(QStringLiteral("WinKavex.out"))));
        button->click();
        QCOMPARE(rig.h.core().statusLine().text(),
                 QStringLiteral("Monatsbericht November 2026 nach %1 geschrieben").arg(pdf));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
    }
};

QTEST_MAIN(PrintButtonTest)
#include "test_print_button.moc"
