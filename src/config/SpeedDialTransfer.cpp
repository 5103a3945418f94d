#include "config/SpeedDialTransfer.h"

#include "config/SpeedDialCodec.h"
#include "config/SpeedDialList.h"
#include "image/Firmware.h"
#include "link/PbxLink.h"

SpeedDialTransfer::SpeedDialTransfer(PbxLink& link, SpeedDialList& list, QObject* parent)
    : QObject(parent), m_link(link), m_list(list)
{
    connect(&link, &PbxLink::speedDialEntry, this, &SpeedDialTransfer::onEntry);
    connect(&link, &PbxLink::speedDialsRead, this, &SpeedDialTransfer::onFinished);
    // A read cut short (message 4 or 36, or turned into a full read by the first time-out).
    connect(&link, &PbxLink::failed, this, &SpeedDialTransfer::onCutShort);
    connect(&link, &PbxLink::readFinished, this, &SpeedDialTransfer::onCutShort);
}

SpeedDialTransfer::Start SpeedDialTransfer::start()
{
    if (!Firmware::newFeatures(m_link.firmwareVersion())) {
        Q_EMIT status(Msg::NoSpeedDials, StatusLevel::Error, {});
        return Start::NotAvailable;
    }
    if (m_list.isRead())
        return Start::AlreadyRead;
    m_list.setRead();
    m_reading = true;
    m_link.readSpeedDials();
    return Start::Begun;
}

bool SpeedDialTransfer::isEditable() const
{
    return Firmware::newFeatures(m_link.firmwareVersion());
}

bool SpeedDialTransfer::save(const SpeedDialEditor& editor)
{
    if (!isEditable())
        return false;
    const QByteArray payload = m_list.save(editor);
    if (!payload.isEmpty())
        m_link.saveSpeedDial(payload);
    return true;
}

void SpeedDialTransfer::onEntry(int, const QByteArray& chunk)
{
    if (!m_reading)
        return;
    if (const auto entry = SpeedDialCodec::decodeReply(chunk)) {
        m_list.applyEntry(*entry);
        Q_EMIT entryRead(entry->entry);
    }
}

void SpeedDialTransfer::onFinished()
{
    if (!m_reading)
        return;
    m_reading = false;
    Q_EMIT finished();
}

// The end of a transfer that ran before a waiting speed-dial read does not end that read.
void SpeedDialTransfer::onCutShort()
{
    if (!m_reading || m_link.queue().isWaiting(TransferQueue::Job::SpeedDialRead))
        return;
    m_reading = false;
    Q_EMIT cutShort();
}
