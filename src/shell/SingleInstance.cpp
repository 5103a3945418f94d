#include "SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace {

// The first instance may still be starting when the second one knocks.
constexpr int ConnectAttempts = 20;
constexpr int ConnectPauseMs = 100;
constexpr int WriteTimeoutMs = 2000;

} // namespace

SingleInstance::SingleInstance(QString runtimeDir, QObject* parent)
    : QObject(parent), m_runtimeDir(std::move(runtimeDir)), m_lock(m_runtimeDir + QStringLiteral("/WinKavex.lock"))
{
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QString SingleInstance::defaultRuntimeDir()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir;
}

SingleInstance::Role SingleInstance::start()
{
    QDir().mkpath(m_runtimeDir);
    if (m_lock.tryLock(0)) {
        listen();
        return Role::First;
    }
    if (m_lock.error() != QLockFile::LockFailedError) {
        // No lock possible (unwritable directory): run without the rule rather than not at all.
        listen();
        return Role::First;
    }
    return signalRunningInstance() ? Role::Signalled : Role::Unreached;
}

bool SingleInstance::signalRunningInstance() const
{
    const QString name = m_runtimeDir + QLatin1Char('/') + serverName();
    for (int attempt = 0; attempt < ConnectAttempts; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(ConnectPauseMs)) {
            socket.write("1");
            const bool sent = socket.waitForBytesWritten(WriteTimeoutMs);
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(ConnectPauseMs);
    }
    return false;
}

void SingleInstance::listen()
{
    const QString name = m_runtimeDir + QLatin1Char('/') + serverName();
    QLocalServer::removeServer(name); // a socket left by a crashed instance
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    m_server->listen(name);
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            socket->readAll();
            socket->disconnectFromServer();
            Q_EMIT activated();
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0) {
            socket->readAll();
            Q_EMIT activated();
        }
    }
}
