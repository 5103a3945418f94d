#include "ConfigPageHarness.h"
#include "common/MessageTable.h"
#include "config/ConfigFile.h"
#include "pages/config/ConfigFileActions.h"
#include "pages/config/MsnPage.h"
#include "shell/StatusLine.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {
QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}
} // namespace

class TestConfigFileActions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Saving commits the page being edited first and writes the image's 1024 bytes.
    void saveCommitsThePageAndWritesTheImage()
    {
        ConfigPageHarness h(TestImages::firmware200());
        MsnPage page(h.core());
        h.core().setCommitHook([&page] { page.store(); });
        page.findChild<QLineEdit*>(QStringLiteral("TelefonNummer"))->setText(QStringLiteral("12345"));
        ConfigFileActions actions(h.core(), nullptr);
        QString proposed, directory;
        bool asked = false;
        const QString target = h.path(QStringLiteral("eins"));
        actions.setPathPrompt([&](ConfigFileActions::Dialog dialog, const QString& dir, const QString& name) {
            asked = dialog == ConfigFileActions::Dialog::Save;
            directory = dir;
            proposed = name;
            return target;
        });
        QVERIFY(actions.save());
        QVERIFY(asked);
        QCOMPARE(proposed, ConfigFile::proposedName(QDate::currentDate()));
        QCOMPARE(directory, h.programDir());
        const QByteArray saved = fileBytes(target + QStringLiteral(".kvx"));
        QCOMPARE(saved, h.core().image().toByteArray());
        QCOMPARE(saved.mid(7, 5).toHex(' '), QByteArray("21 43 f5 ff ff"));
        QCOMPARE(actions.directory(), h.root());
    }

    void cancelledDialogsChangeNothing()
    {
        ConfigPageHarness h(TestImages::firmware200());
        ConfigFileActions actions(h.core(), nullptr);
        actions.setPathPrompt([](ConfigFileActions::Dialog, const QString&, const QString&) { return QString(); });
        const ConfigImage before = h.core().image();
        QVERIFY(!actions.save());
        QVERIFY(!actions.load());
        QVERIFY(h.core().image() == before);
        QCOMPARE(h.core().statusLine().text(), QString());
    }

    // A long file loads its first 1024 bytes and keeps the charge data the program holds.
    void loadKeepsTheChargeDataAndDecodes()
    {
        ConfigPageHarness h(TestImages::firmware200());
        QByteArray file = TestImages::make(1, 98, 3).toByteArray() + QByteArray(476, '\x55');
        file[800] = 0x11;
        file[1000] = 0x22;
        const QString path = h.path(QStringLiteral("lang.kvx"));
        writeFile(path, file);
        const ConfigImage before = h.core().image();
        int decoded = 0;
        QObject::connect(&h.core(), &AppCore::configDecoded, [&decoded] { ++decoded; });
        ConfigFileActions actions(h.core(), nullptr);
        actions.setPathPrompt([&](ConfigFileActions::Dialog, const QString&, const QString&) { return path; });
        QVERIFY(actions.load());
        QCOMPARE(decoded, 1);
        QCOMPARE(h.core().extensionCount(), 3);
        QCOMPARE(h.core().image()[800], before[800]);
        QCOMPARE(h.core().image()[975], before[975]);
        QCOMPARE(h.core().image()[1000], 0x22);
    }

    void shortFileShowsMessage32AndKeepsTheImage()
    {
        ConfigPageHarness h(TestImages::firmware200());
        const QString path = h.path(QStringLiteral("kurz.kvx"));
        writeFile(path, TestImages::make(1, 98, 3).toByteArray().left(1000));
        const ConfigImage before = h.core().image();
        ConfigFileActions actions(h.core(), nullptr);
        actions.setPathPrompt([&](ConfigFileActions::Dialog, const QString&, const QString&) { return path; });
        QVERIFY(!actions.load());
        QVERIFY(h.core().image() == before);
        QCOMPARE(h.core().statusLine().text(), MessageTable::text(32).replace(QStringLiteral("%s"), path));
        QCOMPARE(h.core().statusLine().colourLevel(), 2);
    }

    // Without a prompt the file dialogs ask: their titles, filter and proposed name.
    void dialogsCarryTitleFilterAndProposal()
    {
        ConfigPageHarness h(TestImages::firmware200());
        QWidget window;
        ConfigFileActions actions(h.core(), &window);
        QStringList seen;
        const auto inspect = [&seen] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen << dialog->windowTitle() << dialog->nameFilters().join(QLatin1Char('|'))
                 << QFileInfo(dialog->selectedFiles().value(0)).fileName() << dialog->defaultSuffix();
            dialog->reject();
        };
        QTimer::singleShot(0, inspect);
        QVERIFY(!actions.save());
        QTimer::singleShot(0, inspect);
        QVERIFY(!actions.load());
        const QString filter = QStringLiteral("Kavex-Parametrierung (*.kvx *.KVX)");
        QCOMPARE(seen, QStringList({QStringLiteral("Konfiguration sichern"), filter,
                                    ConfigFile::proposedName(QDate::currentDate()), QStringLiteral("kvx"),
                                    QStringLiteral("Konfiguration laden"), filter, QString(), QStringLiteral("kvx")}));
    }

    void failedSaveIsShownInRed()
    {
        ConfigPageHarness h(TestImages::firmware200());
        ConfigFileActions actions(h.core(), nullptr);
        const QString path = h.path(QStringLiteral("fehlt/ordner/x.kvx"));
        actions.setPathPrompt([&](ConfigFileActions::Dialog, const QString&, const QString&) { return path; });
        QVERIFY(!actions.save());
        QVERIFY(!QFile::exists(path));
        QVERIFY(h.core().statusLine().text().startsWith(QStringLiteral("Kann nicht nach ")));
        QCOMPARE(h.core().statusLine().colourLevel(), 2);
    }
};

QTEST_MAIN(TestConfigFileActions)
#include "test_config_file_actions.moc"
