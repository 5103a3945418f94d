#include "ConfigPageHarness.h"
#include "config/BaseConfig.h"
#include "config/ConfigChoices.h"
#include "pages/config/ExtensionPage.h"
#include "pages/config/MsnPage.h"
#include "pages/config/ParametersPage.h"
#include "pages/shell/ProgramParameterPage.h"
#include "shell/DiagnosisSignalling.h"
#include "shell/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace {
template <typename T> T* control(QWidget& page, const char* name)
{
    auto* found = page.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

void choose(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

QByteArray bytes(const ConfigImage& image, int offset, int length)
{
    return TestImages::hex(image, offset, length);
}
} // namespace

class TestParameterPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Choosing another MSN takes over the page for the one being left, then shows the new one.
    void msnChoiceStoresTheMsnBeingLeft()
    {
        ConfigPageHarness h(TestImages::firmware200());
        ParametersPage page(h.core());
        control<QLineEdit>(page, "TelefonNummer")->setText(QStringLiteral("12345"));
        choose(control<QComboBox>(page, "MsnAuswahl"), 3);
        QCOMPARE(bytes(h.core().image(), 7, 5), QByteArray("21 43 F5 FF FF"));
        QCOMPARE(control<QLineEdit>(page, "TelefonNummer")->text(), QStringLiteral("0301234567"));
        QCOMPARE(control<QComboBox>(page, "RufRhytmus")->currentText(), QStringLiteral("Keiner"));
    }

    // Switching to the extension page takes over the MSN page; the hold choice reaches the image.
    void subPageSwitchStoresThePageBeingLeft()
    {
        ConfigPageHarness h(TestImages::firmware200());
        ParametersPage page(h.core());
        choose(control<QComboBox>(page, "Halten"), 1); // "Aus"
        control<QLineEdit>(page, "TelefonNummer")->setText(QStringLiteral("99"));
        page.showSubPage(ParametersPage::ExtensionSubPage);
        QCOMPARE(h.core().image()[57], 0);
        QCOMPARE(h.core().image()[94], 0);
        QCOMPARE(bytes(h.core().image(), 7, 5), QByteArray("99 FF FF FF FF"));
        QCOMPARE(page.currentSubPage(), int(ParametersPage::ExtensionSubPage));
    }

    void firmwareGatesSurviveTheTransferLock_data()
    {
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("major");
        QTest::addColumn<bool>("rhythm");
        QTest::addColumn<bool>("waitingList");
        QTest::newRow("1.93") << 93 << 1 << false << false;
        QTest::newRow("1.95") << 95 << 1 << false << true;
        QTest::newRow("2.00") << 0 << 2 << true << true;
    }

    void firmwareGatesSurviveTheTransferLock()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(bool, rhythm);
        QFETCH(bool, waitingList);
        ConfigPageHarness h(TestImages::make(major, minor, 8));
        ParametersPage page(h.core());
        page.showSubPage(ParametersPage::ExtensionSubPage);
        choose(control<QComboBox>(page, "NebenstellenAuswahl"), 2); // 23 forwards to 21 after five rings
        page.setTransferLock(true);
        QVERIFY(!control<QLineEdit>(page, "TelefonNummer")->isEnabled());
        QVERIFY(!control<QComboBox>(page, "NebenstellenAuswahl")->isEnabled());
        QVERIFY(!control<QListWidget>(page, "AnklopfListe")->isEnabled());
        page.setTransferLock(false);
        QVERIFY(control<QLineEdit>(page, "TelefonNummer")->isEnabled());
        QCOMPARE(control<QComboBox>(page, "RufRhytmus")->isEnabled(), rhythm);
        QCOMPARE(control<QListWidget>(page, "AnklopfListe")->isEnabled(), waitingList);
        // Forwarding modes exist from 2.00 on; below, 23 forwards to an external number.
        QCOMPARE(control<QComboBox>(page, "RufUmlArt")->isEnabled(), rhythm);
    }

    // A hide while a transfer runs must not write stale page values into a freshly received image.
    void lockedPageStoresNothing()
    {
        ConfigPageHarness h(TestImages::firmware200());
        ParametersPage page(h.core());
        page.show();
        const ConfigImage before = h.core().image();
        page.setTransferLock(true);
        control<QLineEdit>(page, "TelefonNummer")->setText(QStringLiteral("555"));
        page.hide();
        page.store();
        QVERIFY(h.core().image() == before);
    }

    // Typing the target re-evaluates the mode choice; storing writes the forwarding bytes.
    void forwardingTargetAndModeReachTheRecord()
    {
        ConfigPageHarness h(TestImages::firmware200());
        ParametersPage page(h.core());
        page.showSubPage(ParametersPage::ExtensionSubPage);
        auto* target = control<QLineEdit>(page, "Rufumleitung");
        auto* mode = control<QComboBox>(page, "RufUmlArt");
        target->clear();
        QTest::keyClicks(target, QStringLiteral("29"));
        QVERIFY(!mode->isEnabled());
        QCOMPARE(mode->currentIndex(), -1);
        target->clear();
        QTest::keyClicks(target, QStringLiteral("23"));
        QVERIFY(mode->isEnabled());
        QCOMPARE(mode->currentText(), QStringLiteral("sofort"));
        choose(mode, ConfigChoices::forwardingModes().indexOf(QStringLiteral("nach fünf Rufen")));
        const int r = TestImages::record(h.core().image(), 0);
        QCOMPARE(h.core().image()[r + 3], 0);
        QCOMPARE(h.core().image()[r + 23], 0);
        QCOMPARE(h.core().image()[r + 24], 3);
        QCOMPARE(h.core().image()[r + 25], 5);
    }

    // Choosing another extension stores the one being left (its PIN padded) and shows the new one.
    void extensionChoiceStoresTheExtensionBeingLeft()
    {
        ConfigPageHarness h(TestImages::firmware200());
        ParametersPage page(h.core());
        page.showSubPage(ParametersPage::ExtensionSubPage);
        control<QLineEdit>(page, "PIN")->setText(QStringLiteral("7"));
        choose(control<QComboBox>(page, "Dienst"), 2); // "Daten"
        choose(control<QComboBox>(page, "NebenstellenAuswahl"), 1);
        const int r = TestImages::record(h.core().image(), 0);
        QCOMPARE(bytes(h.core().image(), r + 5, 2), QByteArray("00 70"));
        QCOMPARE(h.core().image()[r + 2], 2);
        QCOMPARE(control<QComboBox>(page, "Dienst")->currentText(), QStringLiteral("Anrufbeantworter"));
        QCOMPARE(control<QLineEdit>(page, "PIN")->text(), QStringLiteral("0000"));
    }

    // The units field follows charge readings until the user types in it, so that a later store
    // cannot put an old count back into the image.
    void unitsFieldFollowsChargeReadings()
    {
        ConfigPageHarness h(TestImages::firmware200());
        ParametersPage page(h.core());
        page.showSubPage(ParametersPage::ExtensionSubPage);
        auto* units = control<QLineEdit>(page, "Einheiten");
        QCOMPARE(units->text(), QStringLiteral("4660"));
        h.core().image()[801] = 0x35;
        Q_EMIT h.core().chargesDecoded();
        QCOMPARE(units->text(), QStringLiteral("4661"));
        page.store();
        QCOMPARE(h.core().image()[801], 0x35);

        units->clear();
        QTest::keyClicks(units, QStringLiteral("7"));
        h.core().image()[801] = 0x36;
        Q_EMIT h.core().chargesDecoded();
        QCOMPARE(units->text(), QStringLiteral("7"));
        page.store();
        QCOMPARE(h.core().image()[801], 7);
        QCOMPARE(h.core().image()[802], 0);
    }

    // The per-MSN monitoring box follows "CAPI-Laden" and "Alle" of the program-parameter page.
    // "Standardlautstärke" applies to the acoustic actions only: for any other it is shown neither
    // enabled nor checked, and the stored value comes back with a sound.
    void standardVolumeIsShownCheckedOnlyWhereItApplies()
    {
        ConfigPageHarness h(TestImages::firmware200());
        h.core().settings().setStandardVolume(true);
        ProgramParameterPage page(h.core());
        page.refresh();
        auto* box = control<QCheckBox>(page, "CheckBoxStandardLautstaerke");
        auto* action = control<QComboBox>(page, "ComboAktionDiagnose");
        choose(action, 0); // "Keine"
        QVERIFY(!box->isEnabled());
        QVERIFY(!box->isChecked());
        QVERIFY(h.core().settings().standardVolume());
        choose(action, 1); // "Akustisches Signal"
        QCOMPARE(box->isChecked(), h.core().signalling().isStandardVolumeEnabled());
    }

    void monitoringBoxFollowsTheMonitoringSwitches()
    {
        ConfigPageHarness h(TestImages::firmware200());
        ParametersPage page(h.core());
        auto* watched = control<QCheckBox>(page, "MsnUeberwachen");
        h.core().setWatchAll(false);
        QVERIFY(watched->isEnabled());
        h.core().setWatchAll(true);
        QVERIFY(!watched->isEnabled());
        h.core().setWatchAll(false);
        h.core().setLoadCapi(false);
        QVERIFY(!watched->isEnabled());
    }
};

QTEST_MAIN(TestParameterPages)
#include "test_parameter_pages.moc"
