#include "link/jobs/SpeedDialSaveJob.h"

SpeedDialSaveJob::SpeedDialSaveJob(JobHost& host, QByteArray payload) : LinkJob(host), m_payload(std::move(payload)) {}

void SpeedDialSaveJob::start()
{
    m_host.setPhase(JobHost::Phase::SavingSpeedDial);
    const int digitBytes = static_cast<int>(m_payload.size()) - 10;
    m_host.setProgressRange(0, (digitBytes + 9) * 4 / 3);
    sendPayload(m_payload, {}, [this](bool sent) {
        m_host.setProgressRange(0, 100);
        if (sent)
            end();
        else
            fail(Msg::CannotWritePort);
    });
}
