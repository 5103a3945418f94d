#pragma once

#include "link/Transport.h"

#include <QList>

class Clock;

// A transport for tests: records every block with the virtual time it was sent at, lets the test
// inject chunks and hang-ups, and can refuse to open or to send.
class FakeTransport : public Transport
{
    Q_OBJECT

public:
    struct Sent
    {
        qint64 atMs;
        QByteArray block;
    };

    explicit FakeTransport(const Clock& clock, QObject* parent = nullptr);

    bool open(const QString& devicePath) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool send(const QByteArray& block) override;
    QString errorString() const override { return m_error; }

    // Delivers a chunk as the receive side would (synchronously, on this thread).
    void inject(const QByteArray& chunk);
    void injectHangup();

    void setOpenFails(bool fails) { m_openFails = fails; }
    // Sends after the first `count` accepted ones fail; -1 never fails.
    void failSendsAfter(int count) { m_sendsBeforeFailure = count; }
    // Called after each accepted block (a simulated exchange answering).
    void setOnSend(std::function<void(const QByteArray&)> onSend) { m_onSend = std::move(onSend); }

    const QList<Sent>& sent() const { return m_sent; }
    // All sent bytes in one array.
    QByteArray sentBytes() const;
    void clearSent() { m_sent.clear(); }
    QString openedPath() const { return m_path; }

private:
    const Clock& m_clock;
    QList<Sent> m_sent;
    bool m_open = false;
    bool m_openFails = false;
    int m_sendsBeforeFailure = -1;
    QString m_error;
    QString m_path;
    std::function<void(const QByteArray&)> m_onSend;
};
