#pragma once

#include <optional>
#include <string_view>

// Formats a German number with its area code set off and names the place or network of the area
// code, with the carrier of a leading 010xy prefix. Texts are Windows-1252 bytes.
namespace AreaCodeLookup {

// What both results are made of, as views into the number and the library's constant texts:
// "(0" + areaCode + ") " + rest and "[" + place + " (" + carrier + ")]", so "(0221) 123456" and
// "[Köln]" or "[München (Mobilcom)]". Without an area code the number comes back as it is in rest
// and there is no place.
struct Result
{
    std::string_view areaCode; // without its trunk 0; empty when no code is known
    std::string_view rest;
    std::string_view place;
    std::optional<std::string_view> carrier; // when the number selected one, known or not
};

Result lookup(std::string_view number);

} // namespace AreaCodeLookup
