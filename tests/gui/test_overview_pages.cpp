#include "ConfigPageHarness.h"
#include "NavigationTable.h"
#include "PageRegistry.h"
#include "PlaceholderPage.h"
#include "config/ExtensionConfig.h"
#include "pages/config/AssignmentPage.h"
#include "pages/config/CallWaitingPage.h"
#include "pages/config/CheckCell.h"
#include "pages/config/CheckMatrix.h"
#include "pages/config/ConfigFileButtons.h"
#include "pages/config/ConfigPages.h"
#include "pages/config/ExtensionPage.h"
#include "pages/config/MsnPage.h"
#include "pages/config/OverviewPage.h"
#include "pages/config/ParametersPage.h"
#include "pages/config/PermissionsPage.h"
#include "pages/config/SpeedDialPage.h"
#include "pages/config/ValueLabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace {
ValueLabel* label(QWidget& page, const QString& name)
{
    auto* found = page.findChild<ValueLabel*>(name);
    if (!found)
        qFatal("no label %s", qPrintable(name));
    return found;
}
} // namespace

class TestOverviewPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void registersEveryConfigurationPage()
    {
        ConfigPageHarness h(TestImages::firmware200());
        PageRegistry registry;
        registerConfigPages(registry);
        QWidget parent;
        const auto isA = [&](const QString& key, const char* className) {
            Page* page = registry.create(key, h.core(), &parent);
            return QByteArray(page->metaObject()->className()) == className;
        };
        QVERIFY(isA(PageKey::Overview, "OverviewPage"));
        QVERIFY(isA(PageKey::Assignment, "AssignmentPage"));
        QVERIFY(isA(PageKey::Permissions, "PermissionsPage"));
        QVERIFY(isA(PageKey::CallWaiting, "CallWaitingPage"));
        QVERIFY(isA(PageKey::Parameters, "ParametersPage"));
        QVERIFY(isA(PageKey::SpeedDials, "SpeedDialPage"));
        QVERIFY(isA(PageKey::ChargeOverview, "PlaceholderPage"));
        QVERIFY(qobject_cast<ConfigFileButtons*>(registry.createFileButtons(h.core(), &parent)));
    }

    void overviewShowsTheDecodedExchange()
    {
        ConfigPageHarness h(TestImages::make(1, 95, 8));
        OverviewPage page(h.core());
        QCOMPARE(label(page, "Anschlussart")->text(), QStringLiteral("Anlagenanschluß"));
        QCOMPARE(label(page, "Firmware")->text(), QStringLiteral("1.95"));
        QCOMPARE(label(page, "WartemusikVon")->text(), QStringLiteral("Anschluß 22"));
        QCOMPARE(label(page, "MsnNummer4")->text(), QStringLiteral("0301234567"));
        // Below 2.00 a number's rhythm is not available; an empty number shows none at all.
        QCOMPARE(label(page, "MsnRhythmus1")->text(), QStringLiteral("n.v."));
        QCOMPARE(label(page, "MsnRhythmus5")->text(), QString());
        QVERIFY(!label(page, "MsnNummer1")->isRed());
        QVERIFY(label(page, "LabelCAPI")->isRed());
    }

    // Values changed on the MSN page are red on the overviews until the next decode.
    void msnEditsAreRedUntilTheNextDecode()
    {
        ConfigPageHarness h(TestImages::firmware200());
        ParametersPage parameters(h.core());
        OverviewPage overview(h.core());
        AssignmentPage assignment(h.core());
        overview.show();
        assignment.show();
        overview.hide();
        assignment.hide();
        auto* number = parameters.findChild<QLineEdit*>(QStringLiteral("TelefonNummer"));
        auto* ring23 = parameters.findChild<QCheckBox*>(QStringLiteral("Zuordnung23"));
        number->setText(QStringLiteral("4711"));
        ring23->click();
        parameters.store();
        overview.show(); // shown again after the edit, the overviews mark it
        assignment.show();
        QCOMPARE(label(overview, "MsnNummer1")->text(), QStringLiteral("4711"));
        QVERIFY(label(overview, "MsnNummer1")->isRed());
        QVERIFY(!label(overview, "MsnNummer2")->isRed());
        QVERIFY(assignment.matrix()->isSet(0, 2));
        QVERIFY(assignment.matrix()->isMarked(0, 2));
        QVERIFY(!assignment.matrix()->isMarked(0, 0));

        h.core().decodeConfiguration();
        overview.refresh();
        assignment.refresh();
        QCOMPARE(label(overview, "MsnNummer1")->text(), QStringLiteral("4711"));
        QVERIFY(!label(overview, "MsnNummer1")->isRed());
        QVERIFY(!assignment.matrix()->isMarked(0, 2));
    }

    // An exchange with three extensions: everything of 24 .. 28 is greyed, disabled or left out.
    void missingExtensionsAreGreyedAndLeftOut()
    {
        ConfigPageHarness h(TestImages::make(2, 0, 3), QStringLiteral("[Bezeichnungen]\r\n21=Küche\r\n"));
        AssignmentPage assignment(h.core());
        CallWaitingPage waiting(h.core());
        PermissionsPage permissions(h.core());
        ParametersPage parameters(h.core());
        for (int column = 0; column < 8; ++column) {
            const bool missing = column >= 3;
            QCOMPARE(assignment.matrix()->isGreyed(5, column), missing);
            QCOMPARE(waiting.msnMatrix()->isGreyed(0, column), missing);
            QCOMPARE(waiting.extensionMatrix()->isGreyed(column, 0), column >= 3 || column == 0);
            QCOMPARE(permissions.findChild<CheckCell*>(QStringLiteral("Impuls%1").arg(21 + column))->isGreyed(),
                     missing);
            QCOMPARE(parameters.findChild<QCheckBox*>(QStringLiteral("Zuordnung%1").arg(21 + column))->isEnabled(),
                     !missing);
        }
        QCOMPARE(label(permissions, "Berechtigung24")->text(), QString());
        auto* hold = parameters.findChild<QComboBox*>(QStringLiteral("Halten"));
        QCOMPARE(hold->count(), 5);
        QCOMPARE(hold->itemText(4), QStringLiteral("Nebenstelle 23"));
        auto* chooser = parameters.findChild<QComboBox*>(QStringLiteral("NebenstellenAuswahl"));
        QCOMPARE(chooser->count(), 3);
        QCOMPARE(chooser->itemText(0), QStringLiteral("21 - Küche"));
        QCOMPARE(chooser->itemText(1), QStringLiteral("22"));
    }

    // A click in the extension page's call-waiting list flips the cell of the overview matrix, in red.
    void callWaitingClickMarksTheMatrix()
    {
        ConfigPageHarness h(TestImages::firmware200());
        ParametersPage parameters(h.core());
        CallWaitingPage waiting(h.core());
        parameters.showSubPage(ParametersPage::ExtensionSubPage);
        QVERIFY(waiting.msnMatrix()->isSet(0, 0)); // extension 21: MSN 1 may knock
        auto* list = parameters.findChild<QListWidget*>(QStringLiteral("AnklopfListe"));
        QVERIFY(list->count() > 0);
        QCOMPARE(list->item(0)->text(), QStringLiteral("MSN 1  (701)"));
        QCOMPARE(list->item(0)->checkState(), Qt::Checked);

        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QCOMPARE(list->item(0)->checkState(), Qt::Unchecked);
        waiting.refresh();
        QVERIFY(!waiting.msnMatrix()->isSet(0, 0));
        QVERIFY(waiting.msnMatrix()->isMarked(0, 0));
        QVERIFY(!waiting.msnMatrix()->isMarked(2, 0));
    }
};

QTEST_MAIN(TestOverviewPages)
#include "test_overview_pages.moc"
