#pragma once

#include <optional>
#include <string_view>

// The call-by-call carriers that a leading 010xy selects.
namespace CarrierTable {

// The carrier's name for a prefix of exactly the same characters ("01019" -> "Mobilcom").
std::optional<std::string_view> name(std::string_view prefix);

} // namespace CarrierTable
