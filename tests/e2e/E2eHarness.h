#pragma once

#include "image/ConfigImage.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTime>

// The real binaries in KAVEX_BIN_DIR, a simulated exchange on a pseudo-terminal and its cell log.
class SimulatedExchange
{
public:
    struct Cell
    {
        QTime time;
        QByteArray bytes;
    };

    SimulatedExchange();
    ~SimulatedExchange();

    // Starts kavex-sim with --link and --log in a private directory plus `args`; false (with a
    // test failure) when it does not report its device within 10 s.
    bool start(const QStringList& args = {});
    void stop();
    void kill();
    QString device() const { return m_device; }
    QString dir() const { return m_dir.path(); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    // The cells the exchange received so far, in order.
    QList<Cell> cells() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_device;
};

struct CtlRun
{
    int exitCode = -1;
    bool finished = false;
    QByteArray out;
    QByteArray err;
    qint64 elapsedMs = 0;
};

QString binary(const QString& name);

// What winkavex runs with in a test, all below `dir`: a private runtime folder, the simulated CAPI
// controller with its own control socket, and a program directory whose settings name COM1.
struct ProgramSetting
{
    QProcessEnvironment env;
    QString programDir;
};
ProgramSetting programSetting(const QTemporaryDir& dir);
// kavexctl with the global options and the command; waits at most `timeoutMs`. `env` empty: this
// process's environment; `input` is all of its standard input.
CtlRun runKavexctl(const QStringList& args, const QString& programDir, int timeoutMs = 60000,
                   const QProcessEnvironment& env = {}, const QByteArray& input = {});
// Record lines of a call log ("dd.mm.") or of the history ("| dd.mm."): what follows the header.
int recordLines(const QString& path);

// An image with distinct bytes, the kinds of a received image and the given firmware and count.
ConfigImage sampleImage(int major, int minor, int count);
bool writeImageFile(const QString& path, const ConfigImage& image);
