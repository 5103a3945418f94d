#include "SimWire.h"

#include <cstdio>

MessageBuilder::MessageBuilder(std::uint16_t wordCommand, std::uint16_t applId, std::uint16_t messageNumber)
{
    word(0);
    word(applId);
    m_bytes.push_back(static_cast<std::uint8_t>(wordCommand >> 8));
    m_bytes.push_back(static_cast<std::uint8_t>(wordCommand & 0xFF));
    word(messageNumber);
}

MessageBuilder& MessageBuilder::word(std::uint16_t value)
{
    m_bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    return *this;
}

MessageBuilder& MessageBuilder::dword(std::uint32_t value)
{
    word(static_cast<std::uint16_t>(value & 0xFFFF));
    return word(static_cast<std::uint16_t>(value >> 16));
}

MessageBuilder& MessageBuilder::structure(const std::vector<std::uint8_t>& content)
{
    m_bytes.push_back(static_cast<std::uint8_t>(content.size()));
    m_bytes.insert(m_bytes.end(), content.begin(), content.end());
    return *this;
}

std::vector<std::uint8_t> MessageBuilder::finish()
{
    m_bytes[0] = static_cast<std::uint8_t>(m_bytes.size() & 0xFF);
    m_bytes[1] = static_cast<std::uint8_t>(m_bytes.size() >> 8);
    return m_bytes;
}

std::uint16_t wordAt(const std::vector<std::uint8_t>& message, std::size_t offset)
{
    if (offset + 2 > message.size())
        return 0;
    return static_cast<std::uint16_t>(message[offset] | message[offset + 1] << 8);
}

std::uint32_t dwordAt(const std::vector<std::uint8_t>& message, std::size_t offset)
{
    return wordAt(message, offset) | std::uint32_t(wordAt(message, offset + 2)) << 16;
}

std::uint16_t wordCommandOf(const std::vector<std::uint8_t>& message)
{
    if (message.size() < 6)
        return 0;
    return static_cast<std::uint16_t>(message[4] << 8 | message[5]);
}

std::string hexBytes(const std::vector<std::uint8_t>& bytes)
{
    std::string out;
    char digits[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(digits, sizeof digits, "%02X", bytes[i]);
        if (i > 0)
            out += ' ';
        out += digits;
    }
    return out;
}
