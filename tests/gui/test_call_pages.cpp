#include "ShellHarness.h"
#include "charges/IncomingCallLog.h"
#include "charges/OutgoingCallLog.h"
#include "pages/calls/CallListView.h"
#include "pages/calls/BlockListPage.h"
#include "pages/calls/CallLogPage.h"
#include "shell/CallBlocking.h"
#include "shell/StatusLine.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

namespace {

bool copyData(const QString& name, const QString& to)
{
    return QFile::copy(qEnvironmentVariable("KAVEX_SOURCE_DIR") + QStringLiteral("/tests/data/") + name, to);
}

// With KAVEX_SHOTS set, the page as the user sees it lands there, to be looked at.
void keepPicture(QWidget& page, const QString& name)
{
    const QString dir = qEnvironmentVariable("KAVEX_SHOTS");
    if (!dir.isEmpty())
        page.grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

} // namespace

// The logs of the program directory, listed at start; typing filters, the footer sums what is shown.
class CallPagesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsFromTheLogsWithSearchAndFooter()
    {
        ShellHarness shell;
        shell.clock().setNow(QDateTime(QDate(2026, 3, 2), QTime(12, 0, 0)));
        const QString dir = shell.core().programDir();
        QVERIFY(copyData(QStringLiteral("outgoing-after-rename.out"), dir + QStringLiteral("/WinKavex.out")));
        QVERIFY(copyData(QStringLiteral("incoming-calls.in"), dir + QStringLiteral("/WinKavex.in")));
        shell.core().loadCallLogs();

        CallLogPage outgoing(shell.core(), CallLogPage::Kind::Outgoing);
        outgoing.resize(760, 420);
        CallListView& out = *outgoing.view();
        QCOMPARE(out.table()->model()->rowCount(), 6);
        QTest::keyClicks(out.searchField(), QStringLiteral("LLER")); // "Oma Müller", whatever the case
        QCOMPARE(out.table()->model()->rowCount(), 2);
        QVERIFY2(out.footer()->text().startsWith(QStringLiteral("2 Gespräche · 125 Einheiten")),
                 qPrintable(out.footer()->text()));
        keepPicture(outgoing, QStringLiteral("abgehend-suche"));

        CallLogPage incoming(shell.core(), CallLogPage::Kind::Incoming);
        incoming.resize(760, 420);
        CallListView& in = *incoming.view();
        QCOMPARE(in.table()->model()->rowCount(), 6);
        QCOMPARE(in.table()->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Von"));
        QTest::keyClicks(in.searchField(), QStringLiteral("4712"));
        QCOMPARE(in.table()->model()->rowCount(), 2);
        QCOMPARE(in.table()->model()->index(1, 3).data().toString(), QStringLiteral("Gemeinschaftspraxis Mustermann"));
        const QString csv = dir + QStringLiteral("/export.csv");
        QVERIFY(in.exportTo(csv));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 QByteArray("Zeit,An,Von,Name\r\n"
                            "02.03.2026 10:02:02,4712,089123456,Tante Erna\r\n"
                            "02.03.2026 10:04:04,4712,(0221) 445566,Gemeinschaftspraxis Mustermann\r\n"));
        keepPicture(incoming, QStringLiteral("ankommend-suche"));

        // A renamed incoming call is renamed in the list and in the log.
        const int row = 2;
        QVERIFY(shell.core().renameIncomingCall(row, QStringLiteral("Tante Erna (neu)")));
        QCOMPARE(shell.core().incomingCalls().list().text(row, IncomingCallLog::NameColumn),
                 QStringLiteral("Tante Erna (neu)"));
        QFile log(dir + QStringLiteral("/WinKavex.in"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains("02.03.2026 10:02:02   4712             089123456                            "
                                       "Tante Erna (neu)\r\n"));
    }

