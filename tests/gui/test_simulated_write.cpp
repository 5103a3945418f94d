#include "ButtonBar.h"
#include "MainWindow.h"
#include "Navigator.h"
#include "PageRegistry.h"
#include "common/Cp1252.h"
#include "config/BaseConfig.h"
#include "link/SimulatorProcess.h"
#include "pages/config/ConfigPages.h"
#include "pages/shell/ShellPages.h"
#include "shell/AppCore.h"
#include "shell/StartUp.h"
#include "shell/StatusLine.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The program against kavex-sim over a pseudo-terminal, in real time: the start-up read fills the
// pages, an MSN edited on "Grundparametrierung" and written with "Konfigurieren" reaches the
// simulated exchange, and kavexctl reads it back from there.
class SimulatedWriteTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void editedMsnReachesTheSimulatedExchange()
    {
        SimulatorProcess simulator;
        QVERIFY2(simulator.start({}, 20000), qPrintable(simulator.errorString()));

        QTemporaryDir dir;
        QFile settings(dir.filePath(QStringLiteral("WinKavex.INI")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write(Cp1252::fromUnicode(QStringLiteral("[Allgemein]\r\nAnschluß=COM1\r\n")));
        settings.close();

        AppCore::Options options;
        options.programDir = dir.path();
        options.configHome = dir.filePath(QStringLiteral("config"));
        options.deviceOverride = simulator.devicePath();
        options.passwordIterations = 1;
        AppCore core(std::move(options), CommandLine{});
        PageRegistry registry;
        registerConfigPages(registry);
        registerShellPages(registry);
        MainWindow window(core, registry);
        QSignalSpy progress(&core, &AppCore::progressChanged);
        QStringList lines;
        QObject::connect(&core.statusLine(), &StatusLine::changed, [&] { lines << core.statusLine().line(); });
        core.startTimer();
        QCOMPARE(StartUp(core, window).run(), StartUp::Outcome::Reading);
        QTRY_VERIFY_WITH_TIMEOUT(core.isReady(), 30000);
        QVERIFY(lines.contains(QStringLiteral("1:Grundkonfiguration wird gelesen")));
        QVERIFY(!progress.isEmpty());

        // The overview shows the exchange's first MSN.
        const QString firstNumber = core.baseConfig().msnNumber(0).text;
        QVERIFY(!firstNumber.isEmpty());
        bool shown = false;
        for (QLabel* label : window.findChildren<QLabel*>())
            shown |= label->text() == firstNumber;
        QVERIFY(shown);

        QVERIFY(window.navigator().showHeading(QStringLiteral("Grundparametrierung")));
        auto* number = window.findChild<QLineEdit*>(QStringLiteral("TelefonNummer"));
        QVERIFY(number);
        QCOMPARE(number->text(), firstNumber);
        number->setText(QStringLiteral("5551234"));
        Q_EMIT number->editingFinished();
        window.buttonBar()->writeButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(!core.isTransferLocked(), 30000);
        core.shutdown();

        QProcess ctl;
        ctl.start(qEnvironmentVariable("KAVEX_BIN_DIR") + QStringLiteral("/kavexctl"),
                  {QStringLiteral("--port"), simulator.devicePath(), QStringLiteral("--dir"), dir.path(),
                   QStringLiteral("read"), QStringLiteral("--json")});
        QVERIFY(ctl.waitForFinished(60000));
        QCOMPARE(ctl.exitCode(), 0);
        const QJsonObject read = QJsonDocument::fromJson(ctl.readAllStandardOutput()).object();
        const QJsonArray msns = read.value(QStringLiteral("msn")).toArray();
        QVERIFY(!msns.isEmpty());
        QCOMPARE(msns.at(0).toObject().value(QStringLiteral("number")).toString(), QStringLiteral("5551234"));
    }
};

QTEST_MAIN(SimulatedWriteTest)
#include "test_simulated_write.moc"
