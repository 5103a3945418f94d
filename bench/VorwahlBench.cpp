// Time per number of the area-code library on a fixed set of a million realistic numbers and, when
// built with libphonenumber, of its offline geocoder on the same numbers, the two measured in turns,
// with the places on which they disagree. Run it from a Release build: bench_vorwahl [DATAFILE]

#include "BenchReport.h"
#include "common/Cp1252.h"
#include "vorwahl/Vorwahl.h"

#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#ifdef KAVEX_WITH_LIBPHONENUMBER
#include <phonenumbers/geocoding/phonenumber_offline_geocoder.h>
#include <phonenumbers/phonenumber.pb.h>
#include <phonenumbers/phonenumberutil.h>
#include <unicode/locid.h>
#endif

namespace {

constexpr std::size_t numberCount = 1000000;
constexpr std::uint64_t seed = 19981218;
constexpr int rounds = 3;
constexpr int ourPassesPerRound = 5;

struct AreaCodes
{
    std::vector<std::string> geographic; // without the trunk 0
    std::vector<std::string> cities;     // two- and three-digit geographic codes
    std::vector<std::string> mobile;
    std::vector<std::string> service;
};

AreaCodes readAreaCodes(const char* path)
{
    AreaCodes codes;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::string key = line.substr(0, line.find('|'));
        if (key[0] != '1' && key != "800" && key != "900") {
            codes.geographic.push_back(key);
            if (key.size() <= 3)
                codes.cities.push_back(key);
        } else if (key.starts_with("15") || key.starts_with("16") || key.starts_with("17")) {
            codes.mobile.push_back(key);
        } else {
            codes.service.push_back(key);
        }
    }
    return codes;
}

// Deterministic on every platform: the engine is fully specified, and the mapping to ranges is ours.
class Dice
{
public:
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(m_engine() % n); }
    std::string digits(std::size_t count, bool leadingNonZero = true)
    {
        std::string s;
        for (std::size_t i = 0; i < count; ++i)
            s += static_cast<char>('0' + (i == 0 && leadingNonZero ? 2 + below(8) : below(10)));
        return s;
    }
    template <typename T> const T& pick(const std::vector<T>& v) { return v[below(v.size())]; }

private:
    std::mt19937_64 m_engine{seed};
};

// Area code plus subscriber number, ten or eleven digits after the trunk 0 as German numbers have.
std::string national(Dice& dice, const std::string& code)
{
    const std::size_t total = 10 + dice.below(2);
    return "0" + code + dice.digits(total > code.size() + 3 ? total - code.size() : 3);
}

enum Kind
{
    City,
    Geographic,
    Mobile,
    Service,
    Carrier,
    Germany,
    Foreign,
    Local,
    KindCount
};
const char* const kindNames[KindCount] = {"city",    "geographic", "mobile",  "service",
                                          "carrier", "0049",       "foreign", "local"};

struct Numbers
{
    std::vector<std::string> text;
    std::vector<Kind> kind;
};

// The mix: a fifth big cities, a third any place, mobiles, service numbers, call-by-call carriers,
// Germany's and other countries' codes, and local numbers without an area code.
Numbers makeNumbers(const AreaCodes& codes)
{
    static const std::vector<std::string> carriers = {"01019", "01033", "01070", "01013", "01012", "01088"};
    static const std::vector<std::string> countries = {"0033", "0043", "0041", "001", "0044", "0039", "0031"};
    Dice dice;
    Numbers numbers;
    numbers.text.reserve(numberCount);
    while (numbers.text.size() < numberCount) {
        const std::size_t roll = dice.below(100);
        const Kind kind = roll < 20   ? City
                          : roll < 55 ? Geographic
                          : roll < 70 ? Mobile
                          : roll < 74 ? Service
                          : roll < 82 ? Carrier
                          : roll < 85 ? Germany
                          : roll < 90 ? Foreign
                                      : Local;
        switch (kind) {
        case City:
            numbers.text.push_back(national(dice, dice.pick(codes.cities)));
            break;
        case Geographic:
            numbers.text.push_back(national(dice, dice.pick(codes.geographic)));
            break;
        case Mobile:
            numbers.text.push_back("0" + dice.pick(codes.mobile) + dice.digits(7 + dice.below(2), false));
            break;
        case Service:
            numbers.text.push_back("0" + dice.pick(codes.service) + dice.digits(6));
            break;
        case Carrier:
            numbers.text.push_back(dice.pick(carriers) + national(dice, dice.pick(codes.geographic)));
            break;
        case Germany:
            numbers.text.push_back("0049" + national(dice, dice.pick(codes.geographic)).substr(1));
            break;
        case Foreign:
            numbers.text.push_back(dice.pick(countries) + dice.digits(8 + dice.below(3)));
            break;
        default:
            numbers.text.push_back(dice.digits(5 + dice.below(4)));
            break;
        }
        numbers.kind.push_back(kind);
    }
    return numbers;
}

