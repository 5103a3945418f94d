#pragma once

#include "link/jobs/LinkJob.h"

// All speed-dial entries: the opening request, its acknowledgement, then each entry asked for
// when the one before it has arrived.
class SpeedDialReadJob : public LinkJob
{
    Q_OBJECT

public:
    explicit SpeedDialReadJob(JobHost& host);

    void start() override;
    void onReply(Cells::ChunkClass reply, const QByteArray& chunk) override;

Q_SIGNALS:
    // Entry n (1..60) has arrived: the chunk as received.
    void entry(int n, const QByteArray& chunk);
    void finished();

private:
    void requestEntry(int n);

    int m_entry = 0; // the entry asked for, 0 before the acknowledgement
};
