#include "vorwahl/Vorwahl.h"
#include "common/Cp1252.h"

#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr unsigned char guard = 0xA5;
constexpr std::size_t guardBytes = 16;

std::string cp1252(const char* utf8)
{
    return Cp1252::fromUnicode(QString::fromUtf8(utf8)).toStdString();
}

std::vector<unsigned char> shortString(const std::string& text)
{
    std::vector<unsigned char> s{static_cast<unsigned char>(text.size())};
    s.insert(s.end(), text.begin(), text.end());
    return s;
}

// An output buffer of capacity + 1 bytes followed by guard bytes that must survive every call.
class GuardedBuffer
{
public:
    explicit GuardedBuffer(int32_t capacity)
        : m_capacity(capacity), m_bytes(static_cast<std::size_t>(std::max(capacity + 1, 0)) + guardBytes, guard)
    {}
    unsigned char* data() { return m_bytes.data(); }
    int32_t capacity() const { return m_capacity; }
    std::string text() const { return std::string(m_bytes.begin() + 1, m_bytes.begin() + 1 + m_bytes[0]); }
    bool guardIntact(std::size_t from) const
    {
        for (std::size_t i = from; i < m_bytes.size(); ++i) {
            if (m_bytes[i] != guard)
                return false;
        }
        return true;
    }
    bool guardIntactAfterCapacity() const { return guardIntact(static_cast<std::size_t>(std::max(m_capacity + 1, 0))); }

private:
    int32_t m_capacity;
    std::vector<unsigned char> m_bytes;
};

struct Result
{
    std::string formatted;
    std::string place;
};

Result lookup(const std::string& number, int32_t formattedCapacity = 255, int32_t placeCapacity = 255)
{
    const auto input = shortString(number);
    GuardedBuffer formatted(formattedCapacity);
    GuardedBuffer place(placeCapacity);
    GetVorwahl(input.data(), formatted.data(), formattedCapacity, place.data(), placeCapacity);
    EXPECT_TRUE(formatted.guardIntactAfterCapacity()) << number;
    EXPECT_TRUE(place.guardIntactAfterCapacity()) << number;
    return {formatted.text(), place.text()};
}

struct Case
{
    const char* number;
    const char* formatted; // UTF-8 here; the library answers in Windows-1252
    const char* place;
};

// clang-format off
const Case cases[] = {
    // Plain national numbers, fixed and mobile.
    {"0301234567", "(030) 1234567", "[Berlin]"},
    {"01711234567", "(0171) 1234567", "[D1-Telekom]"},
    {"0221", "(0221) ", "[Köln]"},
    {"0911123", "(0911) 123", "[Nürnberg]"},
    {"0800123456", "(0800) 123456", "[Ohne Gebühren]"},
    {"01801123456", "(01801) 123456", "[City-Tarif]"},
    {"0441123", "(0441) 123", "[Oldenburg ]"},
    {"09396123", "(09396) 123", "[Urspringen bei Marktheidenfeld]"},
    // Nested codes: the longest known code is the caller's.
    {"02129123", "(02129) 123", "[Haan]"},
    {"0212123", "(0212) 123", "[Solingen]"},
    {"03303912", "(033039) 12", "[Groß Behnitz]"},
    {"0330312", "(03303) 12", "[Birkenwerder]"},
    // Call-by-call carrier prefixes.
    {"0101908912345", "(089) 12345", "[München (Mobilcom)]"},
    {"0101208912345", "(089) 12345", "[München (unbekannt)]"},
    {"0101008912345", "(089) 12345", "[München (Teleglobe)]"},
    {"0109908912345", "(089) 12345", "[München (Econophone)]"},
    {"0109002129123", "(02129) 123", "[Haan (Viag Intercom)]"},
    {"0101912", "12", ""},
    {"01019", "", ""},
    {"0101", "", ""},
    {"010", "", ""},
    // International numbers: Germany's own code is a national number; others get no German place.
    {"0049301234", "(030) 1234", "[Berlin]"},
    {"00492129123", "(02129) 123", "[Haan]"},
    {"0101900498912345", "(089) 12345", "[München (Mobilcom)]"},
    {"00491234", "00491234", ""},
    {"0049", "0049", ""},
    {"004903012", "004903012", ""},
    {"0033123456789", "0033123456789", ""},
    {"0101900331234", "00331234", ""},
    {"00", "00", ""},
    // Nothing to place.
    {"1234", "1234", ""},
    {"0", "0", ""},
    {"", "", ""},
    {"03", "03", ""},
    {"03a1", "03a1", ""},
    {"0123456", "0123456", ""},
    // A non-digit ends the area code; the rest is kept as it stands.
    {"030-1234", "(030) -1234", "[Berlin]"},
    {"089 12345", "(089)  12345", "[München]"},
};
// clang-format on

} // namespace

