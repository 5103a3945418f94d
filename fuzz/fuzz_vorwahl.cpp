#include "vorwahl/Vorwahl.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr std::uint8_t Guard = 0xA5;

// The capacity a caller claims: anything from negative to beyond a short string.
std::int32_t capacity(std::uint8_t b)
{
    return static_cast<std::int32_t>(b) - 16;
}

// Exactly the capacity + 1 bytes the contract promises (one byte for a negative capacity), so
// that the sanitizer sees any write beyond them.
std::vector<std::uint8_t> outputBuffer(std::int32_t cap)
{
    return std::vector<std::uint8_t>(cap < 0 ? 1 : static_cast<std::size_t>(cap) + 1, Guard);
}

// Negative capacity: untouched. Otherwise a length of at most min(capacity, 255) and nothing
// written after its characters.
void checkOutput(const std::vector<std::uint8_t>& buffer, std::int32_t cap)
{
    if (cap < 0) {
        if (buffer[0] != Guard)
            std::abort();
        return;
    }
    if (buffer[0] > std::min(cap, 255))
        std::abort();
    if (std::any_of(buffer.begin() + 1 + buffer[0], buffer.end(), [](std::uint8_t b) { return b != Guard; }))
        std::abort();
}

} // namespace

// GetVorwahl as any caller of the library may use it: two capacity bytes, then the number's
// characters, passed as a short string in a buffer of exactly its length byte and characters.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::int32_t formattedCap = capacity(data[0]);
    const std::int32_t placeCap = capacity(data[1]);
    const std::size_t length = std::min<std::size_t>(size - 2, 255);
    std::vector<std::uint8_t> number(1 + length);
    number[0] = static_cast<std::uint8_t>(length);
    std::copy_n(data + 2, length, number.begin() + 1);

    std::vector<std::uint8_t> formatted = outputBuffer(formattedCap);
    std::vector<std::uint8_t> place = outputBuffer(placeCap);
    GetVorwahl(number.data(), formatted.data(), formattedCap, place.data(), placeCap);
    checkOutput(formatted, formattedCap);
    checkOutput(place, placeCap);

    // The number's own buffer as the output, as a careless caller may pass it.
    if (formattedCap >= 0 && formattedCap <= static_cast<std::int32_t>(length)) {
        GetVorwahl(number.data(), number.data(), formattedCap, nullptr, 0);
        if (number[0] > std::min(formattedCap, 255))
            std::abort();
    }

    std::vector<std::uint8_t> version = outputBuffer(formattedCap);
    std::vector<std::uint8_t> date = outputBuffer(placeCap);
    GetVorwahlVersion(version.data(), formattedCap, date.data(), placeCap);
    checkOutput(version, formattedCap);
    checkOutput(date, placeCap);
    return 0;
}
