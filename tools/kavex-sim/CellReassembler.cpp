#include "CellReassembler.h"

#include "link/Cells.h"

void CellReassembler::feed(QByteArrayView bytes, qint64 nowUs)
{
    expire(nowUs);
    for (char b : bytes) {
        if (m_cell.isEmpty())
            m_cellStartUs = nowUs;
        m_cell.append(b);
        if (m_cell.size() == Cells::CellSize)
            completeCell(nowUs);
    }
}

void CellReassembler::completeCell(qint64 nowUs)
{
    const QByteArray cell = m_cell;
    m_cell.clear();
    if (m_cellSink)
        m_cellSink(cell, m_cellStartUs);
    m_lastCellUs = nowUs;
    const auto header = static_cast<quint8>(cell[0]);
    if (header == Cells::MoreHeader) {
        m_payload.append(cell.mid(1));
        m_inPayload = true;
        if (m_payload.size() > MaxPayloadLength)
            m_payload.clear();
        return;
    }
    const int n = header - Cells::LastHeaderBase;
    if (n >= 1 && n <= Cells::BytesPerCell) {
        m_payload.append(cell.mid(1, n));
        const QByteArray payload = m_payload;
        m_payload.clear();
        m_inPayload = false;
        if (m_payloadSink)
            m_payloadSink(payload, nowUs);
        return;
    }
    // Not a cell header: whatever was being assembled cannot be trusted.
    m_payload.clear();
    m_inPayload = false;
}

void CellReassembler::expire(qint64 nowUs)
{
    if (!m_cell.isEmpty() && nowUs - m_cellStartUs >= CellTimeoutUs) {
        if (m_cellSink)
            m_cellSink(m_cell, m_cellStartUs);
        m_cell.clear();
        m_payload.clear();
        m_inPayload = false;
    }
    if (m_inPayload && m_cell.isEmpty() && nowUs - m_lastCellUs >= PayloadTimeoutUs) {
        m_payload.clear();
        m_inPayload = false;
    }
}

std::optional<qint64> CellReassembler::nextDeadlineUs() const
{
    if (!m_cell.isEmpty())
        return m_cellStartUs + CellTimeoutUs;
    if (m_inPayload)
        return m_lastCellUs + PayloadTimeoutUs;
    return std::nullopt;
}

void CellReassembler::reset()
{
    if (!m_cell.isEmpty() && m_cellSink)
        m_cellSink(m_cell, m_cellStartUs);
    m_cell.clear();
    m_payload.clear();
    m_inPayload = false;
}