// Seconds of one pass by this thread's CPU time, which the budgets use, and by the wall clock, or
// the best of several passes by each.
struct Timing
{
    double cpu = 1e300;
    double wall = 1e300;

    void keepBest(const Timing& other)
    {
        cpu = std::min(cpu, other.cpu);
        wall = std::min(wall, other.wall);
    }
};

template <typename F> Timing timed(F&& f)
{
    const double cpu = Bench::threadCpuSeconds();
    const double wall = Bench::monotonicSeconds();
    f();
    return {Bench::threadCpuSeconds() - cpu, Bench::monotonicSeconds() - wall};
}

// GetVorwahl on every number, from short strings packed end to end as a caller keeps them.
class OurLookups
{
public:
    explicit OurLookups(const std::vector<std::string>& numbers)
    {
        for (const std::string& n : numbers) {
            m_offsets.push_back(m_pool.size());
            m_pool.push_back(static_cast<unsigned char>(n.size()));
            m_pool.insert(m_pool.end(), n.begin(), n.end());
        }
    }

    Timing pass()
    {
        unsigned char formatted[256];
        unsigned char place[256];
        return timed([&] {
            for (std::size_t offset : m_offsets) {
                GetVorwahl(m_pool.data() + offset, formatted, 255, place, 255);
                m_checksum += formatted[0] + place[0];
            }
        });
    }

    std::uint64_t checksum() const { return m_checksum; }

    // The places in UTF-8, without brackets and carrier text, for comparison.
    std::vector<std::string> places(const std::vector<std::string>& numbers) const
    {
        unsigned char formatted[256];
        unsigned char place[256];
        std::vector<std::string> result;
        result.reserve(numbers.size());
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            GetVorwahl(m_pool.data() + m_offsets[i], formatted, 255, place, 255);
            std::string text = Cp1252::toUnicode(QByteArrayView(place + 1, place[0])).toStdString();
            if (!text.empty()) {
                text = text.substr(1, text.size() - 2);
                if (numbers[i].starts_with("010"))
                    text = text.substr(0, text.rfind(" ("));
            }
            result.push_back(text);
        }
        return result;
    }

private:
    std::vector<unsigned char> m_pool;
    std::vector<std::size_t> m_offsets;
    std::uint64_t m_checksum = 0;
};

#ifdef KAVEX_WITH_LIBPHONENUMBER
// The offline geocoder on every number, parsed as a German caller's number.
class TheirLookups
{
public:
    explicit TheirLookups(const std::vector<std::string>& numbers)
        : m_util(*i18n::phonenumbers::PhoneNumberUtil::GetInstance()), m_locale("de", "DE"), m_numbers(numbers),
          m_places(numbers.size())
    {}

    Timing pass()
    {
        using namespace i18n::phonenumbers;
        return timed([&] {
            for (std::size_t i = 0; i < m_numbers.size(); ++i) {
                PhoneNumber parsed;
                if (m_util.Parse(m_numbers[i], "DE", &parsed) == PhoneNumberUtil::NO_PARSING_ERROR)
                    m_places[i] = m_geocoder.GetDescriptionForNumber(parsed, m_locale, "DE");
                else
                    m_places[i].clear();
                // The country alone names no area.
                if (m_places[i] == "Deutschland")
                    m_places[i].clear();
            }
        });
    }

    const std::vector<std::string>& places() const { return m_places; }

private:
    const i18n::phonenumbers::PhoneNumberUtil& m_util;
    const i18n::phonenumbers::PhoneNumberOfflineGeocoder m_geocoder;
    const icu::Locale m_locale;
    const std::vector<std::string>& m_numbers;
    std::vector<std::string> m_places;
};

