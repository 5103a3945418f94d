#include "ShellHarness.h"
#include "charges/IncomingCallLog.h"
#include "pages/shell/MqttPage.h"
#include "pages/shell/ProgramParameterPage.h"
#include "pages/shell/TimeControlPage.h"
#include "pages/shell/TimeField.h"
#include "pages/shell/WakeUpPage.h"
#include "shell/Settings.h"
#include "shell/StatusLine.h"
#include "shell/TimeControl.h"
#include "shell/WakeUp.h"

#include <QCheckBox>
#include <QLabel>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {

QByteArray settingsBytes(AppCore& core)
{
    QFile file(core.settings().filePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void typeTime(TimeField* field, const char* digits)
{
    field->setFocus();
    field->setCursorPosition(0);
    QTest::keyClicks(field, QString::fromLatin1(digits));
}

} // namespace

class ShellTimePagesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void timeControlEditsReachTheCoreAtOnceAndSaveStoresThem()
    {
        ShellHarness shell;
        TimeControlPage page(shell.core());
        typeTime(page.timeField(0), "0730");
        page.weekendBox(0)->click();
        QTest::keyClicks(page.fileField(0), QStringLiteral("/tmp/nacht.kvx"));
        const TimeControl::Point& p = shell.core().timeControl().point(0);
        QCOMPARE(p.time, QStringLiteral("0730"));
        QCOMPARE(p.file, QStringLiteral("/tmp/nacht.kvx"));
        QVERIFY(p.weekdays);
        QVERIFY(!p.weekend);
        QVERIFY(!settingsBytes(shell.core()).contains("Zeitpunkt"));

        QCOMPARE(page.saveButton()->text(), QStringLiteral("S&peichern"));
        page.saveButton()->click();
        QVERIFY(settingsBytes(shell.core())
                    .contains("[Zeitpunkt1]\r\nZeit=0730\r\nDatei=/tmp/nacht.kvx\r\nMo-Fr=Ja\r\nSa-So=Nein\r\n"));
    }

    void browsingPutsTheFileIntoItsRowAndStoresItAlone()
    {
        ShellHarness shell;
        TimeControlPage page(shell.core());
        typeTime(page.timeField(1), "2200");
        page.setFilePrompt([] { return QStringLiteral("/daten/tag.kvx"); });
        page.browseButton(1)->click();
        QCOMPARE(page.fileField(1)->text(), QStringLiteral("/daten/tag.kvx"));
        QCOMPARE(page.timeField(1)->digits(), QStringLiteral("2200")); // the typed time stays on the page
        const QByteArray stored = settingsBytes(shell.core());
        QVERIFY(stored.contains("[Zeitpunkt2]\r\nDatei=/daten/tag.kvx\r\n"));
        QVERIFY(!stored.contains("Zeit="));

        page.setFilePrompt([] { return QString(); }); // cancelled
        page.browseButton(1)->click();
        QCOMPARE(page.fileField(1)->text(), QStringLiteral("/daten/tag.kvx"));
    }

    // The chosen file is stored, read, reported with its skipped cards, and names the next caller;
    // "Entfernen" forgets it.
    void addressBookChoiceNamesCallers()
    {
        ShellHarness shell;
        const QString path = QDir(shell.configHome()).filePath(QStringLiteral("kontakte.vcf"));
        QDir().mkpath(shell.configHome());
        QFile cards(path);
        QVERIFY(cards.open(QIODevice::WriteOnly));
        cards.write("BEGIN:VCARD\nVERSION:4.0\nFN:Hans M\xC3\xBCller\nTEL:+49 30 123-4567\nEND:VCARD\n"
                    "BEGIN:VCARD\nVERSION:4.0\nTEL:0301111111\nEND:VCARD\n");
        cards.close();
        ProgramParameterPage page(shell.core());
        page.setFilePrompt([&path] { return path; });
        page.addressBookChooser()->click();
        QCOMPARE(page.addressBookField()->text(), path);
        QVERIFY(settingsBytes(shell.core()).contains(("Telefonbuch=" + path).toUtf8()));
        QCOMPARE(shell.core().statusLine().text(),
                 QStringLiteral("Telefonbuch: 1 Karten mit 1 Nummern gelesen, 1 fehlerhafte Karten übersprungen"));
        IncomingCallLog& incoming = shell.core().incomingCalls();
        incoming.onIncomingCall(QStringLiteral("301234567"), QStringLiteral("4711"), 0);
        QCOMPARE(incoming.list().text(0, IncomingCallLog::NameColumn), QStringLiteral("Hans Müller"));

        page.addressBookRemover()->click();
        QCOMPARE(page.addressBookField()->text(), QString());
        QCOMPARE(shell.core().settings().addressBookFile(), QString());
        incoming.onIncomingCall(QStringLiteral("301234567"), QStringLiteral("4711"), 0);
        QCOMPARE(incoming.list().text(1, IncomingCallLog::NameColumn), QString());
    }

    // The choice shows the actions' own texts; the settings file keeps the stored ones.
    void theDiagnosisActionShowsItsTextAndStoresTheStoredOne()
    {
        ShellHarness shell(QStringLiteral("[Allgemein]\r\nAnschluß=COM1\r\nAktionDiagnose=Verbindung zeigen\r\n"));
        ProgramParameterPage page(shell.core());
        auto* action = page.findChild<QComboBox*>(QStringLiteral("ComboAktionDiagnose"));
        QVERIFY(action);
        QCOMPARE(action->currentText(), QStringLiteral("Verbindungsliste anzeigen"));
        QCOMPARE(action->itemText(1), QStringLiteral("Akustisches Signal"));
        QCOMPARE(action->itemText(3), QStringLiteral("Diagnosemodus und akust. Signal"));
        action->setCurrentIndex(3);
        Q_EMIT action->activated(3);
        QVERIFY(settingsBytes(shell.core()).contains("AktionDiagnose=Akustisch und Diagnose zeigen\r\n"));
    }

    void wakeUpPageShowsTheStoredTimesAndLocksDuringTransfers()
    {
        ShellHarness shell(
            QStringLiteral("[Allgemein]\r\nAnschluß=COM1\r\n[Wecken]\r\nNebenstelle 25, SaSo-Zeit=0815\r\n"
                           "Dauer=99\r\n"));
        shell.core().wakeUp().loadSettings();
        WakeUpPage page(shell.core());
        auto* field = page.findChild<TimeField*>(QStringLiteral("WeckzeitSaSo25"));
        QVERIFY(field);
        QCOMPARE(field->text(), QStringLiteral("08:15"));
        QCOMPARE(page.findChild<TimeField*>(QStringLiteral("WeckzeitMoFr21"))->text(), QStringLiteral("99:99"));
        QCOMPARE(page.durationBox()->value(), WakeUp::MaxDuration);

        typeTime(page.weekdayField(0), "0630");
        QCOMPARE(shell.core().wakeUp().times().weekdays[0], QStringLiteral("0630"));
        page.setTransferLock(true);
        QVERIFY(!page.weekdayField(7)->isEnabled());
        QVERIFY(!page.durationBox()->isEnabled());
        page.setTransferLock(false);
        QVERIFY(page.weekendField(7)->isEnabled());
    }

    // "Übernehmen" stores the section and connects anew; "Verbindung testen" tries the fields as they
    // stand and says why not (no broker on the port, a password file others may read).
    void mqttPageStoresAndTestsTheSettings()
    {
        ShellHarness shell;
        MqttPage page(shell.core());
        page.refresh();
        QCOMPARE(page.stateLabel()->text(), QStringLiteral("Aus"));
        page.serverField()->setText(QStringLiteral("127.0.0.1"));
        page.portBox()->setValue(1);
        page.applyButton()->click();
        QVERIFY2(settingsBytes(shell.core())
                     .contains("[MQTT]\r\nServer=127.0.0.1\r\nPort=1\r\nTLS=0\r\nCA-Datei=\r\nBenutzer=\r\n"
                               "Kennwortdatei=\r\nPr\xe4" "fix=winkavex\r\nHomeAssistant=1\r\nBefehle=0\r\n"),
                 settingsBytes(shell.core()).constData());
        QCOMPARE(page.stateLabel()->text(), QStringLiteral("Keine Verbindung zu 127.0.0.1:1"));

        page.testButton()->click();
        QTRY_VERIFY2(page.testLabel()->text().contains(QStringLiteral("Connection refused")),
                     qPrintable(page.testLabel()->text()));
        const QString passwordFile = shell.core().programDir() + QStringLiteral("/kennwort");
        QFile file(passwordFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("geheim\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        page.passwordFileField()->setText(passwordFile);
        page.testButton()->click();
        QTRY_VERIFY2(page.testLabel()->text().contains(QStringLiteral("nur ihr Besitzer darf sie lesen")),
                     qPrintable(page.testLabel()->text()));
        QVERIFY(!settingsBytes(shell.core()).contains("Kennwortdatei=/"));
    }
};

QTEST_MAIN(ShellTimePagesTest)
#include "test_shell_time_pages.moc"
