#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Place and network names keyed by the area code without its trunk 0, read as a decimal number
// ("0221" is key 221). Generated at build time from data/areacodes-de.txt; texts are Windows-1252.
namespace AreaCodeTable {

// The name for the key, empty when the table has none.
std::string_view text(std::uint32_t key);

std::size_t size();

} // namespace AreaCodeTable