void compare(const Numbers& numbers, const std::vector<std::string>& ours, const std::vector<std::string>& theirs)
{
    struct Tally
    {
        std::size_t count = 0, ours = 0, theirs = 0, both = 0, same = 0;
    };
    Tally tally[KindCount];
    std::map<std::pair<std::string, std::string>, std::pair<std::size_t, std::string>> differences;
    for (std::size_t i = 0; i < numbers.text.size(); ++i) {
        Tally& t = tally[numbers.kind[i]];
        ++t.count;
        t.ours += ours[i].empty() ? 0 : 1;
        t.theirs += theirs[i].empty() ? 0 : 1;
        if (ours[i].empty() || theirs[i].empty())
            continue;
        ++t.both;
        if (ours[i] == theirs[i]) {
            ++t.same;
            continue;
        }
        auto& d = differences[{ours[i], theirs[i]}];
        if (d.first++ == 0)
            d.second = numbers.text[i];
    }
    std::printf("%-10s %8s %8s %8s %8s %8s\n", "kind", "numbers", "ours", "geocoder", "both", "same");
    Tally all;
    for (int k = 0; k < KindCount; ++k) {
        const Tally& t = tally[k];
        std::printf("%-10s %8zu %8zu %8zu %8zu %8zu\n", kindNames[k], t.count, t.ours, t.theirs, t.both, t.same);
        all.both += t.both;
        all.same += t.same;
    }
    std::printf("agreement: %zu of the %zu numbers that both name a place (%.2f %%)\n", all.same, all.both,
                all.both > 0 ? 100.0 * static_cast<double>(all.same) / static_cast<double>(all.both) : 0.0);
    std::printf("disagreements where both name a place (%zu distinct; ours | geocoder | count | example):\n",
                differences.size());
    for (const auto& [places, d] : differences)
        std::printf("  %s | %s | %zu | %s\n", places.first.c_str(), places.second.c_str(), d.first, d.second.c_str());
}
#endif

} // namespace

int main(int argc, char** argv)
{
    const AreaCodes codes = readAreaCodes(argc > 1 ? argv[1] : KAVEX_AREACODES);
    if (codes.geographic.empty() || codes.mobile.empty() || codes.service.empty()) {
        std::fprintf(stderr, "bench_vorwahl: no area codes in %s\n", argc > 1 ? argv[1] : KAVEX_AREACODES);
        return 1;
    }
    const Numbers numbers = makeNumbers(codes);
    const auto count = static_cast<double>(numbers.text.size());
    std::printf("%zu numbers\n", numbers.text.size());

    std::printf("machine: %s\n", Bench::machine().c_str());

    // Both sides in turns, so that both meet whatever else the machine is doing; the best of each.
    OurLookups ours(numbers.text);
    Timing ourBest;
#ifdef KAVEX_WITH_LIBPHONENUMBER
    TheirLookups theirs(numbers.text);
    Timing theirBest;
#endif
    for (int round = 1; round <= rounds; ++round) {
        Timing ourRound;
        for (int i = 0; i < ourPassesPerRound; ++i)
            ourRound.keepBest(ours.pass());
        ourBest.keepBest(ourRound);
        std::printf("round %d: GetVorwahl %.1f ms (wall clock %.1f ms, best of %d)", round, ourRound.cpu * 1000,
                    ourRound.wall * 1000, ourPassesPerRound);
#ifdef KAVEX_WITH_LIBPHONENUMBER
        const Timing theirRound = theirs.pass();
        theirBest.keepBest(theirRound);
        std::printf(", libphonenumber %.1f ms (wall clock %.1f ms)", theirRound.cpu * 1000, theirRound.wall * 1000);
#endif
        std::printf("\n");
        std::fflush(stdout);
    }
    std::printf("  (checksum %llu; times are CPU time of this thread)\n",
                static_cast<unsigned long long>(ours.checksum()));
    const double nsPerNumber = ourBest.cpu * 1e9 / count;
    std::printf("GetVorwahl:     %12.0f lookups/s (%.1f ms, %.1f ns per number; wall clock %.1f ns)\n",
                count / ourBest.cpu, ourBest.cpu * 1000, nsPerNumber, ourBest.wall * 1e9 / count);
    bool pass = Bench::budget("vorwahl-per-number", nsPerNumber, 40, "ns");
#ifdef KAVEX_WITH_LIBPHONENUMBER
    const double ratio = theirBest.cpu / ourBest.cpu;
    std::printf("libphonenumber: %12.0f lookups/s (%.1f ms; wall clock %.1f ms)\n", count / theirBest.cpu,
                theirBest.cpu * 1000, theirBest.wall * 1000);
    std::printf("ratio: %.1f times faster (wall clock %.1f)\n", ratio, theirBest.wall / ourBest.wall);
    compare(numbers, ours.places(numbers.text), theirs.places());
    pass = Bench::budget("vorwahl-vs-libphonenumber", ratio, 300, "times", Bench::Bound::AtLeast) && pass;
#else
    std::printf("libphonenumber not found at build time: no comparison\n");
    pass = Bench::budget("vorwahl-vs-libphonenumber", 0, 300, "times", Bench::Bound::AtLeast) && pass;
#endif
    return pass ? 0 : 1;
}
