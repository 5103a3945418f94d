#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>

// The 1024-byte image exchanged with the exchange and stored in configuration files.
// After reception and compaction, byte k of a region is payload byte k (byte 0 is the kind).
class ConfigImage
{
public:
    static constexpr int Size = 1024;

    enum class Region
    {
        Base,
        Extensions,
        Charges
    };
    static constexpr int BaseOffset = 0, BaseLength = 300;
    static constexpr int ExtensionsOffset = 300, ExtensionsLength = 500;
    static constexpr int ChargesOffset = 800, ChargesLength = 224;

    static constexpr int offset(Region r)
    {
        return r == Region::Base ? BaseOffset : r == Region::Extensions ? ExtensionsOffset : ChargesOffset;
    }
    static constexpr int length(Region r)
    {
        return r == Region::Base ? BaseLength : r == Region::Extensions ? ExtensionsLength : ChargesLength;
    }

    ConfigImage() { m_bytes.fill(0); }

    std::uint8_t& operator[](int i) { return m_bytes.at(static_cast<std::size_t>(i)); }
    std::uint8_t operator[](int i) const { return m_bytes.at(static_cast<std::size_t>(i)); }

    std::uint8_t* data() { return m_bytes.data(); }
    const std::uint8_t* data() const { return m_bytes.data(); }

    // Byte k of a region (payload byte k after compaction).
    std::uint8_t& at(Region r, int k) { return (*this)[offset(r) + k]; }
    std::uint8_t at(Region r, int k) const { return (*this)[offset(r) + k]; }

    QByteArray region(Region r) const
    {
        return QByteArray(reinterpret_cast<const char*>(m_bytes.data()) + offset(r), length(r));
    }
    QByteArray toByteArray() const { return QByteArray(reinterpret_cast<const char*>(m_bytes.data()), Size); }
    // The image of `bytes`; what is missing of Size is zero, what is beyond it is left out.
    static ConfigImage fromBytes(const QByteArray& bytes)
    {
        ConfigImage image;
        image.m_bytes.fill(0);
        const int n = qMin(static_cast<int>(bytes.size()), Size);
        for (int i = 0; i < n; ++i)
            image.m_bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bytes[i]);
        return image;
    }

    // Copies a received chunk into a region from its first byte, never beyond the region's end.
    void copyIntoRegion(Region r, const QByteArray& chunk)
    {
        const int n = qMin(static_cast<int>(chunk.size()), length(r));
        for (int i = 0; i < n; ++i)
            at(r, i) = static_cast<std::uint8_t>(chunk[i]);
    }

    bool operator==(const ConfigImage&) const = default;

private:
    std::array<std::uint8_t, Size> m_bytes;
};