TEST(GetVorwahl, FormatsAndPlacesEveryCase)
{
    for (const Case& c : cases) {
        const Result r = lookup(cp1252(c.number));
        EXPECT_EQ(r.formatted, cp1252(c.formatted)) << "number " << c.number;
        EXPECT_EQ(r.place, cp1252(c.place)) << "number " << c.number;
    }
}

TEST(GetVorwahl, KeepsAtMostThirtyCharactersAfterTheAreaCode)
{
    const std::string rest40 = "1234567890123456789012345678901234567890";
    EXPECT_EQ(lookup("030" + rest40).formatted, "(030) " + rest40.substr(0, 30));
    EXPECT_EQ(lookup("02129" + rest40).formatted, "(02129) " + rest40.substr(0, 30));

    // Without a place the whole number comes back, up to the short string's 255 characters.
    const std::string longUnplaced(255, '7');
    EXPECT_EQ(lookup(longUnplaced).formatted, longUnplaced);
    EXPECT_EQ(lookup(longUnplaced).place, "");
}

TEST(GetVorwahl, CutsResultsToTheirCapacities)
{
    const std::string number = "0101908912345";
    const std::string formatted = "(089) 12345";
    const std::string place = cp1252("[München (Mobilcom)]");

    EXPECT_EQ(lookup(number, 0, 0).formatted, "");
    EXPECT_EQ(lookup(number, 0, 0).place, "");
    EXPECT_EQ(lookup(number, 1, 1).formatted, "(");
    EXPECT_EQ(lookup(number, 1, 1).place, "[");
    // Cuts inside the brackets.
    EXPECT_EQ(lookup(number, 4, 5).formatted, "(089");
    EXPECT_EQ(lookup(number, 4, 5).place, cp1252("[Münc"));
    EXPECT_EQ(lookup(number, 5, 15).place, cp1252("[München (Mobil"));
    EXPECT_EQ(lookup(number, 5, 19).place, cp1252("[München (Mobilcom)"));
    // Exactly the length, and more than a short string can hold.
    EXPECT_EQ(lookup(number, 11, 20).formatted, formatted);
    EXPECT_EQ(lookup(number, 11, 20).place, place);
    EXPECT_EQ(lookup(number, 1000, 100000).place, place);
    EXPECT_EQ(lookup(std::string(255, '7'), 4000).formatted, std::string(255, '7'));
}

// Every capacity from 0 to past the result: the length byte and the characters, never a byte more.
TEST(GetVorwahl, NeverWritesBeyondCapacityPlusOne)
{
    const std::vector<std::string> numbers = {"0101908912345", "0301234567", "0033123456789",
                                              "1234",          "",           std::string(255, '0')};
    for (const std::string& number : numbers) {
        const Result full = lookup(number);
        for (int32_t capacity = 0; capacity <= 60; ++capacity) {
            const Result cut = lookup(number, capacity, capacity);
            EXPECT_EQ(cut.formatted, full.formatted.substr(0, static_cast<std::size_t>(capacity)));
            EXPECT_EQ(cut.place, full.place.substr(0, static_cast<std::size_t>(capacity)));

            // Exactly sized heap buffers as well, so the address sanitizer sees any overrun.
            const auto input = shortString(number);
            auto formatted = std::make_unique<unsigned char[]>(static_cast<std::size_t>(capacity) + 1);
            auto place = std::make_unique<unsigned char[]>(static_cast<std::size_t>(capacity) + 1);
            GetVorwahl(input.data(), formatted.get(), capacity, place.get(), capacity);
            EXPECT_EQ(formatted[0], std::min<std::size_t>(full.formatted.size(), static_cast<std::size_t>(capacity)));
        }
    }
}

