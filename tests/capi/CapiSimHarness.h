#pragma once

#include "capi/CapiLibrary.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

// The simulated CAPI controller of KAVEX_BIN_DIR: its library, its command and its put log, with a
// control socket private to the test process.
class CapiSim
{
public:
    CapiSim()
    {
        // The controller opens its socket when the first application of the process registers.
        static QTemporaryDir socketDir;
        qputenv("KAVEX_CAPI_SIM_SOCKET", socketDir.filePath(QStringLiteral("capi-sim")).toLocal8Bit());
        qputenv("KAVEX_CAPI_SIM_LOG", logPath().toLocal8Bit());
        for (const char* fault :
             {"KAVEX_CAPI_SIM_NOT_INSTALLED", "KAVEX_CAPI_SIM_REGISTER_ERROR", "KAVEX_CAPI_SIM_RELEASE_ERROR",
              "KAVEX_CAPI_SIM_HANG_ON_RELEASE", "KAVEX_CAPI_SIM_NO_CONTROLLER_INFO"})
            qunsetenv(fault);
    }

    static QString binDir() { return qEnvironmentVariable("KAVEX_BIN_DIR"); }
    static QString libraryPath() { return binDir() + QStringLiteral("/libkavex-capi-sim.so"); }
    QString logPath() const { return m_dir.filePath(QStringLiteral("puts.log")); }

    // Runs kavex-capi-sim with args; its exit code.
    int command(const QStringList& args)
    {
        QProcess process;
        process.start(binDir() + QStringLiteral("/kavex-capi-sim"), args);
        if (!process.waitForFinished(10000))
            return -1;
        return process.exitCode();
    }

    // Every message the application put so far, in order.
    std::vector<QByteArray> puts() const
    {
        std::vector<QByteArray> messages;
        QFile file(logPath());
        if (!file.open(QIODevice::ReadOnly))
            return messages;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const qsizetype space = line.indexOf(' ');
            if (space > 0)
                messages.push_back(QByteArray::fromHex(line.mid(space + 1)));
        }
        return messages;
    }

    // The WordCommands of the puts, as hex text ("0580 0180 ..."), for readable failures.
    QByteArray commands() const
    {
        QByteArrayList words;
        for (const QByteArray& m : puts())
            words << m.mid(4, 2).toHex();
        return words.join(' ');
    }

private:
    QTemporaryDir m_dir;
};

// Processes events until pred holds; false after a wide real-time margin.
inline bool waitFor(const std::function<bool()>& pred, int ms = 10000)
{
    QDeadlineTimer deadline(ms);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}
