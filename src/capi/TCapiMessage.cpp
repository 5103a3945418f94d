#include "capi/TCapiMessage.h"

#include <algorithm>

namespace {

constexpr size_t HeaderLength = TCapiMessageHeader::GetLength();

} // namespace

TCapiMessage::TCapiMessage(std::span<const quint8> received) : m_header(TCapiMessageHeader::fromBytes(received))
{
    const size_t length = std::clamp<size_t>(m_header.length, HeaderLength, std::max(received.size(), HeaderLength));
    m_buffer.assign(length, 0);
    std::copy_n(received.begin(), std::min(length, received.size()), m_buffer.begin());
}

TCapiMessage::TCapiMessage(quint16 wordCommand, const CapiParameterWriter& parameters)
{
    m_buffer.assign(HeaderLength, 0);
    m_buffer.insert(m_buffer.end(), parameters.bytes().begin(), parameters.bytes().end());
    m_header.length = static_cast<quint16>(m_buffer.size());
    m_header.SetWordCommand(wordCommand);
}

quint8* TCapiMessage::GetMessagePtr()
{
    m_header.writeTo(std::span<quint8, HeaderLength>(m_buffer.data(), HeaderLength));
    return m_buffer.data();
}

std::vector<quint8> TCapiMessage::bytes() const
{
    std::vector<quint8> copy = m_buffer;
    m_header.writeTo(std::span<quint8, HeaderLength>(copy.data(), HeaderLength));
    return copy;
}

std::span<const quint8> TCapiMessage::parameters() const
{
    const size_t end = std::min<size_t>(m_header.length, m_buffer.size());
    if (end <= HeaderLength)
        return {};
    return std::span<const quint8>(m_buffer).subspan(HeaderLength, end - HeaderLength);
}
