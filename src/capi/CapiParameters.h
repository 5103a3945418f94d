#pragma once

#include "capi/TStruct.h"

#include <QtGlobal>

#include <span>
#include <vector>

// Reads the parameters of a received message in order, never past the end of its bytes. A field
// or struct that does not fit marks the reader failed and reads as zero or empty.
class CapiParameterReader
{
public:
    explicit CapiParameterReader(std::span<const quint8> bytes) : m_bytes(bytes) {}

    quint16 word();
    quint32 dword();
    TStruct structure();
    bool ok() const { return m_ok; }

private:
    bool take(size_t n);

    std::span<const quint8> m_bytes;
    size_t m_pos = 0;
    bool m_ok = true;
};

// Collects the parameters of a message to send, little-endian, in order.
class CapiParameterWriter
{
public:
    CapiParameterWriter& word(quint16 value);
    CapiParameterWriter& dword(quint32 value);
    CapiParameterWriter& structure(const TStruct& value);
    const std::vector<quint8>& bytes() const { return m_bytes; }

private:
    std::vector<quint8> m_bytes;
};
