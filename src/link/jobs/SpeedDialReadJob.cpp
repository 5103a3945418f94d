#include "link/jobs/SpeedDialReadJob.h"

#include "link/PbxRequests.h"

using Cells::ChunkClass;

SpeedDialReadJob::SpeedDialReadJob(JobHost& host) : LinkJob(host) {}

void SpeedDialReadJob::start()
{
    m_host.setPhase(JobHost::Phase::SpeedDials);
    m_host.setProgressRange(0, PbxRequests::SpeedDialCount);
    sendBlocks(PbxRequests::beginSpeedDialRead(), 0, false, [this](bool sent) {
        if (sent)
            m_host.await(ChunkClass::SpeedDialAck);
        else
            fail(Msg::CannotWritePort);
    });
}

void SpeedDialReadJob::onReply(ChunkClass reply, const QByteArray& chunk)
{
    if (reply == ChunkClass::SpeedDialAck && m_entry == 0) {
        requestEntry(1);
        return;
    }
    if (reply != ChunkClass::SpeedDialEntry || m_entry == 0)
        return;
    // The next entry follows from the one asked for, not from the number in the reply, so a
    // garbled entry number can neither loop nor skip.
    Q_EMIT entry(m_entry, chunk);
    if (hasEnded())
        return;
    if (m_entry < PbxRequests::SpeedDialCount) {
        requestEntry(m_entry + 1);
        return;
    }
    m_host.report(Msg::Clear);
    m_host.setProgressRange(0, 100);
    end();
    Q_EMIT finished();
}

void SpeedDialReadJob::requestEntry(int n)
{
    m_entry = n;
    m_host.setProgress(n);
    m_host.report(Msg::ReadingSpeedDial, StatusLevel::Progress, PbxRequests::speedDialEntryText(n));
    sendBlocks(PbxRequests::readSpeedDial(n), 0, false, [this](bool sent) {
        if (sent)
            m_host.await(ChunkClass::SpeedDialEntry);
        else
            fail(Msg::CannotWritePort);
    });
}
