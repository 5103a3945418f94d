#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// CAPI 2.0 messages as the simulated controller writes and reads them: little-endian integers,
// structs with a one-byte length (all of the controller's are short). Kept apart from the
// program's codec, so that each checks the other in the tests.
class MessageBuilder
{
public:
    MessageBuilder(std::uint16_t wordCommand, std::uint16_t applId, std::uint16_t messageNumber);

    MessageBuilder& word(std::uint16_t value);
    MessageBuilder& dword(std::uint32_t value);
    MessageBuilder& structure(const std::vector<std::uint8_t>& content);
    MessageBuilder& emptyStruct() { return structure({}); }
    // The message with its length filled in.
    std::vector<std::uint8_t> finish();

private:
    std::vector<std::uint8_t> m_bytes;
};

// Reads from a message the application put; out of range reads give 0.
std::uint16_t wordAt(const std::vector<std::uint8_t>& message, std::size_t offset);
std::uint32_t dwordAt(const std::vector<std::uint8_t>& message, std::size_t offset);
std::uint16_t wordCommandOf(const std::vector<std::uint8_t>& message);

std::string hexBytes(const std::vector<std::uint8_t>& bytes);
