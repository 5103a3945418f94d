#include "link/jobs/LinkJob.h"

#include "image/Firmware.h"
#include "link/PbxRequests.h"

LinkJob::LinkJob(JobHost& host) : m_host(host), m_schedule(host.clock(), this) {}

void LinkJob::onReply(Cells::ChunkClass, const QByteArray&) {}

void LinkJob::onTimeout()
{
    fail(Msg::CommError);
}

void LinkJob::stopEarly()
{
    end();
}

void LinkJob::fail(int messageNumber)
{
    if (m_ended)
        return;
    m_ended = true;
    m_schedule.cancel();
    m_host.jobEnded(messageNumber);
}

void LinkJob::cancel()
{
    m_ended = true;
    m_schedule.cancel();
}

void LinkJob::end()
{
    fail(0);
}

void LinkJob::sendBlocks(QList<QByteArray> blocks, int afterMs, bool keepGoing, std::function<void(bool)> done)
{
    m_blocks = std::move(blocks);
    m_nextBlock = 0;
    m_afterBlocksMs = afterMs;
    m_keepGoing = keepGoing;
    m_allSent = true;
    m_blocksDone = std::move(done);
    nextBlock();
}

void LinkJob::nextBlock()
{
    if (m_ended)
        return;
    if (m_nextBlock < m_blocks.size()) {
        const bool sent = m_host.send(m_blocks.at(m_nextBlock++));
        if (!sent) {
            m_allSent = false;
            if (!m_keepGoing) {
                const auto done = std::move(m_blocksDone);
                done(false);
                return;
            }
            m_host.reportUnwritable();
        }
        const int pause = m_nextBlock < m_blocks.size() ? PbxRequests::BlockGapMs : m_afterBlocksMs;
        if (pause > 0) {
            m_schedule.after(pause, [this] { nextBlock(); });
            return;
        }
        if (m_nextBlock < m_blocks.size()) {
            nextBlock();
            return;
        }
    }
    const auto done = std::move(m_blocksDone);
    done(m_allSent);
}

void LinkJob::request(int message, const QList<QByteArray>& blocks, Cells::ChunkClass reply)
{
    m_host.report(message, StatusLevel::Progress);
    sendBlocks(blocks, 0, false, [this, reply](bool sent) {
        if (sent)
            m_host.await(reply);
        else
            fail(Msg::CannotWritePort);
    });
}

void LinkJob::sendPayload(QByteArrayView payload, QByteArrayView following, std::function<void(bool)> done)
{
    m_line = Cells::encodeCells(payload, following);
    m_nextByte = 0;
    m_paused = false;
    m_lineDone = std::move(done);
    nextLineByte();
}

void LinkJob::nextLineByte()
{
    const bool fast = Firmware::newFeatures(m_host.firmwareVersion());
    while (!m_ended && m_nextByte < m_line.size()) {
        const bool header = m_nextByte % Cells::CellSize == 0;
        const int pause = header ? (fast ? 40 : 50) : (fast ? 0 : 50);
        if (pause > 0 && !m_paused) {
            m_paused = true;
            m_schedule.after(pause, [this] { nextLineByte(); });
            return;
        }
        m_paused = false;
        if (!header)
            m_host.setProgress(m_host.progress() + 1);
        if (!m_host.send(m_line.mid(m_nextByte++, 1))) {
            const auto done = std::move(m_lineDone);
            done(false);
            return;
        }
    }
    if (m_ended)
        return;
    const auto done = std::move(m_lineDone);
    done(true);
}
