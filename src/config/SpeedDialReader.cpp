#include "config/SpeedDialReader.h"

#include "config/Firmware.h"
#include "config/SpeedDialCodec.h"
#include "config/SpeedDialList.h"
#include "link/PbxLink.h"
#include "shell/StatusLine.h"

SpeedDialReader::SpeedDialReader(PbxLink& link, SpeedDialList& list, StatusLine* status, QObject* parent)
    : QObject(parent), m_link(link), m_list(list), m_status(status)
{
    connect(&link, &PbxLink::speedDialAck, this, &SpeedDialReader::onAcknowledge);
    connect(&link, &PbxLink::speedDialEntry, this, &SpeedDialReader::onEntry);
    connect(&link, &PbxLink::failed, this, [this] { m_reading = false; });
}

SpeedDialReader::Start SpeedDialReader::start()
{
    if (!Firmware::newFeatures(m_link.firmwareVersion())) {
        if (m_status)
            m_status->showStatus(51, 2);
        return Start::NotAvailable;
    }
    if (m_list.isRead())
        return Start::AlreadyRead;
    m_list.setRead();
    m_reading = true;
    if (!m_link.beginSpeedDialRead()) {
        m_reading = false;
        return Start::SendFailed;
    }
    return Start::Begun;
}

void SpeedDialReader::onAcknowledge()
{
    if (m_reading)
        request(1);
}

void SpeedDialReader::request(int n)
{
    m_next = n;
    if (m_status)
        m_status->showStatus(50, 1, SpeedDialCodec::entryText(n));
    if (!m_link.requestSpeedDial(n))
        m_reading = false;
}

void SpeedDialReader::onEntry(const QByteArray& chunk)
{
    if (!m_reading)
        return;
    if (const auto entry = SpeedDialCodec::decodeReply(chunk)) {
        m_list.applyEntry(*entry);
        Q_EMIT entryRead(entry->entry);
    }
    // Advance from the entry asked for, so a garbled entry number can neither loop nor skip.
    if (m_next < SpeedDialCodec::EntryCount) {
        request(m_next + 1);
        return;
    }
    m_reading = false;
    m_link.speedDialsFinished();
    if (m_status)
        m_status->showStatus(0);
    Q_EMIT finished();
}
