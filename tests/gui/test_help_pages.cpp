#include "HelpPages.h"
#include "HelpWindow.h"
#include "NavigationTable.h"
#include "Navigator.h"
#include "ShellHarness.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>

namespace {

QString resource(const QString& fileName)
{
    QFile file(QStringLiteral(":/help/") + fileName);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Names the first difference, so that a failure says which text to regenerate.
QString difference(const QList<ContextHelpEntry>& program, const QList<ContextHelpEntry>& listed)
{
    for (qsizetype i = 0; i < qMax(program.size(), listed.size()); ++i) {
        const QString have = i < program.size() ? program[i].control + QStringLiteral(": ") + program[i].text : "-";
        const QString help = i < listed.size() ? listed[i].control + QStringLiteral(": ") + listed[i].text : "-";
        if (have != help)
            return QStringLiteral("program \"%1\", help \"%2\"").arg(have, help);
    }
    return {};
}

} // namespace

class HelpPagesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void slugsAreFileNames_data()
    {
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("file");
        QTest::newRow("umlaut") << QStringLiteral("Gebührenübersicht") << QStringLiteral("gebuehrenuebersicht.html");
        QTest::newRow("sharp s") << QStringLiteral("Parametrierungspaßwort")
                                 << QStringLiteral("parametrierungspasswort.html");
        QTest::newRow("space") << QStringLiteral("Abgehende Gespräche") << QStringLiteral("abgehende-gespraeche.html");
    }

    void slugsAreFileNames()
    {
        QFETCH(QString, heading);
        QFETCH(QString, file);
        QCOMPARE(HelpPages::fileName(heading), file);
    }

    // A control's context help changed without `winkavex --help-pages` shows up here.
    void everyPageListsTheContextHelpOfItsControls()
    {
        ShellHarness rig;
        rig.registerEveryPage();
        MainWindow& window = rig.window();
        window.buildPages();
        const auto& table = NavigationTable::entries();
        for (int i = 0; i < table.size(); ++i) {
            window.navigator().showEntry(i);
            const QString html = resource(HelpPages::fileName(table[i].heading));
            QVERIFY2(!html.isEmpty(), qPrintable(table[i].heading));
            const QList<ContextHelpEntry> program = HelpPages::shownPageEntries(window);
            QVERIFY2(!program.isEmpty(), qPrintable(table[i].heading));
            QVERIFY2(program == HelpPages::listedEntries(html),
                     qPrintable(table[i].heading + QStringLiteral(": ") +
                                difference(program, HelpPages::listedEntries(html))));
            const QString picture = QStringLiteral("images/%1.png").arg(HelpPages::slug(table[i].heading));
            QVERIFY2(html.contains(picture) && QFile::exists(QStringLiteral(":/help/") + picture), qPrintable(picture));
        }
        window.navigator().showEntry(0);
        const QString frame = resource(HelpPages::fileName(HelpPages::frameHeading()));
        QVERIFY2(HelpPages::frameEntries(window) == HelpPages::listedEntries(frame),
                 qPrintable(difference(HelpPages::frameEntries(window), HelpPages::listedEntries(frame))));
    }

    void everyLinkOfTheHelpLeadsToAFile()
    {
        QStringList files{QStringLiteral("index.html"), HelpPages::fileName(HelpPages::frameHeading())};
        for (const NavigationEntry& entry : NavigationTable::entries())
            files << HelpPages::fileName(entry.heading);
        const QString index = resource(QStringLiteral("index.html"));
        static const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)"));
        for (const QString& file : files) {
            QVERIFY2(index.contains(QStringLiteral("href=\"%1\"").arg(file)) || file == QLatin1String("index.html"),
                     qPrintable(file));
            auto links = link.globalMatch(resource(file));
            while (links.hasNext()) {
                const QString target = links.next().captured(1);
                QVERIFY2(QFile::exists(QStringLiteral(":/help/") + target), qPrintable(file + " -> " + target));
            }
        }
    }

    void f1OpensTheHelpOfTheShownPage()
    {
        ShellHarness rig;
        MainWindow& window = rig.window();
        window.buildPages();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.navigator().showHeading(QStringLiteral("Programmparameter"));
        QTest::keyClick(&window, Qt::Key_F1);
        QVERIFY(window.helpWindowIfOpen());
        QCOMPARE(window.helpWindowIfOpen()->browser()->source().fileName(), QStringLiteral("programmparameter.html"));
        QVERIFY(window.helpWindowIfOpen()->browser()->toPlainText().contains(QStringLiteral("Schnittstelle")));
    }
};

QTEST_MAIN(HelpPagesTest)
#include "test_help_pages.moc"
