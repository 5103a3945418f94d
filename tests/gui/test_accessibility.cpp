#include "MainWindow.h"
#include "NavigationTable.h"
#include "Navigator.h"
#include "PageStack.h"
#include "ShellHarness.h"
#include "diagnosis/LampMatrix.h"
#include "pages/calls/LampMatrixWidget.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

namespace {

QString accessibleName(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name).trimmed() : QString();
}

bool isControl(QWidget* widget)
{
    return qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
           qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) ||
           qobject_cast<QAbstractItemView*>(widget) || widget->focusPolicy() != Qt::NoFocus;
}

} // namespace

// A screen reader names every control it can reach on every page.
class AccessibilityTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyControlOfEveryPageHasAName()
    {
        ShellHarness rig;
        rig.registerEveryPage();
        MainWindow& window = rig.window();
        window.buildPages();
        window.show();
        QStringList unnamed;
        const auto& entries = NavigationTable::entries();
        for (int i = 0; i < entries.size(); ++i) {
            window.navigator().showEntry(i);
            QApplication::processEvents();
            for (QWidget* widget : window.findChildren<QWidget*>()) {
                // The parts of a compound control speak through it.
                if (!widget->isVisible() || !isControl(widget) || qobject_cast<QHeaderView*>(widget) ||
                    qobject_cast<QAbstractSpinBox*>(widget->parent()))
                    continue;
                if (accessibleName(widget).isEmpty())
                    unnamed << QStringLiteral("%1: %2 %3")
                                   .arg(entries[i].heading, QString::fromLatin1(widget->metaObject()->className()),
                                        widget->objectName());
            }
        }
        unnamed.removeDuplicates();
        for (const QString& line : unnamed)
            qWarning("%s", qPrintable(line));
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
    }

    // The matrix is a table of lamps: each names its extension and column and says whether it is on.
    void theLampMatrixReportsEachLampsState()
    {
        LampMatrix lamps;
        LampMatrixWidget widget(lamps);
        widget.setNames({QStringLiteral("21  Wohnzimmer"), QStringLiteral("22")});
        widget.show();
        QAccessibleInterface* matrix = QAccessible::queryAccessibleInterface(&widget);
        QVERIFY(matrix);
        QCOMPARE(matrix->role(), QAccessible::Table);
        QCOMPARE(matrix->childCount(), LampMatrix::Rows * LampMatrix::Columns);
        lamps.lampOn(1, 9);
        const struct
        {
            int row, column;
            const char* name;
            bool on;
        } cases[] = {{0, 0, "21 Wohnzimmer, Hörer", false}, {1, 9, "22, Ruf", true}, {7, 1, "28, Amt1", false}};
        for (const auto& c : cases) {
            QAccessibleInterface* lamp = matrix->child(c.row * LampMatrix::Columns + c.column);
            QVERIFY(lamp);
            QCOMPARE(lamp->text(QAccessible::Name), QString::fromUtf8(c.name));
            QCOMPARE(lamp->state().checked, c.on);
            QCOMPARE(lamp->text(QAccessible::Value), c.on ? QStringLiteral("an") : QStringLiteral("aus"));
            QCOMPARE(matrix->indexOfChild(lamp), c.row * LampMatrix::Columns + c.column);
            QCOMPARE(matrix->childAt(lamp->rect().center().x(), lamp->rect().center().y()), lamp);
        }
        lamps.lampOff(1, 9);
        QVERIFY(!matrix->child(1 * LampMatrix::Columns + 9)->state().checked);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
