#include "Exchange.h"

#include "image/Firmware.h"
#include "image/ImageLayout.h"
#include "link/Cells.h"
#include "link/PbxRequests.h"

#include <algorithm>

namespace {

using Region = ConfigImage::Region;

constexpr quint8 ReplyKindBase = 23, ReplyKindExtensions = 22, ReplyKindCharges = 21;
constexpr quint8 EventKind = 0xDD;
constexpr quint8 SpeedDialKind = 0xCC;
constexpr int BaseWriteLength = 112;
// The hardware's own facts in the base region, which a written configuration cannot change:
// extension count and firmware version.
constexpr int ProtectedBaseBytes[] = {2, 4, 5};

quint8 byteAt(const QByteArray& bytes, int i)
{
    return static_cast<quint8>(bytes[i]);
}

bool isExactly(const QByteArray& payload, const char* hex)
{
    return payload == QByteArray::fromHex(hex);
}

QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

} // namespace

Exchange::Exchange(const ConfigImage& image, const SpeedDialTable& speedDials, int baud)
    : m_image(image), m_speedDials(speedDials), m_output(baud)
{
    m_input.setPayloadSink([this](const QByteArray& payload, qint64 nowUs) { handlePayload(payload, nowUs); });
}

int Exchange::firmware() const
{
    return Firmware::version(m_image);
}

int Exchange::extensionCount() const
{
    return ImageLayout::extensionCount(m_image);
}

void Exchange::receive(QByteArrayView bytes, qint64 nowUs)
{
    m_input.feed(bytes, nowUs);
}

void Exchange::expire(qint64 nowUs)
{
    m_input.expire(nowUs);
}

QByteArray Exchange::takeOutput(qint64 nowUs)
{
    return m_output.takeDue(nowUs);
}

std::optional<qint64> Exchange::nextDeadlineUs() const
{
    const auto a = m_input.nextDeadlineUs();
    const auto b = m_output.nextDueUs();
    if (a && b)
        return std::min(*a, *b);
    return a ? a : b;
}

void Exchange::hangUp()
{
    m_input.reset();
    m_output.clear();
    m_eventsOn = false;
    m_staged.reset();
    m_recordCursor = 0;
}

void Exchange::send(const QByteArray& lineBytes, qint64 nowUs)
{
    if (!m_mute)
        m_output.enqueue(lineBytes, nowUs);
}

void Exchange::notice(const QString& text) const
{
    if (m_notice)
        m_notice(text);
}

void Exchange::handlePayload(const QByteArray& payload, qint64 nowUs)
{
    if (handleRequest(payload, nowUs) || handleEventCommand(payload, nowUs) || handleWrite(payload))
        return;
    notice(QStringLiteral("Nutzdaten ignoriert: %1").arg(hex(payload)));
}

bool Exchange::handleRequest(const QByteArray& payload, qint64 nowUs)
{
    if (isExactly(payload, "0A0000")) {
        sendRegion(Region::Base, nowUs);
    } else if (isExactly(payload, "080000")) {
        sendRegion(Region::Extensions, nowUs);
    } else if (isExactly(payload, "060000")) {
        sendRegion(Region::Charges, nowUs);
    } else if (isExactly(payload, "020200")) {
        // Speed dials exist only from firmware 2.00 on; older exchanges do not answer.
        if (firmware() >= Firmware::NewFeatures)
            send(Cells::encodeCells(QByteArray::fromHex("12")), nowUs); // 81 12 00 00
    } else if (payload.size() == 5 && payload.startsWith(QByteArray::fromHex("CC0603")) && byteAt(payload, 4) == 0xFF) {
        const int n = byteAt(payload, 3);
        if (firmware() >= Firmware::NewFeatures && n >= 1 && n <= SpeedDialTable::Count)
            send(Cells::encodeCells(m_speedDials.replyPayload(n)), nowUs);
    } else {
        return false;
    }
    return true;
}

void Exchange::sendRegion(Region region, qint64 nowUs)
{
    QByteArray payload = m_image.region(region);
    payload[0] = static_cast<char>(region == Region::Base         ? ReplyKindBase
                                   : region == Region::Extensions ? ReplyKindExtensions
                                                                  : ReplyKindCharges);
    send(Cells::regionLineBytes(payload, ConfigImage::length(region)), nowUs);
}

bool Exchange::handleEventCommand(const QByteArray& payload, qint64 nowUs)
{
    if (payload.size() != 6 || byteAt(payload, 0) != EventKind)
        return false;
    const int command = byteAt(payload, 1);
    if (command == 0) {
        // Only the fixed code switches events on; a request with another code is ignored.
        if (payload == PbxRequests::switchEventsOnPayload()) {
            m_eventsOn = true;
            notice(QStringLiteral("Ereignisse eingeschaltet"));
        } else {
            notice(QStringLiteral("Einschalten der Ereignisse mit falschem Code: %1").arg(hex(payload)));
        }
        return true;
    }
    if (command == 1) {
        m_eventsOn = false;
        notice(QStringLiteral("Ereignisse ausgeschaltet"));
        return true;
    }
    if (command == 3) {
        const int index = byteAt(payload, 2);
        if (index < extensionCount())
            setRinging(index, byteAt(payload, 4) != 0, nowUs);
        return true;
    }
    return false;
}

