#pragma once

#include "link/jobs/LinkJob.h"

// One speed-dial entry's write payload; no acknowledgement, no time-out.
class SpeedDialSaveJob : public LinkJob
{
    Q_OBJECT

public:
    SpeedDialSaveJob(JobHost& host, QByteArray payload);

    void start() override;

private:
    QByteArray m_payload;
};
