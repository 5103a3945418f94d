#include "HeadingBar.h"
#include "Navigator.h"
#include "ShellHarness.h"
#include "shell/SingleInstance.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Starts the real program as a second instance against the same runtime directory.
struct SecondStart
{
    int exitCode = -1;
    QByteArray output;
};

SecondStart startWinkavex(const QString& runtimeDir, const QString& programDir)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(qEnvironmentVariable("KAVEX_BIN_DIR") + QStringLiteral("/winkavex"),
                  {QStringLiteral("--dir"), programDir});
    SecondStart result;
    // The first instance answers on its event loop, which runs while we wait here.
    QElapsedTimer timer;
    timer.start();
    while (process.state() != QProcess::NotRunning && timer.elapsed() < 30000)
        QTest::qWait(20);
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitCode();
    result.output = process.readAll();
    return result;
}

} // namespace

class SecondStartTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondStartTogglesTheFirstInstancesWindowAndEndsSilently()
    {
        QTemporaryDir runtime;
        SingleInstance first(runtime.path());
        QCOMPARE(first.start(), SingleInstance::Role::First);
        ShellHarness rig;
        MainWindow& window = rig.window();
        window.buildPages();
        QObject::connect(&first, &SingleInstance::activated, &window, &MainWindow::onSecondStart);
        QSignalSpy activations(&first, &SingleInstance::activated);
        window.showWindow();
        window.navigator().showHeading(QStringLiteral("Info"));

        const SecondStart second = startWinkavex(runtime.path(), runtime.filePath(QStringLiteral("second")));
        QCOMPARE(second.exitCode, 0);
        QVERIFY2(!second.output.contains("Kavex"), second.output.constData());
        QTRY_COMPARE(activations.count(), 1);
        QCOMPARE(window.headingBar()->text(), QStringLiteral("Grundkonfiguration"));
        QVERIFY(!window.isShownNormally());

        QCOMPARE(startWinkavex(runtime.path(), runtime.filePath(QStringLiteral("second"))).exitCode, 0);
        QTRY_COMPARE(activations.count(), 2);
        QVERIFY(window.isShownNormally());
    }
};

QTEST_MAIN(SecondStartTest)
#include "test_second_start.moc"
