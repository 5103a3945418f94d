// Lookups per second of the area-code library on a fixed set of a million realistic numbers and,
// when built with libphonenumber, of its offline geocoder on the same numbers, with the places on
// which the two disagree. Run it from a Release build: bench_vorwahl [DATAFILE]

#include "BenchReport.h"
#include "common/Cp1252.h"
#include "vorwahl/Vorwahl.h"

#include <QString>
#include <algorithm>
#include <chrono>
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

template <typename F> double bestSeconds(int runs, F&& f)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

// The places in UTF-8, without brackets and carrier text, for comparison.
std::vector<std::string> ourPlaces(const std::vector<std::string>& numbers, double* seconds)
{
    std::vector<unsigned char> pool;
    std::vector<std::size_t> offsets;
    for (const std::string& n : numbers) {
        offsets.push_back(pool.size());
        pool.push_back(static_cast<unsigned char>(n.size()));
        pool.insert(pool.end(), n.begin(), n.end());
    }
    unsigned char formatted[256];
    unsigned char place[256];
    std::uint64_t checksum = 0;
    *seconds = bestSeconds(5, [&] {
        for (std::size_t offset : offsets) {
            GetVorwahl(pool.data() + offset, formatted, 255, place, 255);
            checksum += formatted[0] + place[0];
        }
    });
    std::printf("  (checksum %llu)\n", static_cast<unsigned long long>(checksum));

    std::vector<std::string> places;
    places.reserve(numbers.size());
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        GetVorwahl(pool.data() + offsets[i], formatted, 255, place, 255);
        std::string text = Cp1252::toUnicode(QByteArrayView(place + 1, place[0])).toStdString();
        if (!text.empty()) {
            text = text.substr(1, text.size() - 2);
            if (numbers[i].starts_with("010"))
                text = text.substr(0, text.rfind(" ("));
        }
        places.push_back(text);
    }
    return places;
}

#ifdef KAVEX_WITH_LIBPHONENUMBER
std::vector<std::string> geocoderPlaces(const std::vector<std::string>& numbers, double* seconds)
{
    using namespace i18n::phonenumbers;
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    const PhoneNumberOfflineGeocoder geocoder;
    const icu::Locale locale("de", "DE");
    std::vector<std::string> places(numbers.size());
    *seconds = bestSeconds(2, [&] {
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            PhoneNumber parsed;
            if (util.Parse(numbers[i], "DE", &parsed) == PhoneNumberUtil::NO_PARSING_ERROR)
                places[i] = geocoder.GetDescriptionForNumber(parsed, locale, "DE");
            else
                places[i].clear();
            // The country alone names no area.
            if (places[i] == "Deutschland")
                places[i].clear();
        }
    });
    return places;
}

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

    double ourSeconds = 0;
    const std::vector<std::string> ours = ourPlaces(numbers.text, &ourSeconds);
    std::printf("GetVorwahl:     %12.0f lookups/s (%.1f ms, best of 5)\n", count / ourSeconds, ourSeconds * 1000);
#ifdef KAVEX_WITH_LIBPHONENUMBER
    double theirSeconds = 0;
    const std::vector<std::string> theirs = geocoderPlaces(numbers.text, &theirSeconds);
    std::printf("libphonenumber: %12.0f lookups/s (%.1f ms, best of 2)\n", count / theirSeconds, theirSeconds * 1000);
    std::printf("ratio: %.1f times faster\n", theirSeconds / ourSeconds);
    compare(numbers, ours, theirs);
    return Bench::budget("vorwahl-vs-libphonenumber", theirSeconds / ourSeconds, 200, "times", Bench::Bound::AtLeast)
               ? 0
               : 1;
#else
    std::printf("libphonenumber not found at build time: no comparison\n");
    Bench::budget("vorwahl-vs-libphonenumber", 0, 200, "times", Bench::Bound::AtLeast);
    return 1;
#endif
}