    // The pages are built before the logs are loaded: after the load each list shows its newest
    // rows, and keeps its end in view as calls arrive, unless the user has scrolled away.
    void theListsShowTheirEndAfterTheLoadAndFollowIt()
    {
        ShellHarness shell;
        shell.clock().setNow(QDateTime(QDate(2026, 3, 2), QTime(12, 0, 0)));
        QByteArray out = "   Datum     Zeit     Nebenstelle   Rufnummer             Name                       "
                         "Einheiten  Kosten  Dauer\r\n" +
                         QByteArray(110, '=') + "\r\n\r\n";
        QByteArray in = "Kopf\r\n=\r\n\r\n";
        for (int i = 0; i < 200; ++i) {
            const QByteArray start = QTime(9, 0).addSecs(60 * i).toString(u"'02.03.2026 'HH:mm:ss").toLatin1();
            out += "\r\n" + start + "        2" + QByteArray::number(1 + i % 8) + "       " +
                   ("0301234" + QByteArray::number(i)).leftJustified(22) + QByteArray("Berlin").leftJustified(27) +
                   QByteArray::number(i % 9 + 1).rightJustified(6) + "      0,12    1:0" + QByteArray::number(i % 10);
            in += start + "   4711             " + ("0221" + QByteArray::number(i)).leftJustified(37) + "K\xf6ln\r\n";
        }
        const QString dir = shell.core().programDir();
        for (const auto& [name, bytes] : {std::pair{"/WinKavex.out", out}, std::pair{"/WinKavex.in", in}}) {
            QFile file(dir + QLatin1String(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        CallLogPage outgoing(shell.core(), CallLogPage::Kind::Outgoing);
        CallLogPage incoming(shell.core(), CallLogPage::Kind::Incoming);
        for (QWidget* page : {static_cast<QWidget*>(&outgoing), static_cast<QWidget*>(&incoming)}) {
            page->resize(760, 420);
            page->show();
            QVERIFY(QTest::qWaitForWindowExposed(page));
        }
        shell.core().loadCallLogs();
        for (CallListView* view : {outgoing.view(), incoming.view()}) {
            QScrollBar* bar = view->table()->verticalScrollBar();
            QTRY_VERIFY(bar->maximum() > 0);
            QTRY_COMPARE(bar->value(), bar->maximum());
        }
        keepPicture(outgoing, QStringLiteral("abgehend-200"));

        IncomingCallLog& calls = shell.core().incomingCalls();
        QScrollBar* bar = incoming.view()->table()->verticalScrollBar();
        const int before = bar->maximum();
        calls.onIncomingCall(QStringLiteral("301234567"), QStringLiteral("4711"), 0);
        QTRY_VERIFY(bar->maximum() > before);
        QTRY_COMPARE(bar->value(), bar->maximum());

        bar->setValue(3); // the user looks at older calls: a new one leaves the view where it is
        calls.onIncomingCall(QStringLiteral("301234568"), QStringLiteral("4711"), 0);
        QTRY_VERIFY(bar->maximum() > before + 1);
        QCOMPARE(bar->value(), 3);
    }

    // "Sperren" on an incoming row puts its caller on the list; the page adds, edits and removes
    // entries in the file, and shows what kavexctl wrote meanwhile when entered again.
    void blockListFromTheCallsAndThePage()
    {
        ShellHarness shell;
        shell.clock().setNow(QDateTime(QDate(2026, 3, 2), QTime(12, 0, 0)));
        const QString dir = shell.core().programDir();
        QVERIFY(copyData(QStringLiteral("incoming-calls.in"), dir + QStringLiteral("/WinKavex.in")));
        shell.core().loadCallLogs();
        CallLogPage incoming(shell.core(), CallLogPage::Kind::Incoming);
        QVERIFY(!incoming.blockButton()->isEnabled());
        QTest::keyClicks(incoming.view()->searchField(), QStringLiteral("445566"));
        incoming.view()->table()->selectRow(0);
        QVERIFY(incoming.blockButton()->isEnabled());
        QVERIFY(incoming.block(incoming.view()->currentListRow(), QStringLiteral("Praxis")));
        QCOMPARE(shell.core().statusLine().text(), QStringLiteral("(0221) 445566 gesperrt"));

        BlockListPage page(shell.core());
        page.resize(640, 420);
        page.refresh();
        QTableWidget& table = *page.table();
        QCOMPARE(table.rowCount(), 1);
        QCOMPARE(table.item(0, 1)->text(), QStringLiteral("Praxis"));
        QVERIFY(!page.addButton()->isEnabled());
        page.numberField()->setText(QStringLiteral("0900*"));
        page.noteField()->setText(QStringLiteral("Mehrwertdienste"));
        page.addButton()->click();
        table.selectRow(0);
        QCOMPARE(page.numberField()->text(), QStringLiteral("(0221) 445566"));
        page.noteField()->setText(QStringLiteral("Praxis Mustermann"));
        page.changeButton()->click();
        page.withheldBox()->setChecked(true);
        QVERIFY(shell.core().callBlocking().blockWithheld());
        keepPicture(page, QStringLiteral("sperrliste"));

        const QString path = dir + QStringLiteral("/Sperrliste.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("(0221) 445566\tPraxis Mustermann\n0900*\tMehrwertdienste\n"));
        file.close();

        // Written by another program while the page shows: entering the page again lists it.
        QVERIFY(file.open(QIODevice::Append));
        file.write("0171 5550123\n");
        file.close();
        page.entered();
        QCOMPARE(table.rowCount(), 3);
        table.selectRow(1);
        page.removeButton()->click();
        QCOMPARE(table.rowCount(), 2);
        QCOMPARE(table.item(1, 0)->text(), QStringLiteral("0171 5550123"));
    }
};

QTEST_MAIN(CallPagesTest)
#include "test_call_pages.moc"
