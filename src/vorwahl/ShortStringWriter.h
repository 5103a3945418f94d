#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

// Writes a length-prefixed short string straight into a caller's buffer of capacity + 1 bytes. The
// length byte is kept up to date with every append; appending beyond the capacity cuts silently,
// and nothing after the characters written is touched. Meant as a local of the function that
// writes, so that its members stay in registers beside the byte stores.
class ShortStringWriter
{
public:
    static constexpr std::size_t maxCapacity = 255;

    ShortStringWriter(unsigned char* buffer, std::size_t capacity)
        : m_buffer(buffer), m_capacity(std::min(capacity, maxCapacity))
    {
        m_buffer[0] = 0;
    }

    ShortStringWriter& append(std::string_view text)
    {
        const std::size_t n = std::min(text.size(), m_capacity - m_size);
        copy(m_buffer + 1 + m_size, text.data(), n);
        m_size += n;
        m_buffer[0] = static_cast<unsigned char>(m_size);
        return *this;
    }

    // One character, without the call a copy of one byte would cost.
    ShortStringWriter& append(char c)
    {
        if (m_size < m_capacity) {
            m_buffer[1 + m_size++] = static_cast<unsigned char>(c);
            m_buffer[0] = static_cast<unsigned char>(m_size);
        }
        return *this;
    }

private:
    template <std::size_t N> static void copyBlock(unsigned char* to, const char* from)
    {
        unsigned char block[N];
        std::memcpy(block, from, N);
        std::memcpy(to, block, N);
    }

    // Short texts in overlapping blocks of their size class: the compiler's own expansion of a copy
    // of up to 255 bytes starts a string instruction, slow for the dozen bytes a text has.
    static void copy(unsigned char* to, const char* from, std::size_t n)
    {
        if (n >= 16) {
            for (std::size_t i = 0; i + 16 < n; i += 16)
                copyBlock<16>(to + i, from + i);
            copyBlock<16>(to + n - 16, from + n - 16);
        } else if (n >= 8) {
            copyBlock<8>(to, from);
            copyBlock<8>(to + n - 8, from + n - 8);
        } else if (n >= 4) {
            copyBlock<4>(to, from);
            copyBlock<4>(to + n - 4, from + n - 4);
        } else if (n > 0) {
            to[0] = static_cast<unsigned char>(from[0]);
            to[n / 2] = static_cast<unsigned char>(from[n / 2]);
            to[n - 1] = static_cast<unsigned char>(from[n - 1]);
        }
    }

    unsigned char* m_buffer;
    std::size_t m_capacity;
    std::size_t m_size = 0;
};
