#include "link/jobs/WriteJob.h"

#include "image/Extensions.h"
#include "image/Firmware.h"
#include "image/ImageLayout.h"
#include "link/PbxRequests.h"

namespace {

constexpr int BaseBytesSent = 112;
constexpr int WriteEndPauseMs = 250;

} // namespace

WriteJob::WriteJob(JobHost& host, const ConfigImage& asked, bool transferUnits)
    : LinkJob(host), m_asked(asked), m_transferUnits(transferUnits)
{}

void WriteJob::restoreAsked()
{
    ConfigImage& image = m_host.image();
    const int end = m_transferUnits ? ConfigImage::Size : ConfigImage::ChargesOffset;
    bool changed = false;
    for (int i = 0; i < end; ++i) {
        changed = changed || image[i] != m_asked[i];
        image[i] = m_asked[i];
    }
    if (changed)
        Q_EMIT imageRestored();
}

void WriteJob::start()
{
    restoreAsked();
    const int firmware = m_host.firmwareVersion();
    m_pauseMs = Firmware::newFeatures(firmware) ? 100 : 1000;
    m_host.setPhase(JobHost::Phase::Writing);
    m_host.report(Msg::WritingBase, StatusLevel::Progress);
    int maximum = (ImageLayout::recordLength(firmware) - 2) * m_host.extensionCount() + 107;
    if (m_transferUnits)
        maximum += ImageLayout::sentChargeBytes(firmware);
    m_host.setProgressRange(0, maximum);

    m_sent = m_host.image().toByteArray();
    m_host.image()[0] = PbxRequests::WriteBaseKind;
    QByteArray base = m_sent.left(BaseBytesSent);
    base[0] = static_cast<char>(PbxRequests::WriteBaseKind);
    sendPayload(base, QByteArrayView(m_sent).sliced(BaseBytesSent), [this](bool sent) {
        if (sent)
            pauseThenExtension(0);
        else
            done(false);
    });
}

void WriteJob::pauseThenExtension(int index)
{
    m_schedule.after(m_pauseMs, [this, index] {
        if (index < m_host.extensionCount())
            sendExtension(index);
        else
            sendEnd();
    });
}

void WriteJob::sendExtension(int index)
{
    m_host.report(Msg::WritingExtension, StatusLevel::Progress, Extensions::numberText(index));
    const int firmware = m_host.firmwareVersion();
    const int recordBytes = ImageLayout::sentRecordBytes(firmware);
    const int at = ImageLayout::recordOffset(index, firmware);
    const QByteArray payload = static_cast<char>(PbxRequests::WriteExtensionKind) + m_sent.mid(at, recordBytes);
    sendPayload(payload, QByteArrayView(m_sent).sliced(at + recordBytes), [this, index](bool sent) {
        if (sent)
            pauseThenExtension(index + 1);
        else
            done(false);
    });
}

void WriteJob::sendEnd()
{
    sendPayload(QByteArray(1, static_cast<char>(PbxRequests::WriteEndKind)), {}, [this](bool sent) {
        if (!sent) {
            done(false);
            return;
        }
        m_schedule.after(m_pauseMs, [this] {
            if (m_transferUnits)
                sendUnits();
            else
                done(true);
        });
    });
}

void WriteJob::sendUnits()
{
    m_host.report(Msg::WritingUnits, StatusLevel::Progress);
    const int length = ImageLayout::sentChargeBytes(m_host.firmwareVersion());
    m_host.image()[ConfigImage::ChargesOffset] = PbxRequests::WriteUnitsKind;
    QByteArray units = m_sent.mid(ConfigImage::ChargesOffset, length);
    units[0] = static_cast<char>(PbxRequests::WriteUnitsKind);
    sendPayload(units, QByteArrayView(m_sent).sliced(ConfigImage::ChargesOffset + length),
                [this](bool sent) { done(sent); });
}

void WriteJob::done(bool sent)
{
    if (!sent) {
        fail(Msg::CannotWritePort);
        Q_EMIT finished(false);
        return;
    }
    m_schedule.after(WriteEndPauseMs, [this] {
        m_host.report(Msg::Clear);
        m_host.setProgressRange(0, 100);
        end();
        Q_EMIT finished(true);
    });
}
