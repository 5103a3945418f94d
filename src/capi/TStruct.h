#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>
#include <span>
#include <vector>

// One CAPI struct parameter in encoded form: a length prefix and the content. Content below 255
// bytes takes a one-byte prefix; 255 bytes or more take 0xFF and a 16-bit little-endian length.
// A value type that always holds its own copy of the bytes, so a struct taken from a received
// message stays valid after the message is gone.
class TStruct
{
public:
    static constexpr int MaxDataLength = 0xFFFF;

    // The empty struct: the single byte 0x00.
    TStruct();
    // dataLength zero bytes of content (clamped to 0..MaxDataLength), the write cursor at the start.
    explicit TStruct(int dataLength);
    // The struct that begins at bytes[0], the read cursor after its prefix; nothing when the
    // prefix or the content runs past the end of bytes.
    static std::optional<TStruct> fromBytes(std::span<const quint8> bytes);

    int GetDataLength() const;
    int GetLength() const { return static_cast<int>(m_bytes.size()); }

    // Writes at the cursor; what does not fit the content is dropped.
    void Write(const void* data, int n);
    void writeByte(quint8 value) { Write(&value, 1); }
    void writeBytes(const QByteArray& bytes) { Write(bytes.constData(), static_cast<int>(bytes.size())); }
    // Reads k bytes into target; when fewer than k content bytes are left, target gets k zeros and
    // nothing is consumed, so a short struct never yields foreign bytes.
    void Read(void* target, int k);
    quint8 readByte();
    // The content bytes not yet read.
    QByteArray readRest();

    std::span<const quint8> encoded() const { return m_bytes; }
    std::span<const quint8> content() const;

private:
    int prefixLength() const;

    std::vector<quint8> m_bytes;
    int m_cursor = 1;
    int m_consumed = 0;
};
