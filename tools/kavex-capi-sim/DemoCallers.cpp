#include "DemoCallers.h"

#include <array>

namespace {

struct Caller
{
    const char* number;
    CallSpec::Type type;
    const char* msn;
    int cip;
};

constexpr std::array<Caller, 7> Callers = {{
    {"2214711815", CallSpec::Type::National, "8143210", 1},       // Köln
    {"8932165487", CallSpec::Type::National, "8143211", 16},      // München
    {"1715550123", CallSpec::Type::National, "8143210", 1},       // mobile
    {"", CallSpec::Type::Unknown, "8143213", 1},                  // withheld
    {"33142685300", CallSpec::Type::International, "8143210", 1}, // Paris
    {"6915124480", CallSpec::Type::National, "8143212", 17},      // Frankfurt, a fax
    {"3025879632", CallSpec::Type::National, "8143219", 4},       // Berlin
}};

} // namespace

CallSpec DemoCallers::call(int index, int ringSeconds)
{
    const Caller& c = Callers[static_cast<size_t>(index) % Callers.size()];
    CallSpec spec;
    spec.number = c.number;
    spec.type = c.type;
    spec.msn = c.msn;
    spec.cip = c.cip;
    spec.ringSeconds = ringSeconds;
    return spec;
}
