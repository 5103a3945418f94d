#include "CarrierTable.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// One 22-byte record: two short strings of capacity 5 and 15, unused characters zero.
struct CarrierRecord
{
    std::uint8_t prefixLength;
    char prefix[5];
    std::uint8_t nameLength;
    char name[15];

    constexpr std::string_view prefixText() const { return {prefix, prefixLength}; }
    constexpr std::string_view nameText() const { return {name, nameLength}; }
};
static_assert(sizeof(CarrierRecord) == 22);

consteval CarrierRecord record(std::string_view prefix, std::string_view name)
{
    if (prefix.size() > 5 || name.size() > 15)
        throw "carrier text too long for its record";
    CarrierRecord r{};
    r.prefixLength = static_cast<std::uint8_t>(prefix.size());
    std::copy(prefix.begin(), prefix.end(), r.prefix);
    r.nameLength = static_cast<std::uint8_t>(name.size());
    std::copy(name.begin(), name.end(), r.name);
    return r;
}

constexpr CarrierRecord carriers[] = {
    record("01010", "Teleglobe"),   record("01011", "o.tel.o"),       record("01013", "Tele 2"),
    record("01014", "EWE TEL"),     record("01015", "RSL Com"),       record("01016", "LausitzNet"),
    record("01018", "debitel"),     record("01019", "Mobilcom"),      record("01020", "ISIS"),
    record("01022", "NetCologne"),  record("01023", "CNS"),           record("01024", "TelePassport"),
    record("01025", "Citykom"),     record("01028", "Colt"),          record("01030", "TelDaFax"),
    record("01033", "Dt. Telekom"), record("01036", "Hutchison"),     record("01039", "First Telecom"),
    record("01041", "HanseNet"),    record("01042", "TeleBel"),       record("01043", "KielNet"),
    record("01044", "VEW Telnet"),  record("01046", "KomTel"),        record("01049", "ACC"),
    record("01050", "Talkline"),    record("01055", "Esprit"),        record("01066", "Interroute"),
    record("01070", "Arcor"),       record("01079", "Viatel"),        record("01085", "Westcom"),
    record("01088", "Worldcom"),    record("01090", "Viag Intercom"), record("01098", "STAR"),
    record("01099", "Econophone"),
};
static_assert(std::size(carriers) == 34);

constexpr bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Row + 1 of each prefix "010" + two digits, by those digits (0: no carrier): one access, not a
// search.
using Index = std::array<std::uint8_t, 100>;

constexpr Index buildIndex()
{
    Index index{};
    for (std::size_t i = 0; i < std::size(carriers); ++i) {
        const CarrierRecord& r = carriers[i];
        const char* p = r.prefix;
        if (r.prefixText().substr(0, 3) != "010" || r.prefixLength != 5 || !isDigit(p[3]) || !isDigit(p[4]))
            throw "a carrier prefix is 010 and two digits";
        std::uint8_t& row = index[static_cast<std::size_t>((p[3] - '0') * 10 + (p[4] - '0'))];
        if (row != 0)
            throw "a carrier prefix occurs twice";
        row = static_cast<std::uint8_t>(i + 1);
    }
    return index;
}

constexpr Index index = buildIndex();

} // namespace

namespace CarrierTable {

std::optional<std::string_view> name(std::string_view prefix)
{
    if (prefix.size() != 5 || !prefix.starts_with("010") || !isDigit(prefix[3]) || !isDigit(prefix[4]))
        return std::nullopt;
    const std::uint8_t row = index[static_cast<std::size_t>((prefix[3] - '0') * 10 + (prefix[4] - '0'))];
    if (row == 0)
        return std::nullopt;
    return carriers[row - 1].nameText();
}

} // namespace CarrierTable
