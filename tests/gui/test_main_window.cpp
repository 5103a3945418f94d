#include "ButtonBar.h"
#include "CaptionBar.h"
#include "FontFace.h"
#include "HeadingBar.h"
#include "HelpWindow.h"
#include "NavigationBar.h"
#include "NavigationTable.h"
#include "Navigator.h"
#include "PageStack.h"
#include "ShellHarness.h"
#include "StatusBar.h"
#include "TrayController.h"
#include "pages/shell/ProgramParameterPage.h"
#include "shell/PasswordStore.h"
#include "shell/Settings.h"
#include "shell/StartUp.h"
#include "shell/StatusLine.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

namespace {

// Answers the password dialog that a click has opened: types `text` into its entry and presses
// "Ok", or "Abbruch"; then lets the virtual time of a write's first pause pass.
void answerPasswordDialog(ShellHarness& rig, const QString& text, bool ok = true)
{
    QWidget* dialog = QApplication::activeModalWidget();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Kavex"));
    auto* entry = dialog->findChild<QLineEdit*>(QStringLiteral("EditPasswort"));
    QVERIFY(entry);
    QVERIFY(entry->text().isEmpty());
    QCOMPARE(entry->echoMode(), QLineEdit::Password);
    QTest::keyClicks(entry, text);
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == (ok ? QStringLiteral("Ok") : QStringLiteral("Abbruch")))
            button->click();
    }
    rig.clock().advance(100);
}

// Records whether the window was ever shown normally (visible and not minimised).
class ShownWatcher : public QObject
{
public:
    explicit ShownWatcher(MainWindow& window) : m_window(window) { window.installEventFilter(this); }
    bool everShown = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show || event->type() == QEvent::WindowStateChange)
            everShown |= m_window.isShownNormally();
        return QObject::eventFilter(watched, event);
    }

