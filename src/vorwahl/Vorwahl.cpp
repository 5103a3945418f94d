#include "Vorwahl.h"

#include "AreaCodeLookup.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view version = "1.10";
constexpr std::string_view date = "18. Dezember 1998";

// Writes a short string of at most `capacity` characters into a buffer of capacity + 1 bytes.
void writeShortString(unsigned char* buffer, int32_t capacity, std::string_view text)
{
    if (buffer == nullptr || capacity < 0)
        return;
    const std::size_t length = std::min({text.size(), static_cast<std::size_t>(capacity), ShortString::capacity});
    buffer[0] = static_cast<unsigned char>(length);
    std::memcpy(buffer + 1, text.data(), length);
}

} // namespace

extern "C" {

void GetVorwahl(const unsigned char* number, unsigned char* formatted, int32_t formattedCapacity, unsigned char* place,
                int32_t placeCapacity)
{
    // The lookup reads the number before anything is written, so the caller may pass its number
    // buffer as an output buffer too.
    std::string_view text;
    if (number != nullptr)
        text = {reinterpret_cast<const char*>(number) + 1, number[0]};
    AreaCodeLookup::Result result;
    AreaCodeLookup::lookup(text, result);
    writeShortString(formatted, formattedCapacity, result.formatted.view());
    writeShortString(place, placeCapacity, result.place.view());
}

void GetVorwahlVersion(unsigned char* versionBuffer, int32_t versionCapacity, unsigned char* dateBuffer,
                       int32_t dateCapacity)
{
    writeShortString(versionBuffer, versionCapacity, version);
    writeShortString(dateBuffer, dateCapacity, date);
}

} // extern "C"
