#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

// A string of at most 255 bytes in a fixed buffer: what fits in a length-prefixed short string.
// Appending beyond the capacity cuts silently; nothing is allocated.
class ShortString
{
public:
    static constexpr std::size_t capacity = 255;

    ShortString() = default;
    explicit ShortString(std::string_view text) { append(text); }

    ShortString& append(std::string_view text)
    {
        const std::size_t n = std::min(text.size(), capacity - m_size);
        std::copy_n(text.data(), n, m_data + m_size);
        m_size += n;
        return *this;
    }

    // One character, without the call a copy of one byte would cost.
    ShortString& append(char c)
    {
        if (m_size < capacity)
            m_data[m_size++] = c;
        return *this;
    }

    void clear() { m_size = 0; }
    std::string_view view() const { return {m_data, m_size}; }

private:
    char m_data[capacity]; // only the first m_size bytes are ever read
    std::size_t m_size = 0;
};
