#include "DemoCallers.h"

#include <array>

namespace {

struct Caller
{
    const char* number;
    CallOffer::Type type;
    const char* msn;
    int cip;
};

constexpr std::array<Caller, 7> Callers = {{
    {"2214711815", CallOffer::Type::National, "8143210", 1},       // Köln
    {"8932165487", CallOffer::Type::National, "8143211", 16},      // München
    {"1715550123", CallOffer::Type::National, "8143210", 1},       // mobile
    {"", CallOffer::Type::Unknown, "8143213", 1},                  // withheld
    {"33142685300", CallOffer::Type::International, "8143210", 1}, // Paris
    {"6915124480", CallOffer::Type::National, "8143212", 17},      // Frankfurt, a fax
    {"3025879632", CallOffer::Type::National, "8143219", 4},       // Berlin
}};

} // namespace

CallOffer DemoCallers::call(int index, int ringSeconds)
{
    const Caller& c = Callers[static_cast<size_t>(index) % Callers.size()];
    CallOffer offer;
    offer.number = c.number;
    offer.type = c.type;
    offer.msn = c.msn;
    offer.cip = c.cip;
    offer.ringSeconds = ringSeconds;
    return offer;
}
