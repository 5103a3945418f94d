#include "FakeTransport.h"

#include "common/Clock.h"

FakeTransport::FakeTransport(const Clock& clock, QObject* parent) : Transport(parent), m_clock(clock) {}

bool FakeTransport::open(const QString& devicePath)
{
    if (m_open) {
        m_error = QStringLiteral("Already have a comm file open");
        return false;
    }
    if (m_openFails) {
        m_error = QStringLiteral("Error opening com port");
        return false;
    }
    m_open = true;
    m_path = devicePath;
    return true;
}

void FakeTransport::close()
{
    m_open = false;
}

bool FakeTransport::send(const QByteArray& block)
{
    if (!m_open || m_sendsBeforeFailure == 0)
        return false;
    if (m_sendsBeforeFailure > 0)
        --m_sendsBeforeFailure;
    m_sent.append({m_clock.elapsedMs(), block});
    if (m_onSend)
        m_onSend(block);
    return true;
}

void FakeTransport::inject(const QByteArray& chunk)
{
    Q_EMIT chunkReceived(chunk);
}

void FakeTransport::injectHangup()
{
    Q_EMIT hangup();
}

QByteArray FakeTransport::sentBytes() const
{
    QByteArray all;
    for (const Sent& s : m_sent)
        all += s.block;
    return all;
}
