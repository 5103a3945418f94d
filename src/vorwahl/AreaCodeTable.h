#pragma once

#include <cstddef>
#include <string_view>

// Place and network names keyed by the area code without its trunk 0, read as a decimal number
// ("0221" is key 221). Generated at build time from data/areacodes-de.txt; texts are Windows-1252.
namespace AreaCodeTable {

struct Match
{
    std::size_t digits = 0; // of the area code; 0 when no code is known
    std::string_view text;
};

// The longest area code that a national number written without its trunk 0 starts with: 2129 for
// "2129123" (Haan), although 212 (Solingen) is a code as well.
Match longestPrefix(std::string_view number);

} // namespace AreaCodeTable
