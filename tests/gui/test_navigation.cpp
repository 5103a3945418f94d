#include "HeadingBar.h"
#include "NavigationBar.h"
#include "NavigationTable.h"
#include "Navigator.h"
#include "Page.h"
#include "PageStack.h"
#include "ShellHarness.h"
#include "TrayController.h"
#include "pages/config/ConfigPages.h"
#include "shell/AppCore.h"
#include "shell/StartUp.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QToolButton>

namespace {

// Counts what the frame asks of a page.
class SpyPage : public Page
{
public:
    using Page::Page;
    void refresh() override { ++refreshes; }
    void entered() override { ++entries; }
    void showSubPage(int index) override { subPages << index; }
    int refreshes = 0;
    int entries = 0;
    QList<int> subPages;
};

QString heading(MainWindow& window)
{
    return window.headingBar()->text();
}

int indexOf(const char* heading)
{
    return NavigationTable::indexOfHeading(QString::fromUtf8(heading));
}

} // namespace

class NavigationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choosingThePageAlreadyShownChangesNothing()
    {
        ShellHarness rig;
        SpyPage* spy = nullptr;
        rig.registry.setFactory(PageKey::Parameters, [&spy](AppCore& core, QWidget* parent) {
            spy = new SpyPage(core, parent);
            return spy;
        });
        MainWindow& window = rig.window();
        window.buildPages();
        QVERIFY(spy);
        QVERIFY(window.navigator().showEntry(indexOf("Nebenstellenparametrierung")));
        QCOMPARE(spy->entries, 1);
        QCOMPARE(spy->subPages, QList<int>({1}));

        QToolButton* button = window.navigationBar()->entryButton(5, 1);
        button->click();
        QVERIFY(!window.navigator().showEntry(indexOf("Nebenstellenparametrierung")));
        QCOMPARE(spy->entries, 1);
        QCOMPARE(spy->subPages, QList<int>({1}));
        QCOMPARE(heading(window), QStringLiteral("Nebenstellenparametrierung"));

        // The other entry on the same container page swaps the sub-page.
        window.navigationBar()->entryButton(5, 0)->click();
        QCOMPARE(spy->subPages, QList<int>({1, 0}));
        QCOMPARE(heading(window), QStringLiteral("Grundparametrierung"));
    }

    void openingAGroupShowsTheEntryItShowedLast()
    {
        ShellHarness rig;
        MainWindow& window = rig.window();
        window.buildPages();
        window.navigator().showEntry(0);
        QCOMPARE(window.navigator().memory(1), 0);
        window.navigationBar()->entryButton(1, 2)->click();
        QCOMPARE(heading(window), QStringLiteral("Gebührenhistogramm"));
        window.navigationBar()->entryButton(0, 3)->click();
        QCOMPARE(heading(window), QStringLiteral("Anklopfen"));

        Q_EMIT window.navigationBar()->groupOpened(1);
        QCOMPARE(heading(window), QStringLiteral("Gebührenhistogramm"));
        QCOMPARE(window.navigationBar()->openGroup(), 1);
        QVERIFY(window.navigationBar()->entryButton(1, 2)->isChecked());

        Q_EMIT window.navigationBar()->groupOpened(0);
        QCOMPARE(heading(window), QStringLiteral("Anklopfen"));
        Q_EMIT window.navigationBar()->groupOpened(4);
        QCOMPARE(heading(window), QStringLiteral("Weckzeiten"));
    }

    // Down and Up move between a group's entries and stop at its ends; Enter shows the entry.
    void theEntriesAreUsableWithTheKeyboardAlone()
    {
        ShellHarness rig;
        MainWindow& window = rig.window();
        window.buildPages();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.navigator().showEntry(0);
        NavigationBar* bar = window.navigationBar();
        bar->entryButton(0, 0)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(bar->entryButton(0, 0), Qt::Key_Up);
        QVERIFY(bar->entryButton(0, 0)->hasFocus());
        QTest::keyClick(bar->entryButton(0, 0), Qt::Key_Down);
        QTest::keyClick(bar->entryButton(0, 1), Qt::Key_Down);
        QVERIFY(bar->entryButton(0, 2)->hasFocus());
        QCOMPARE(heading(window), QStringLiteral("Grundkonfiguration")); // moving chooses nothing
        QTest::keyClick(bar->entryButton(0, 2), Qt::Key_Return);
        QCOMPARE(heading(window), QStringLiteral("Berechtigungen"));
        bar->entryButton(0, 3)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(bar->entryButton(0, 3), Qt::Key_Down);
        QVERIFY(bar->entryButton(0, 3)->hasFocus());
    }

    void startPagesFollowTheirTable_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("group");
        QTest::newRow("0") << 0 << QStringLiteral("Grundkonfiguration") << 0;
        QTest::newRow("3") << 3 << QStringLiteral("Anklopfen") << 0;
        QTest::newRow("6") << 6 << QStringLiteral("Gebührenhistogramm") << 1;
        QTest::newRow("7") << 7 << QStringLiteral("Diagnosemodus") << 3;
        QTest::newRow("8") << 8 << QStringLiteral("Abgehende Gespräche") << 3;
        QTest::newRow("9") << 9 << QStringLiteral("Ankommende Gespräche") << 3;
        QTest::newRow("10 keeps the first page") << 10 << QStringLiteral("Grundkonfiguration") << 0;
        QTest::newRow("-1 keeps the first page") << -1 << QStringLiteral("Grundkonfiguration") << 0;
    }

    void startPagesFollowTheirTable()
    {
        QFETCH(int, position);
        QFETCH(QString, expected);
        QFETCH(int, group);
        ShellHarness rig(QStringLiteral("[Allgemein]\r\nAnschluß=COM1\r\nStartseite=%1\r\n").arg(position));
        StartUp(rig.core(), rig.window()).run();
        QCOMPARE(heading(rig.window()), expected);
        QCOMPARE(rig.window().navigationBar()->openGroup(), group);
    }

    void trayMenuHasTheEntriesInOrder()
    {
        ShellHarness rig;
        QStringList texts;
        for (QAction* action : rig.window().tray().menu()->actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        const QStringList expected = {"Grundkonfiguration",
                                      "Zuordnung",
                                      "Berechtigungen",
                                      "Anklopfen",
                                      "-",
                                      "Gebührenübersicht",
                                      "Gebührenaufteilung",
                                      "Gebührenhistogramm",
                                      "-",
                                      "Kurzwahlen",
                                      "-",
                                      "Diagnosemodus",
                                      "Abgehende Gespräche",
                                      "Ankommende Gespräche",
                                      "-",
                                      "Wecker",
                                      "-",
                                      "Grundparametrierung",
                                      "Nebenstellenparametrierung",
                                      "Zeitsteuerung",
                                      "Parametrierungspaßwort",
                                      "-",
                                      "Programmparameter",
                                      "-",
                                      "Info",
                                      "-",
                                      "Schließen"};
        QCOMPARE(texts, expected);
        // Every page entry names a page of the navigation table.
        for (const QString& text : expected) {
            if (text != "-" && text != "Wecker" && text != "Schließen")
                QVERIFY2(NavigationTable::indexOfHeading(text) >= 0, qPrintable(text));
        }
    }

    void wakeUpFromTheTrayWhileVisibleMinimisesAfterSwitching()
    {
        ShellHarness rig;
        MainWindow& window = rig.window();
        window.buildPages();
        window.showWindow();
        QVERIFY(window.isShownNormally());
        rig.window().tray().action(QStringLiteral("Wecker"))->trigger();
        QCOMPARE(heading(window), QStringLiteral("Weckzeiten"));
        QVERIFY(!window.isShownNormally());

        // Hidden, the same entry shows the page and brings the window back.
        window.tray().choose(QStringLiteral("Grundkonfiguration"));
        QCOMPARE(heading(window), QStringLiteral("Grundkonfiguration"));
        QVERIFY(window.isShownNormally());
    }

    void pageEntryFromTheTrayShowsTheWindowWithThePageAndClearsTheAlarm()
    {
        ShellHarness rig;
        MainWindow& window = rig.window();
        window.buildPages();
        window.minimiseToTray();
        window.tray().setAlarm(true);
        QVERIFY(window.windowTitle().endsWith(QStringLiteral("Alarm")) || window.tray().hasTray());
        window.tray().action(QStringLiteral("Gebührenaufteilung"))->trigger();
        QVERIFY(window.isShownNormally());
        QCOMPARE(heading(window), QStringLiteral("Gebührenaufteilung"));
        QCOMPARE(window.navigationBar()->openGroup(), 1);
        QVERIFY(!window.tray().isAlarm());
        QCOMPARE(window.windowTitle(), MainWindow::title());

        // A visible window stays visible for an ordinary page entry.
        window.tray().action(QStringLiteral("Info"))->trigger();
        QVERIFY(window.isShownNormally());
        QCOMPARE(heading(window), QStringLiteral("Info"));
    }

    // The tray menu navigates too: during a transfer its page entries must not open a page (the
    // speed-dial page would start its own read in the middle of this one).
    void trayPageEntriesAreLockedDuringATransfer()
    {
        ShellHarness rig;
        registerConfigPages(rig.registry);
        MainWindow& window = rig.window();
        window.buildPages();
        rig.core().openPort(QStringLiteral("COM1"));
        rig.core().startRead();
        rig.clock().advance(2000); // a complete read: firmware 2.00 has speed dials
        QVERIFY(!rig.core().isTransferLocked());
        QVERIFY(window.tray().action(QStringLiteral("Kurzwahlen"))->isEnabled());

        rig.mute = true;
        rig.core().startRead();
        rig.transport().clearSent();
        const QString before = heading(window);
        for (const QString& text :
             {QStringLiteral("Kurzwahlen"), QStringLiteral("Wecker"), QStringLiteral("Grundkonfiguration")}) {
            QAction* entry = window.tray().action(text);
            QVERIFY2(!entry->isEnabled(), qPrintable(text));
            entry->trigger();
        }
        QCOMPARE(heading(window), before);
        QVERIFY(rig.transport().sent().isEmpty());
        // Ending the program is no transfer: "Schließen" stays there.
        QVERIFY(window.tray().action(QStringLiteral("Schließen"))->isEnabled());
        QVERIFY(!window.isQuitRequested());

        rig.ticks(10); // time-out: unlocked again
        QVERIFY(window.tray().action(QStringLiteral("Kurzwahlen"))->isEnabled());
        QVERIFY(window.tray().action(QStringLiteral("Schließen"))->isEnabled());
    }

    void trayClickTogglesTheWindow()
    {
        ShellHarness rig;
        MainWindow& window = rig.window();
        window.buildPages();
        window.showWindow();
        window.tray().click();
        QVERIFY(!window.isShownNormally());
        window.tray().click();
        QVERIFY(window.isShownNormally());
    }
};

QTEST_MAIN(NavigationTest)
#include "test_navigation.moc"
