#pragma once

#include "ShortString.h"

#include <string_view>

// Formats a German number with its area code set off and names the place or network of the area
// code, with the carrier of a leading 010xy prefix. Texts are Windows-1252 bytes.
namespace AreaCodeLookup {

struct Result
{
    ShortString formatted; // "(0221) 123456", or the number itself when no area code is known
    ShortString place;     // "[Köln]", "[München (Mobilcom)]", or empty
};

// Fills both results (a caller's buffers, so a lookup copies no more than it writes).
void lookup(std::string_view number, Result& result);

} // namespace AreaCodeLookup
