#include "ConfigPageHarness.h"
#include "common/MessageTable.h"
#include "config/SpeedDialCodec.h"
#include "config/SpeedDialList.h"
#include "config/SpeedDialTransfer.h"
#include "link/Cells.h"
#include "pages/config/SpeedDialEditorBox.h"
#include "pages/config/SpeedDialPage.h"
#include "shell/Settings.h"
#include "shell/StatusLine.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {
const QString SpeedDialSettings = QStringLiteral("[Kurzwahlen]\r\n301=Mutter\r\n302=bäcker\r\n"
                                                 "[Kurzwahlen-Rufnummer]\r\n303=0301234\r\n");

template <typename T> T* control(QWidget& page, const char* name)
{
    auto* found = page.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QStringList column(const QTreeWidget* list, int c, int rows)
{
    QStringList texts;
    for (int r = 0; r < rows; ++r)
        texts << list->topLevelItem(r)->text(c);
    return texts;
}

void clickRow(QTreeWidget* list, int row)
{
    QTreeWidgetItem* item = list->topLevelItem(row);
    list->setCurrentItem(item);
    Q_EMIT list->itemClicked(item, 0);
}
} // namespace

class TestSpeedDialPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oldFirmwareShowsMessage51AndSendsNothing()
    {
        ConfigPageHarness h(TestImages::firmware198());
        QVERIFY(h.core().openPort(QStringLiteral("COM1")));
        SpeedDialPage page(h.core());
        page.entered();
        QCOMPARE(h.core().statusLine().text(), MessageTable::text(51));
        QCOMPARE(h.core().statusLine().colourLevel(), 2);
        // Nothing to edit either: a row opens no editor, and no entry can be saved.
        clickRow(page.list(), 0);
        QVERIFY(!page.editorBox()->hasEntry());
        QVERIFY(!h.core().speedDialTransfer().save(h.core().speedDials().rowClicked(0)));
        QVERIFY(h.transport().sent().isEmpty());
    }

    void entriesAreReadOncePerRun()
    {
        ConfigPageHarness h(TestImages::firmware200());
        QVERIFY(h.core().openPort(QStringLiteral("COM1")));
        SpeedDialPage page(h.core());
        page.entered();
        QCOMPARE(h.transport().sentBytes(), QByteArray::fromHex("83020200"));
        page.entered();
        QCOMPARE(h.transport().sentBytes(), QByteArray::fromHex("83020200"));
    }

    // Column clicks sort through the list's rules and do nothing while a transfer runs.
    void columnClicksSortUnlessLocked()
    {
        ConfigPageHarness h(TestImages::firmware200(), SpeedDialSettings);
        SpeedDialPage page(h.core());
        QTreeWidget* list = page.list();
        QCOMPARE(list->topLevelItemCount(), 60);
        Q_EMIT list->header()->sectionClicked(1);
        QCOMPARE(column(list, 1, 3), QStringList({QStringLiteral("bäcker"), QStringLiteral("Mutter"), QString()}));
        Q_EMIT list->header()->sectionClicked(1);
        QCOMPARE(column(list, 1, 3), QStringList({QStringLiteral("Mutter"), QStringLiteral("bäcker"), QString()}));
        QCOMPARE(list->topLevelItem(59)->text(1), QString()); // empty names stay last when reversed

        page.setTransferLock(true);
        Q_EMIT list->header()->sectionClicked(1); // would reverse the order again
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("Mutter"));
        clickRow(list, 0);
        QVERIFY(!page.editorBox()->hasEntry());
        page.setTransferLock(false);
        Q_EMIT list->header()->sectionClicked(0);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("301"));
    }

    // A number read that differs from the stored one is shown in angle brackets; a row click edits
    // the bare number, and the editor keeps digits only.
    void rowClickFillsTheEditor()
    {
        ConfigPageHarness h(TestImages::firmware200(), SpeedDialSettings);
        SpeedDialPage page(h.core());
        h.core().speedDials().applyEntry({3, QString(), SpeedDialCodec::attributeValue(0, 0x01, 0, 0)});
        page.setTransferLock(false);
        QCOMPARE(page.list()->topLevelItem(2)->text(2), QStringLiteral("<0301234>"));
        clickRow(page.list(), 2);
        QCOMPARE(control<QLineEdit>(page, "KWNummer")->text(), QStringLiteral("303"));
        auto* number = control<QLineEdit>(page, "KWRufnummer");
        QCOMPARE(number->text(), QStringLiteral("0301234"));
        QVERIFY(number->isEnabled());

        number->clear();
        QTest::keyClicks(number, QStringLiteral("12a3"));
        QCOMPARE(number->text(), QStringLiteral("123"));

        auto* baby = control<QCheckBox>(page, "BabyRuf21");
        QVERIFY(baby->isEnabled());
        control<QCheckBox>(page, "WahlSperre")->click();
        QVERIFY(!baby->isEnabled());
        QVERIFY(control<QCheckBox>(page, "Kurzwahl21")->isEnabled());
    }

    // Saving sends the entry's write payload as cells and updates the row and the settings file.
    void saveSendsTheEntry()
    {
        ConfigPageHarness h(TestImages::firmware200(), SpeedDialSettings);
        QVERIFY(h.core().openPort(QStringLiteral("COM1")));
        SpeedDialPage page(h.core());
        clickRow(page.list(), 0);
        control<QLineEdit>(page, "KWRufnummer")->setText(QStringLiteral("0301234"));
        control<QCheckBox>(page, "Kurzwahl22")->setChecked(true);
        control<QPushButton>(page, "KurzwahlSpeichern")->click();
        h.clock().advance(2000); // the cells' pauses

        const std::uint32_t value = SpeedDialCodec::attributeValue(0, 0x02, 0, 0);
        QCOMPARE(h.transport().sentBytes(),
                 Cells::encodeCells(SpeedDialCodec::savePayload(1, QStringLiteral("0301234"), value)));
        QCOMPARE(page.list()->topLevelItem(0)->text(2), QStringLiteral("0301234"));
        QCOMPARE(page.list()->topLevelItem(0)->text(3), QStringLiteral("Kurzwahl"));
        QCOMPARE(h.core().settings().speedDialNumber(301), QStringLiteral("0301234"));
    }

    // The entry write has no acknowledgement; a port that refuses the bytes is still reported.
    void refusedSaveIsReported()
    {
        ConfigPageHarness h(TestImages::firmware200(), SpeedDialSettings);
        QVERIFY(h.core().openPort(QStringLiteral("COM1")));
        h.transport().failSendsAfter(0);
        SpeedDialPage page(h.core());
        clickRow(page.list(), 1);
        control<QPushButton>(page, "KurzwahlSpeichern")->click();
        h.clock().advance(100);
        QCOMPARE(h.core().statusLine().text(),
                 MessageTable::text(36).replace(QStringLiteral("%s"), QStringLiteral("COM1")));
        QCOMPARE(h.core().statusLine().colourLevel(), 2);
    }
};

QTEST_MAIN(TestSpeedDialPage)
#include "test_speed_dial_page.moc"
