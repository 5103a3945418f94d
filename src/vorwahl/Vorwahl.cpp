#include "Vorwahl.h"

#include "AreaCodeLookup.h"
#include "ShortStringWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view version = "1.10";
constexpr std::string_view date = "18. Dezember 1998";

// The bytes a call may write into an output: the length byte and at most 255 characters.
std::size_t outputExtent(int32_t capacity)
{
    return std::min(static_cast<std::size_t>(capacity), ShortStringWriter::maxCapacity) + 1;
}

// A writer for a caller's output; a negative capacity or a null buffer gets one into a buffer of
// our own, so the caller's is left untouched.
ShortStringWriter writer(unsigned char* buffer, int32_t capacity, unsigned char* unused)
{
    if (buffer == nullptr || capacity < 0)
        return {unused, 0};
    return {buffer, static_cast<std::size_t>(capacity)};
}

bool overlaps(const unsigned char* a, std::size_t aSize, const unsigned char* b, std::size_t bSize)
{
    const auto x = reinterpret_cast<std::uintptr_t>(a);
    const auto y = reinterpret_cast<std::uintptr_t>(b);
    return x < y + bSize && y < x + aSize;
}

bool writesInto(const unsigned char* buffer, int32_t capacity, const unsigned char* number)
{
    return buffer != nullptr && capacity >= 0 && overlaps(buffer, outputExtent(capacity), number, number[0] + 1u);
}

void writeFormatted(const AreaCodeLookup::Result& result, ShortStringWriter out)
{
    if (result.areaCode.empty()) {
        out.append(result.rest);
        return;
    }
    out.append('(').append('0').append(result.areaCode).append(')').append(' ').append(result.rest);
}

// Nothing without an area code: a carrier alone is not reported.
void writePlace(const AreaCodeLookup::Result& result, ShortStringWriter out)
{
    if (result.areaCode.empty())
        return;
    out.append('[').append(result.place);
    if (result.carrier)
        out.append(' ').append('(').append(*result.carrier).append(')');
    out.append(']');
}

} // namespace

extern "C" {

void GetVorwahl(const unsigned char* number, unsigned char* formatted, int32_t formattedCapacity, unsigned char* place,
                int32_t placeCapacity)
{
    // The results are views into the number, read while the outputs are written: a caller that
    // passes its number buffer as an output too gets them from a copy.
    unsigned char copy[ShortStringWriter::maxCapacity + 1];
    std::string_view text;
    if (number != nullptr) {
        if (writesInto(formatted, formattedCapacity, number) || writesInto(place, placeCapacity, number))
            number = static_cast<const unsigned char*>(std::memcpy(copy, number, number[0] + 1u));
        text = {reinterpret_cast<const char*>(number) + 1, number[0]};
    }
    const AreaCodeLookup::Result result = AreaCodeLookup::lookup(text);
    unsigned char unused[2][1];
    writeFormatted(result, writer(formatted, formattedCapacity, unused[0]));
    writePlace(result, writer(place, placeCapacity, unused[1]));
}

void GetVorwahlVersion(unsigned char* versionBuffer, int32_t versionCapacity, unsigned char* dateBuffer,
                       int32_t dateCapacity)
{
    unsigned char unused[2][1];
    writer(versionBuffer, versionCapacity, unused[0]).append(version);
    writer(dateBuffer, dateCapacity, unused[1]).append(date);
}

} // extern "C"
