#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// Runs the simulated exchange (kavex-sim) in the background for --simulate: started from the
// executable's directory with --demo and a link in a private directory, it reports its device
// once the simulator has printed it. The simulator is stopped when this object goes.
class SimulatorProcess : public QObject
{
    Q_OBJECT

public:
    explicit SimulatorProcess(QObject* parent = nullptr);
    ~SimulatorProcess() override;

    // kavex-sim beside the running executable, else the one on the search path.
    static QString defaultProgram();
    void setProgram(const QString& path) { m_program = path; }

    // Starts the simulator with --demo (plus extraArguments) and waits up to timeoutMs for its device.
    // False with errorString() when it cannot be started or reports no device in time.
    bool start(const QStringList& extraArguments = {}, int timeoutMs = 5000);
    void stop();

    bool isRunning() const;
    // The pseudo-terminal the program opens as its serial device (valid after a successful start).
    QString devicePath() const { return m_devicePath; }
    // The symlink to it in the private directory.
    QString linkPath() const { return m_linkPath; }
    QString errorString() const { return m_error; }
    // Process id of the running simulator, 0 when none runs.
    qint64 processId() const;

Q_SIGNALS:
    // The simulator ended without being stopped.
    void exitedUnexpectedly(const QString& message);

private:
    bool fail(const QString& message);
    void onFinished(int exitCode, QProcess::ExitStatus status);

    QString m_program;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QProcess> m_process;
    QString m_devicePath;
    QString m_linkPath;
    QString m_error;
    bool m_stopping = false;
};
