#include "link/jobs/RingJob.h"

#include "link/PbxRequests.h"

namespace {

constexpr int CommandPauseMs = 100;

} // namespace

RingJob::RingJob(JobHost& host, QList<int> indexes, int seconds)
    : LinkJob(host), m_indexes(std::move(indexes)), m_seconds(seconds)
{}

void RingJob::start()
{
    m_host.setPhase(JobHost::Phase::Ringing);
    command(0, true);
}

// The commands of one extension, then those of the next; after the last start the duration.
void RingJob::command(qsizetype at, bool on)
{
    const qsizetype count = on ? m_indexes.size() : m_started;
    if (at == count) {
        if (!on) {
            end();
            Q_EMIT finished();
            return;
        }
        m_ringing = true;
        m_schedule.after(m_seconds * 1000, [this] { stopAll(); });
        return;
    }
    if (on)
        m_started = at + 1;
    sendBlocks(PbxRequests::ringExtension(m_indexes.at(at), on), CommandPauseMs, true, [this, at, on](bool) {
        if (on && m_stopping)
            stopAll();
        else
            command(at + 1, on);
    });
}

// The stops of every extension that was started.
void RingJob::stopAll()
{
    m_stopping = true;
    m_ringing = false;
    m_schedule.cancel();
    m_schedule.restart();
    command(0, false);
}

void RingJob::stopEarly()
{
    if (m_stopping || hasEnded())
        return;
    m_stopping = true;
    // During the duration the stops go now; while a start is being sent, right after it.
    if (m_ringing)
        stopAll();
}
