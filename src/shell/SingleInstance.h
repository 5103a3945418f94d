#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

// One program per user: a lock file, and a local server "WinKavexEvent" through which a second
// start tells the first one to show itself.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    enum class Role
    {
        First,     // this process holds the lock and listens
        Signalled, // another instance runs and has been signalled: end quietly
        Unreached  // another instance holds the lock but did not answer
    };

    // Lock file and server socket live in `runtimeDir` (per user).
    explicit SingleInstance(QString runtimeDir, QObject* parent = nullptr);
    ~SingleInstance() override;

    static QString defaultRuntimeDir();
    static QString serverName() { return QStringLiteral("WinKavexEvent"); }
    // The instance that runs is the service without a window: a second start of the window
    // cannot show it and says so (headlessNotice()).
    static QString headlessMarker(const QString& runtimeDir)
    {
        return runtimeDir + QStringLiteral("/WinKavex.headless");
    }
    static QString headlessNotice()
    {
        return QStringLiteral("WinKavex läuft als Dienst ohne Fenster und hält die Schnittstelle; beenden mit: "
                              "systemctl --user stop winkavex.service");
    }

    Role start();

Q_SIGNALS:
    // A second start signalled this instance.
    void activated();

private:
    bool signalRunningInstance() const;
    void listen();
    void onNewConnection();

    QString m_runtimeDir;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
