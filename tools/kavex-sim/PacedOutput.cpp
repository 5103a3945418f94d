#include "PacedOutput.h"

#include <algorithm>

PacedOutput::PacedOutput(int baud) : m_byteTimeUs((10 * 1'000'000LL + baud / 2) / baud) {}

void PacedOutput::enqueue(const QByteArray& message, qint64 nowUs)
{
    if (!message.isEmpty())
        m_queue.push_back({message, nowUs});
}

qint64 PacedOutput::startOf(const Message& m) const
{
    const qint64 earliest = m.queuedUs + ReplyDelayUs;
    return m_lineFreeUs ? std::max(earliest, *m_lineFreeUs + GapUs) : earliest;
}

QByteArray PacedOutput::takeDue(qint64 nowUs)
{
    QByteArray out;
    while (!m_queue.empty()) {
        const Message& m = m_queue.front();
        if (m_sent == 0)
            m_frontStartUs = startOf(m);
        while (m_sent < m.bytes.size() && m_frontStartUs + m_sent * m_byteTimeUs <= nowUs)
            out.append(m.bytes[m_sent++]);
        if (m_sent < m.bytes.size())
            break;
        m_lineFreeUs = m_frontStartUs + m_sent * m_byteTimeUs;
        m_queue.pop_front();
        m_sent = 0;
    }
    return out;
}

std::optional<qint64> PacedOutput::nextDueUs() const
{
    if (m_queue.empty())
        return std::nullopt;
    const qint64 start = m_sent == 0 ? startOf(m_queue.front()) : m_frontStartUs;
    return start + m_sent * m_byteTimeUs;
}

void PacedOutput::clear()
{
    m_queue.clear();
    m_sent = 0;
}
