#pragma once

#include "link/jobs/LinkJob.h"

#include <QList>

// Rings extensions as a wake-up call does: each selected and started, the duration, each selected
// and stopped. Every command is tried, so that a stop is sent for each extension that was started
// even when another command could not be written. Asked to stop early (the program ends), it
// cuts the duration short and still sends the stops.
class RingJob : public LinkJob
{
    Q_OBJECT

public:
    // Indexes 0..7.
    RingJob(JobHost& host, QList<int> indexes, int seconds);

    void start() override;
    void stopEarly() override;

Q_SIGNALS:
    void finished();

private:
    void command(qsizetype at, bool on);
    void stopAll();

    QList<int> m_indexes;
    int m_seconds;
    qsizetype m_started = 0; // extensions whose start has been sent
    bool m_ringing = false;  // all started, the duration runs
    bool m_stopping = false;
};