private:
    MainWindow& m_window;
};

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wrongPasswordSendsNothingAndShowsMessage39InRed()
    {
        ShellHarness rig;
        MainWindow& window = rig.window();
        window.buildPages();
        rig.core().openPort(QStringLiteral("COM1"));
        QVERIFY(rig.core().savePassword(QStringLiteral("Geheim"), QStringLiteral("Geheim")));
        window.showWindow();

        window.buttonBar()->writeButton()->click();
        answerPasswordDialog(rig, QStringLiteral("geheim"));
        QVERIFY(rig.transport().sent().isEmpty());
        QCOMPARE(rig.core().statusLine().text(), QStringLiteral("Falsches Paßwort"));
        QCOMPARE(window.statusBar()->linePanel()->textColour(), QColor(Qt::red));
        QVERIFY(window.buttonBar()->writeButton()->isEnabled());

        window.buttonBar()->writeButton()->click();
        answerPasswordDialog(rig, QStringLiteral("Geheim"), false);
        QVERIFY(rig.transport().sent().isEmpty());

        window.buttonBar()->writeButton()->click();
        answerPasswordDialog(rig, QStringLiteral("Geheim"));
        QVERIFY(!rig.transport().sent().isEmpty());
    }

    void passwordPageSavesAChangeOnlyAfterTheOldPassword()
    {
        ShellHarness rig;
        MainWindow& window = rig.window();
        window.buildPages();
        window.showWindow();
        window.navigator().showHeading(QStringLiteral("Parametrierungspaßwort"));
        auto* oldField = window.findChild<QLineEdit*>(QStringLiteral("EditAltesPasswort"));
        auto* new1 = window.findChild<QLineEdit*>(QStringLiteral("EditNeuesPasswort1"));
        auto* new2 = window.findChild<QLineEdit*>(QStringLiteral("EditNeuesPasswort2"));
        auto* save = window.findChild<QPushButton*>(QStringLiteral("PasswortMerken"));
        QVERIFY(oldField && new1 && new2 && save);
        QVERIFY(!oldField->isEnabled());
        QVERIFY(new1->isEnabled() && save->isEnabled());

        new1->setText(QStringLiteral("abc"));
        new2->setText(QStringLiteral("abd"));
        save->click();
        QCOMPARE(rig.core().statusLine().line(), QStringLiteral("2:Paßwort-Wiederholung stimmt nicht"));
        QVERIFY(!rig.core().passwordStore().isSet());

        new2->setText(QStringLiteral("abc"));
        save->click();
        QVERIFY(rig.core().passwordStore().matches(QStringLiteral("abc")));
        QVERIFY(oldField->isEnabled());
        QVERIFY(!new1->isEnabled() && !save->isEnabled());

        // A wrong old password opens nothing; the right one opens the new fields.
        oldField->setText(QStringLiteral("ABC"));
        Q_EMIT oldField->editingFinished();
        QVERIFY(!new1->isEnabled());
        oldField->setText(QStringLiteral("abc"));
        Q_EMIT oldField->editingFinished();
        QVERIFY(new1->isEnabled() && new2->isEnabled() && save->isEnabled());

        // Two empty fields remove the password.
        save->click();
        QVERIFY(!rig.core().passwordStore().isSet());
        QVERIFY(!oldField->isEnabled());
    }

    // The page is built before the store is read: when start-up ends early (message 5), a stored
    // password must still guard the new-password fields.
    void passwordPageFollowsAStoredPasswordWhenStartUpEndsEarly()
    {
        ShellHarness rig;
        PasswordStore(PasswordStore::defaultPath(rig.configHome()), 1).save(QStringLiteral("Geheim"));
        rig.transport().setOpenFails(true);
        MainWindow& window = rig.window();
        QCOMPARE(StartUp(rig.core(), window).run(), StartUp::Outcome::PortFailed);
        QCOMPARE(rig.core().statusLine().line(), QStringLiteral("2:Schnittstelle COM1 kann nicht geöffnet werden"));
        window.showWindow();
        window.navigator().showHeading(QStringLiteral("Parametrierungspaßwort"));
        QVERIFY(window.findChild<QLineEdit*>(QStringLiteral("EditAltesPasswort"))->isEnabled());
        QVERIFY(!window.findChild<QLineEdit*>(QStringLiteral("EditNeuesPasswort1"))->isEnabled());
        QVERIFY(!window.findChild<QLineEdit*>(QStringLiteral("EditNeuesPasswort2"))->isEnabled());
        QVERIFY(!window.findChild<QPushButton*>(QStringLiteral("PasswortMerken"))->isEnabled());
    }

    void transferLockCoversNavigationButtonsAndFields()
    {
        ShellHarness rig;
        rig.mute = true;
        MainWindow& window = rig.window();
        window.buildPages();
        rig.core().openPort(QStringLiteral("COM1"));
        auto* parameters = qobject_cast<ProgramParameterPage*>(window.pageStack()->page(PageKey::ProgramParameters));
        QVERIFY(parameters);

        rig.core().startRead();
        QVERIFY(!window.navigationBar()->isEnabled());
        for (QWidget* w :
             {static_cast<QWidget*>(window.buttonBar()->readButton()),
              static_cast<QWidget*>(window.buttonBar()->writeButton()),
              static_cast<QWidget*>(window.buttonBar()->unitsBox()),
              static_cast<QWidget*>(window.buttonBar()->helpButton()),
              static_cast<QWidget*>(window.buttonBar()->quitButton()),
              static_cast<QWidget*>(window.captionBar()->minimiseButton()),
              static_cast<QWidget*>(parameters->portChoice()), static_cast<QWidget*>(parameters->startWait()),
              static_cast<QWidget*>(parameters->fontChoice())})
            QVERIFY(!w->isEnabled());
        QVERIFY(parameters->startPageChoice()->isEnabled());

        rig.ticks(10); // the reply time-out: message 4 and unlocked
        QCOMPARE(rig.core().statusLine().line(), QStringLiteral("2:Kommunikationsfehler auf Schnittstelle COM1"));
        QVERIFY(window.navigationBar()->isEnabled());
        QVERIFY(window.buttonBar()->readButton()->isEnabled());
        QVERIFY(parameters->portChoice()->isEnabled());
    }

    void firmwareTooOldLeavesOnlyHelpAndExit()
    {
        ShellHarness rig;
        rig.mute = true;
        MainWindow& window = rig.window();
        window.buildPages();
        rig.core().openPort(QStringLiteral("COM1"));
        rig.core().startRead();
        QByteArray base(225, '\0');
        base[0] = 23;
        base[2] = 8;
        base[4] = 1;
        base[5] = 92;
        rig.transport().inject(Cells::regionLineBytes(base, 300));
        QVERIFY(rig.core().isFirmwareTooOld());
        QVERIFY(!window.navigationBar()->isEnabled());
        QVERIFY(!window.buttonBar()->readButton()->isEnabled());
        QVERIFY(window.buttonBar()->helpButton()->isEnabled());
        QVERIFY(window.buttonBar()->quitButton()->isEnabled());

        // A charge reply that arrives afterwards (as after a call) ends no lock.
        QByteArray charges(168, '\0');
        charges[0] = 21;
        rig.transport().inject(Cells::regionLineBytes(charges, 224));
        QVERIFY(rig.core().isTransferLocked());
        QVERIFY(!window.navigationBar()->isEnabled());
        QVERIFY(!window.buttonBar()->readButton()->isEnabled());
        QVERIFY(!window.buttonBar()->writeButton()->isEnabled());
        QVERIFY(window.buttonBar()->helpButton()->isEnabled());
        QVERIFY(window.buttonBar()->quitButton()->isEnabled());
    }

    void statusBarShowsLevelColoursProgressAndClock()
    {
        ShellHarness rig;
        MainWindow& window = rig.window();
        window.buildPages();
        StatusLine& line = rig.core().statusLine();
        line.showStatus(2, StatusLevel::Progress);
        QCOMPARE(window.statusBar()->linePanel()->textColour(), QColor(Qt::blue));
        line.showStatus(5, StatusLevel::Error, QStringLiteral("COM3"));
        QCOMPARE(window.statusBar()->linePanel()->textColour(), QColor(Qt::red));
        line.showStatus(0, StatusLevel::Normal);
        QCOMPARE(window.statusBar()->linePanel()->textColour(), QColor(Qt::black));
        Q_EMIT rig.core().progressChanged(70, 100);
        QCOMPARE(window.statusBar()->progressBar()->value(), 70);
        rig.ticks(1);
        QCOMPARE(window.statusBar()->clock()->text(), rig.clock().now().toString(QStringLiteral("HH:mm:ss")));
    }

    void iconWithAutoEndNeverShowsTheWindowAndKeepsProcessing()
    {
        ShellHarness rig(QStringLiteral("[Allgemein]\r\nAnschluß=COM1\r\n"),
                         {QStringLiteral("ICON"), QStringLiteral("autoende")});
        MainWindow& window = rig.window();
        ShownWatcher watcher(window);
        StartUp(rig.core(), window).run();
        rig.clock().advance(1000);
        QVERIFY(rig.core().isReady());
        rig.ticks(4); // the auto-close 3 s after the read
        QVERIFY(!watcher.everShown);
        QVERIFY(!window.isShownNormally());
        QVERIFY(!window.isQuitRequested());
        // The auto-close from the tray does not stop the exchange's data from being processed.
        QVERIFY(!rig.core().isShuttingDown());
        QVERIFY(rig.core().isPortOpen());
    }

    void invalidPortShowsMessage22AndOpensNoPort()
    {
        ShellHarness rig(QStringLiteral("[Allgemein]\r\nAnschluß=COM5\r\n"));
        MainWindow& window = rig.window();
        ShownWatcher watcher(window);
        QCOMPARE(StartUp(rig.core(), window).run(), StartUp::Outcome::InvalidPort);
        QCOMPARE(rig.core().statusLine().text(), QStringLiteral("Portadresse 'COM5' ist ungültig"));
        QCOMPARE(window.statusBar()->linePanel()->textColour(), QColor(Qt::red));
        QVERIFY(!rig.transport().isOpen());
        QVERIFY(rig.transport().sent().isEmpty());
        QVERIFY(!watcher.everShown);

        // Choosing a port on the program-parameter page opens it at once.
        auto* parameters = qobject_cast<ProgramParameterPage*>(window.pageStack()->page(PageKey::ProgramParameters));
        QCOMPARE(parameters->portChoice()->currentIndex(), 0);
        parameters->portChoice()->setCurrentIndex(1);
        Q_EMIT parameters->portChoice()->activated(1);
        QVERIFY(rig.transport().isOpen());
        QCOMPARE(rig.transport().openedPath(), QStringLiteral("/dev/ttyS1"));
    }

    void closingSendsTheWindowToTheTrayAndOnlyQuitEnds()
    {
        ShellHarness rig;
        MainWindow& window = rig.window();
        window.buildPages();
        rig.core().openPort(QStringLiteral("COM1"));
        rig.core().startTimer();
        window.showWindow();
        window.close();
        rig.clock().advance(200); // the close query's pause
        QVERIFY(!window.isShownNormally());
        QVERIFY(rig.core().isPortOpen());
        QVERIFY(rig.core().isTimerRunning());
        QVERIFY(!rig.core().isShuttingDown());

        // "Schließen" from the tray while the window is hidden: the program ends.
        window.tray().action(QStringLiteral("Schließen"))->trigger();
        rig.clock().advance(200);
        QVERIFY(window.isQuitRequested());
        QVERIFY(rig.core().isShuttingDown());
        QVERIFY(!rig.core().isPortOpen());
        QVERIFY(!rig.core().isTimerRunning());
    }

    void fontFaceReachesEveryControlAndTheNavigationBar()
    {
        ShellHarness rig(QStringLiteral("[Allgemein]\r\nAnschluß=COM1\r\nSchriftart=Tahoma\r\n"));
        MainWindow& window = rig.window();
        StartUp(rig.core(), window).run();
        const QString tahoma = FontFace::familyFor(QStringLiteral("Tahoma"));
        const QString sansSerif = FontFace::familyFor(QStringLiteral("MS Sans Serif"));
        QVERIFY(!tahoma.isEmpty() && !sansSerif.isEmpty());
        QCOMPARE(window.buttonBar()->readButton()->font().family(), tahoma);
        QCOMPARE(window.navigationBar()->entryButton(0, 0)->font().pointSize(), 8);
        auto* parameters = qobject_cast<ProgramParameterPage*>(window.pageStack()->page(PageKey::ProgramParameters));
        QCOMPARE(parameters->fontChoice()->currentText(), QStringLiteral("Tahoma"));

        parameters->fontChoice()->setCurrentIndex(0);
        Q_EMIT parameters->fontChoice()->activated(0);
        QCOMPARE(rig.core().settings().fontFace(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(parameters->portChoice()->font().family(), sansSerif);
        QCOMPARE(window.navigationBar()->entryButton(3, 1)->font().family(), sansSerif);
    }

    void faceThatIsNotOfferedSelectsNothing()
    {
        ShellHarness rig(QStringLiteral("[Allgemein]\r\nAnschluß=COM1\r\nSchriftart=Arial\r\n"));
        StartUp(rig.core(), rig.window()).run();
        auto* parameters =
            qobject_cast<ProgramParameterPage*>(rig.window().pageStack()->page(PageKey::ProgramParameters));
        QCOMPARE(parameters->fontChoice()->currentIndex(), -1);
        QCOMPARE(rig.window().buttonBar()->readButton()->font().family(), QApplication::font().family());
    }

    void helpOpensContentsAndIndex()
    {
        ShellHarness rig;
        MainWindow& window = rig.window();
        window.buildPages();
        window.buttonBar()->helpButton()->click();
        QVERIFY(window.helpWindowIfOpen() && window.helpWindowIfOpen()->isVisible());
        const QString text = window.helpWindowIfOpen()->browser()->toPlainText();
        QVERIFY(text.contains(QStringLiteral("Inhalt")));
        QVERIFY(text.contains(QStringLiteral("Index")));
        QVERIFY(text.contains(QStringLiteral("Parametrierungspaßwort")));
        QVERIFY(!window.buttonBar()->writeButton()->whatsThis().isEmpty());
    }

    void windowMovesAreSavedOnlyInTheReadyState()
    {
        ShellHarness rig;
        MainWindow& window = rig.window();
        StartUp(rig.core(), window).run();
        window.move(100, 120);
        QTest::qWait(400);
        QCOMPARE(rig.core().settings().windowX(), 261);
        rig.clock().advance(1000); // the first read completes
        QVERIFY(rig.core().isReady());
        window.move(140, 160);
        QTRY_COMPARE(rig.core().settings().windowX(), 140);
        QCOMPARE(rig.core().settings().windowY(), 160);
    }

    void freePointDragsTheWindow()
    {
        ShellHarness rig;
        MainWindow& window = rig.window();
        window.buildPages();
        window.showWindow();
        const QPoint start = window.pos();
        QWidget* heading = window.headingBar();
        const QPoint inside(20, 5);
        const QPoint global = heading->mapToGlobal(inside);
        QMouseEvent press(QEvent::MouseButtonPress, inside, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(heading, &press);
        QMouseEvent drag(QEvent::MouseMove, window.mapFromGlobal(global + QPoint(30, 20)), global + QPoint(30, 20),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drag);
        QMouseEvent release(QEvent::MouseButtonRelease, window.mapFromGlobal(global + QPoint(30, 20)),
                            global + QPoint(30, 20), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &release);
        QCOMPARE(window.pos(), start + QPoint(30, 20));

        // A press on a control does not move the window.
        QTest::mousePress(window.buttonBar()->readButton(), Qt::LeftButton);
        QTest::mouseRelease(window.buttonBar()->readButton(), Qt::LeftButton);
        QCOMPARE(window.pos(), start + QPoint(30, 20));
    }

    void quitButtonEndsTheProgramFromAVisibleWindow()
    {
        ShellHarness rig;
        MainWindow& window = rig.window();
        window.buildPages();
        rig.core().openPort(QStringLiteral("COM1"));
        window.showWindow();
        window.buttonBar()->quitButton()->click();
        rig.clock().advance(200);
        QVERIFY(window.isQuitRequested());
        QVERIFY(!rig.core().isPortOpen());
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
