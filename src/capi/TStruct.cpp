#include "capi/TStruct.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr quint8 LongForm = 0xFF;
constexpr int ShortFormLimit = 255;

int prefixFor(int dataLength)
{
    return dataLength < ShortFormLimit ? 1 : 3;
}

} // namespace

TStruct::TStruct() : m_bytes(1, 0) {}

TStruct::TStruct(int dataLength)
{
    const int n = std::clamp(dataLength, 0, MaxDataLength);
    m_bytes.assign(static_cast<size_t>(n + prefixFor(n)), 0);
    if (n < ShortFormLimit) {
        m_bytes[0] = static_cast<quint8>(n);
    } else {
        m_bytes[0] = LongForm;
        m_bytes[1] = static_cast<quint8>(n & 0xFF);
        m_bytes[2] = static_cast<quint8>(n >> 8);
    }
    m_cursor = prefixLength();
}

std::optional<TStruct> TStruct::fromBytes(std::span<const quint8> bytes)
{
    if (bytes.empty())
        return std::nullopt;
    size_t prefix = 1;
    size_t n = bytes[0];
    if (bytes[0] == LongForm) {
        if (bytes.size() < 3)
            return std::nullopt;
        prefix = 3;
        n = bytes[1] | (size_t(bytes[2]) << 8);
    }
    if (bytes.size() - prefix < n)
        return std::nullopt;
    TStruct s;
    s.m_bytes.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(prefix + n));
    s.m_cursor = static_cast<int>(prefix);
    return s;
}

int TStruct::prefixLength() const
{
    return m_bytes[0] == LongForm ? 3 : 1;
}

int TStruct::GetDataLength() const
{
    return GetLength() - prefixLength();
}

std::span<const quint8> TStruct::content() const
{
    return std::span<const quint8>(m_bytes).subspan(static_cast<size_t>(prefixLength()));
}

void TStruct::Write(const void* data, int n)
{
    const int room = GetLength() - m_cursor;
    const int count = std::clamp(n, 0, room);
    if (count > 0)
        std::memcpy(m_bytes.data() + m_cursor, data, static_cast<size_t>(count));
    m_cursor += count;
}

void TStruct::Read(void* target, int k)
{
    if (k <= 0)
        return;
    if (m_consumed + k > GetDataLength()) {
        std::memset(target, 0, static_cast<size_t>(k));
        return;
    }
    std::memcpy(target, m_bytes.data() + m_cursor, static_cast<size_t>(k));
    m_cursor += k;
    m_consumed += k;
}

quint8 TStruct::readByte()
{
    quint8 value = 0;
    Read(&value, 1);
    return value;
}

QByteArray TStruct::readRest()
{
    QByteArray rest(GetDataLength() - m_consumed, Qt::Uninitialized);
    Read(rest.data(), static_cast<int>(rest.size()));
    return rest;
}