void Exchange::setRinging(int index, bool on, qint64 nowUs)
{
    const auto i = static_cast<std::size_t>(index);
    if (m_ringing[i] == on)
        return;
    m_ringing[i] = on;
    notice(QStringLiteral("Nebenstelle %1 %2").arg(21 + index).arg(on ? u"klingelt" : u"klingelt nicht mehr"));
    sendEvent(3, index, 0, on ? 1 : 0, nowUs);
}

bool Exchange::isRinging(int index) const
{
    return index >= 0 && index < 8 && m_ringing[static_cast<std::size_t>(index)];
}

void Exchange::sendEvent(int sub, int p1, int p2, int p3, qint64 nowUs)
{
    if (!m_eventsOn)
        return;
    QByteArray payload(6, '\0');
    payload[0] = static_cast<char>(EventKind);
    payload[1] = static_cast<char>(sub);
    payload[2] = static_cast<char>(p1);
    payload[3] = static_cast<char>(p2);
    payload[4] = static_cast<char>(p3);
    send(Cells::encodeCells(payload), nowUs);
}

bool Exchange::handleWrite(const QByteArray& payload)
{
    if (payload.isEmpty())
        return false;
    const quint8 kind = byteAt(payload, 0);
    if (kind == PbxRequests::WriteBaseKind && payload.size() == BaseWriteLength) {
        stageBase(payload);
    } else if (kind == PbxRequests::WriteExtensionKind) {
        stageRecord(payload);
    } else if (kind == PbxRequests::WriteEndKind && payload.size() == 1) {
        commitStaged();
    } else if (kind == PbxRequests::WriteUnitsKind && payload.size() == ImageLayout::sentChargeBytes(firmware())) {
        applyUnits(payload);
    } else if (kind == SpeedDialKind && payload.size() >= 3 && byteAt(payload, 1) == 5 && byteAt(payload, 2) == 9) {
        if (firmware() < Firmware::NewFeatures || !m_speedDials.applySavePayload(payload))
            notice(QStringLiteral("Kurzwahl nicht gespeichert: %1").arg(hex(payload)));
        else
            notice(QStringLiteral("Kurzwahl %1 gespeichert").arg(PbxRequests::speedDialCode(byteAt(payload, 3))));
    } else {
        return false;
    }
    return true;
}

void Exchange::stageBase(const QByteArray& payload)
{
    m_staged = m_image;
    m_recordCursor = 0;
    for (int k = 1; k < BaseWriteLength; ++k) {
        if (std::find(std::begin(ProtectedBaseBytes), std::end(ProtectedBaseBytes), k) == std::end(ProtectedBaseBytes))
            m_staged->at(Region::Base, k) = byteAt(payload, k);
    }
}

void Exchange::stageRecord(const QByteArray& payload)
{
    if (!m_staged) {
        m_staged = m_image;
        m_recordCursor = 0;
    }
    const int index = m_recordCursor++;
    const int fw = firmware();
    const int sent = ImageLayout::sentRecordBytes(fw);
    if (index >= extensionCount() || payload.size() != 1 + sent) {
        notice(QStringLiteral("Anschlussdaten %1 verworfen (%2 Bytes)").arg(21 + index).arg(payload.size()));
        return;
    }
    const int offset = ImageLayout::recordOffset(index, fw);
    for (int k = 0; k < sent; ++k)
        (*m_staged)[offset + k] = byteAt(payload, 1 + k);
}

void Exchange::commitStaged()
{
    if (!m_staged)
        return;
    // Only the configuration regions: units counted since the write began stay.
    for (Region r : {Region::Base, Region::Extensions})
        m_image.copyIntoRegion(r, m_staged->region(r));
    m_staged.reset();
    m_recordCursor = 0;
    notice(QStringLiteral("Konfiguration übernommen"));
}

void Exchange::applyUnits(const QByteArray& payload)
{
    for (int k = 1; k < payload.size(); ++k)
        m_image.at(Region::Charges, k) = byteAt(payload, k);
    notice(QStringLiteral("Gebühreneinheiten übernommen"));
}

void Exchange::addUnits(int index, int units)
{
    if (index < 0 || index >= 8)
        return;
    const int at = 1 + 2 * index;
    const int value = (ImageLayout::units(m_image, index) + units) & 0xFFFF;
    m_image.at(Region::Charges, at) = static_cast<std::uint8_t>(value & 0xFF);
    m_image.at(Region::Charges, at + 1) = static_cast<std::uint8_t>(value >> 8);
}
