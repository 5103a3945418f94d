#include "AreaCodeLookup.h"

#include "AreaCodeTable.h"
#include "CarrierTable.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::string_view carrierSelection = "010";
constexpr std::size_t carrierPrefixLength = 5;
constexpr std::string_view international = "00";
constexpr std::string_view germany = "0049";
constexpr std::size_t minAreaDigits = 2;
constexpr std::size_t maxAreaDigits = 6;
constexpr std::size_t maxRestLength = 30;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A national number "0" + area code + rest. Area codes nest in no number range, so the longest
// known code is the caller's: 02129 is Haan, although 0212 (Solingen) is a code as well.
bool placed(std::string_view national, std::string_view carrierText, AreaCodeLookup::Result& result)
{
    if (national.size() < 2 || national[0] != '0' || national[1] == '0')
        return false;
    // The keys of the leading one to maxAreaDigits digits, in one pass.
    std::uint32_t keys[maxAreaDigits + 1] = {0};
    std::size_t digits = 0;
    while (digits < maxAreaDigits && digits + 1 < national.size() && isDigit(national[digits + 1])) {
        keys[digits + 1] = keys[digits] * 10 + static_cast<std::uint32_t>(national[digits + 1] - '0');
        ++digits;
    }
    for (std::size_t n = digits; n >= minAreaDigits; --n) {
        const std::string_view name = AreaCodeTable::text(keys[n]);
        if (name.empty())
            continue;
        result.formatted.append('(').append(national.substr(0, n + 1)).append(')').append(' ');
        result.formatted.append(national.substr(n + 1, maxRestLength));
        result.place.append('[').append(name).append(carrierText).append(']');
        return true;
    }
    return false;
}

} // namespace

namespace AreaCodeLookup {

void lookup(std::string_view number, Result& result)
{
    result.formatted.clear();
    result.place.clear();

    ShortString carrierText;
    if (number.starts_with(carrierSelection)) {
        const auto carrier = CarrierTable::name(number.substr(0, carrierPrefixLength));
        carrierText.append(" (").append(carrier.value_or("unbekannt")).append(")");
        number.remove_prefix(std::min(number.size(), carrierPrefixLength));
    }

    bool found = false;
    if (number.starts_with(germany)) {
        // Germany's country code: the rest is a national number without its trunk 0.
        ShortString national("0");
        national.append(number.substr(germany.size()));
        found = placed(national.view(), carrierText.view(), result);
    } else if (!number.starts_with(international)) {
        found = placed(number, carrierText.view(), result);
    }
    if (!found)
        result.formatted.append(number);
}

} // namespace AreaCodeLookup
