#pragma once

#include <QByteArray>
#include <QString>
#include <csignal>

// The exchange's end of the line: a pseudo-terminal master, with a symlink to the slave that the
// program opens as its serial device. A program that closes the slave is noticed as a hang-up;
// until one opens it again the link waits for the slave to be opened (inotify), at most 100 ms at
// a time, never spinning on the master.
class PtyLink
{
public:
    static constexpr qint64 IdleStepUs = 100'000;

    PtyLink() = default;
    ~PtyLink();
    PtyLink(const PtyLink&) = delete;
    PtyLink& operator=(const PtyLink&) = delete;

    // Opens the master (raw, 8N1 at the baud rate) and points linkPath at the slave. An existing
    // symlink there is replaced; any other file is left alone and refused.
    bool open(const QString& linkPath, int baud);
    QString errorString() const { return m_error; }
    QString slavePath() const { return m_slavePath; }
    QString linkPath() const { return m_linkPath; }

    // Waits up to timeoutUs for input and returns what arrived; signals in the blocked set are
    // let through during the wait (waitMask is the mask to wait with; null: unchanged).
    QByteArray waitAndRead(qint64 timeoutUs, const sigset_t* waitMask = nullptr);
    bool isConnected() const { return m_connected; }
    // True once after the program closed the line.
    bool takeHangUp();
    // Writes to a connected program; what the line cannot take is dropped, as on a real line.
    void write(const QByteArray& bytes);

    void close();

private:
    bool fail(const QString& what);
    void checkConnected();
    void noteHangUp();
    void waitForOpen(qint64 timeoutUs, const sigset_t* waitMask);

    int m_fd = -1;
    int m_openWatch = -1; // inotify descriptor watching the slave for opens; -1: not available
    QString m_slavePath;
    QString m_linkPath;
    QString m_error;
    bool m_connected = false;
    bool m_hungUp = false;
};
