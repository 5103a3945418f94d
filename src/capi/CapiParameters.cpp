#include "capi/CapiParameters.h"

bool CapiParameterReader::take(size_t n)
{
    if (!m_ok || m_bytes.size() - m_pos < n) {
        m_ok = false;
        return false;
    }
    return true;
}

quint16 CapiParameterReader::word()
{
    if (!take(2))
        return 0;
    const quint16 value = static_cast<quint16>(m_bytes[m_pos] | m_bytes[m_pos + 1] << 8);
    m_pos += 2;
    return value;
}

quint32 CapiParameterReader::dword()
{
    const quint32 low = word();
    const quint32 high = word();
    return low | high << 16;
}

TStruct CapiParameterReader::structure()
{
    if (!m_ok)
        return TStruct();
    auto parsed = TStruct::fromBytes(m_bytes.subspan(m_pos));
    if (!parsed) {
        m_ok = false;
        return TStruct();
    }
    m_pos += static_cast<size_t>(parsed->GetLength());
    return std::move(*parsed);
}

CapiParameterWriter& CapiParameterWriter::word(quint16 value)
{
    m_bytes.push_back(static_cast<quint8>(value & 0xFF));
    m_bytes.push_back(static_cast<quint8>(value >> 8));
    return *this;
}

CapiParameterWriter& CapiParameterWriter::dword(quint32 value)
{
    word(static_cast<quint16>(value & 0xFFFF));
    return word(static_cast<quint16>(value >> 16));
}

CapiParameterWriter& CapiParameterWriter::structure(const TStruct& value)
{
    m_bytes.insert(m_bytes.end(), value.encoded().begin(), value.encoded().end());
    return *this;
}
