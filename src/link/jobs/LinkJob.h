#pragma once

#include "link/jobs/JobHost.h"
#include "link/jobs/JobSchedule.h"

#include <QList>
#include <QObject>

#include <functional>

// One transaction with the exchange while it holds the line: it starts, handles the replies it
// waits for, may time out, and ends with a result. Its pauses are timers of its own schedule;
// nothing waits inside a call, so chunks, ticks and other work go on meanwhile.
class LinkJob : public QObject
{
    Q_OBJECT

public:
    explicit LinkJob(JobHost& host);

    virtual void start() = 0;
    // The reply the job awaited (it disarmed the time-out).
    virtual void onReply(Cells::ChunkClass reply, const QByteArray& chunk);
    // The awaited reply did not come within the time-out: message 4.
    virtual void onTimeout();
    // The program ends: stop at once. A ring first sends its stop commands.
    virtual void stopEarly();
    // Ends with a message already shown (4, 36), or 0 for a plain end.
    void fail(int messageNumber);
    // Stops where it is without ending its turn: the link replaces or drops it.
    void cancel();
    bool hasEnded() const { return m_ended; }

protected:
    // Sends the blocks 40 ms apart and waits `afterMs` after the last, then `done(allSent)`.
    // Without `keepGoing` the first block that cannot be written ends the sequence; with it, each
    // such block shows message 36 and the rest still go, so a stop follows every start.
    void sendBlocks(QList<QByteArray> blocks, int afterMs, bool keepGoing, std::function<void(bool)> done);
    // A request: its status message, its blocks, then the time-out armed for its reply.
    void request(int message, const QList<QByteArray>& blocks, Cells::ChunkClass reply);
    // Sends the payload as cells, one byte per block, paced for the firmware (40 ms before each
    // cell from 2.00 on, else 50 ms before every byte); each payload byte advances the progress.
    void sendPayload(QByteArrayView payload, QByteArrayView following, std::function<void(bool)> done);
    void end();

    JobHost& m_host;
    JobSchedule m_schedule;

private:
    void nextBlock();
    void nextLineByte();

    bool m_ended = false;
    QList<QByteArray> m_blocks;
    qsizetype m_nextBlock = 0;
    int m_afterBlocksMs = 0;
    bool m_keepGoing = false;
    bool m_allSent = true;
    std::function<void(bool)> m_blocksDone;
    QByteArray m_line;
    qsizetype m_nextByte = 0;
    bool m_paused = false;
    std::function<void(bool)> m_lineDone;
};