TEST(GetVorwahl, LeavesNegativeCapacitiesAndNullBuffersAlone)
{
    const auto input = shortString("0301234567");
    GuardedBuffer formatted(-1);
    GuardedBuffer place(10);
    GetVorwahl(input.data(), formatted.data(), -1, place.data(), 10);
    EXPECT_TRUE(formatted.guardIntact(0));
    EXPECT_EQ(place.text(), "[Berlin]");

    GuardedBuffer other(255);
    GetVorwahl(input.data(), nullptr, 255, other.data(), 255);
    EXPECT_EQ(other.text(), "[Berlin]");
    GetVorwahl(input.data(), other.data(), 255, nullptr, 255);
    EXPECT_EQ(other.text(), "(030) 1234567");
    GetVorwahl(nullptr, other.data(), 255, nullptr, 255);
    EXPECT_EQ(other.text(), "");
}

TEST(GetVorwahl, ReadsTheNumberBeforeWritingIntoTheSameBuffer)
{
    std::vector<unsigned char> buffer = shortString("02129123");
    buffer.resize(256, guard);
    GuardedBuffer place(255);
    GetVorwahl(buffer.data(), buffer.data(), 255, place.data(), 255);
    EXPECT_EQ(std::string(buffer.begin() + 1, buffer.begin() + 1 + buffer[0]), "(02129) 123");
    EXPECT_EQ(place.text(), "[Haan]");

    // The place's buffer, and one that starts inside the number.
    buffer = shortString("0101908912345");
    buffer.resize(256, guard);
    GuardedBuffer formatted(255);
    GetVorwahl(buffer.data(), formatted.data(), 255, buffer.data(), 255);
    EXPECT_EQ(formatted.text(), "(089) 12345");
    EXPECT_EQ(std::string(buffer.begin() + 1, buffer.begin() + 1 + buffer[0]), cp1252("[München (Mobilcom)]"));
    buffer = shortString("0301234567");
    buffer.resize(256, guard);
    GetVorwahl(buffer.data(), formatted.data(), 255, buffer.data() + 4, 200);
    EXPECT_EQ(formatted.text(), "(030) 1234567");
    EXPECT_EQ(std::string(buffer.begin() + 5, buffer.begin() + 5 + buffer[4]), "[Berlin]");
}

TEST(GetVorwahlVersion, WritesVersionAndDateCutToTheirCapacities)
{
    GuardedBuffer version(10);
    GuardedBuffer date(20);
    GetVorwahlVersion(version.data(), 10, date.data(), 20);
    EXPECT_EQ(version.text(), "1.10");
    EXPECT_EQ(date.text(), "18. Dezember 1998");

    GuardedBuffer shortVersion(3);
    GuardedBuffer shortDate(0);
    GetVorwahlVersion(shortVersion.data(), 3, shortDate.data(), 0);
    EXPECT_EQ(shortVersion.text(), "1.1");
    EXPECT_EQ(shortDate.text(), "");
    EXPECT_TRUE(shortVersion.guardIntactAfterCapacity());
    EXPECT_TRUE(shortDate.guardIntactAfterCapacity());

    GuardedBuffer untouched(-1);
    GetVorwahlVersion(untouched.data(), -1, nullptr, 20);
    EXPECT_TRUE(untouched.guardIntact(0));
}
