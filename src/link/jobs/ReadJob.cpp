#include "link/jobs/ReadJob.h"

#include "image/Firmware.h"
#include "link/PbxRequests.h"

using Cells::ChunkClass;

namespace {

constexpr int SwitchOnPauseMs = 100;
// The charge reply is decoded a moment after it has arrived.
constexpr int ChargeDecodePauseMs = 100;

} // namespace

ReadJob::ReadJob(JobHost& host, Kind kind) : LinkJob(host), m_kind(kind) {}

void ReadJob::start()
{
    switch (m_kind) {
    case Kind::StartUp:
        m_host.setPhase(JobHost::Phase::SwitchingOn);
        // Each block is tried: a refused first one is reported and the second still goes.
        sendBlocks(PbxRequests::switchEventsOn(), SwitchOnPauseMs, true, [this](bool) { requestBase(); });
        break;
    case Kind::Full:
        requestBase();
        break;
    case Kind::Charges:
        requestCharges();
        break;
    case Kind::Repeat:
        m_schedule.after(m_host.startWaitMs(), [this] { requestBase(); });
        break;
    }
}

void ReadJob::requestBase()
{
    m_host.setPhase(JobHost::Phase::ReadingBase);
    request(Msg::ReadingBase, PbxRequests::readBase(), ChunkClass::Base);
}

void ReadJob::requestCharges()
{
    m_host.setPhase(JobHost::Phase::ReadingCharges);
    request(Msg::ReadingCharges, PbxRequests::readCharges(), ChunkClass::Charges);
}

void ReadJob::onReply(ChunkClass reply, const QByteArray& chunk)
{
    switch (reply) {
    case ChunkClass::Base:
        onBase(chunk);
        break;
    case ChunkClass::Extensions:
        onExtensions(chunk);
        break;
    case ChunkClass::Charges:
        onCharges(chunk);
        break;
    default:
        break;
    }
}

void ReadJob::onBase(const QByteArray& chunk)
{
    m_host.setProgress(30);
    m_host.takeRegion(ConfigImage::Region::Base, chunk);
    if (hasEnded())
        return;
    if (!Firmware::supported(m_host.firmwareVersion())) {
        m_host.lockForFirmware();
        end();
        return;
    }
    m_host.setPhase(JobHost::Phase::ReadingExtensions);
    request(Msg::ReadingExtensions, PbxRequests::readExtensions(), ChunkClass::Extensions);
}

void ReadJob::onExtensions(const QByteArray& chunk)
{
    m_host.setProgress(70);
    m_host.takeRegion(ConfigImage::Region::Extensions, chunk);
    if (!hasEnded())
        requestCharges();
}

void ReadJob::onCharges(const QByteArray& chunk)
{
    if (!m_host.callPending())
        m_host.setProgress(100);
    m_schedule.restart();
    m_schedule.after(ChargeDecodePauseMs, [this, chunk] {
        m_host.takeRegion(ConfigImage::Region::Charges, chunk);
        if (hasEnded())
            return;
        m_host.setProgress(0);
        end();
        Q_EMIT finished();
    });
}
