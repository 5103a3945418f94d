#pragma once

#include "capi/CapiParameters.h"
#include "capi/TCapiMessageHeader.h"

#include <QtGlobal>

#include <span>
#include <vector>

// Base of all CAPI messages: the header and the message's own copy of its bytes. Used as is for a
// received message of a command this program does not parse, or one that it refuses as malformed.
class TCapiMessage
{
public:
    // A received message: the header from the first 8 bytes, then a copy of header.length bytes,
    // never more than the block holds.
    explicit TCapiMessage(std::span<const quint8> received);
    virtual ~TCapiMessage() = default;
    TCapiMessage(const TCapiMessage&) = delete;
    TCapiMessage& operator=(const TCapiMessage&) = delete;

    TCapiMessageHeader& header() { return m_header; }
    const TCapiMessageHeader& header() const { return m_header; }
    quint16 GetWordCommand() const { return m_header.GetWordCommand(); }

    // Writes the header into the buffer and returns it, for handing the message to the CAPI.
    quint8* GetMessagePtr();
    // The message as GetMessagePtr would hand it over.
    std::vector<quint8> bytes() const;

protected:
    // A message to send: WordCommand and parameters, message number 0.
    TCapiMessage(quint16 wordCommand, const CapiParameterWriter& parameters);
    // The received bytes after the header.
    std::span<const quint8> parameters() const;

private:
    TCapiMessageHeader m_header;
    std::vector<quint8> m_buffer;
};
