#include "AreaCodeLookup.h"

#include "AreaCodeTable.h"
#include "CarrierTable.h"

#include <algorithm>

namespace {

constexpr std::string_view carrierSelection = "010";
constexpr std::size_t carrierPrefixLength = 5;
constexpr std::string_view international = "00";
constexpr std::string_view germany = "0049";
constexpr std::size_t maxRestLength = 30;

// A national number without its trunk 0.
bool placed(std::string_view national, AreaCodeLookup::Result& result)
{
    const AreaCodeTable::Match code = AreaCodeTable::longestPrefix(national);
    if (code.digits == 0)
        return false;
    result.areaCode = national.substr(0, code.digits);
    result.rest = national.substr(code.digits, maxRestLength);
    result.place = code.text;
    return true;
}

} // namespace

namespace AreaCodeLookup {

Result lookup(std::string_view number)
{
    Result result;
    if (number.starts_with(carrierSelection)) {
        result.carrier = CarrierTable::name(number.substr(0, carrierPrefixLength)).value_or("unbekannt");
        number.remove_prefix(std::min(number.size(), carrierPrefixLength));
    }

    bool found = false;
    if (number.starts_with(germany)) {
        // Germany's country code: the rest is a national number without its trunk 0.
        found = placed(number.substr(germany.size()), result);
    } else if (number.starts_with('0') && !number.starts_with(international)) {
        found = placed(number.substr(1), result);
    }
    if (!found)
        return {{}, number, {}, {}};
    return result;
}

} // namespace AreaCodeLookup
