#include "DefaultImage.h"

#include <QByteArray>

namespace {

using Region = ConfigImage::Region;

// Packs digits two per byte, first digit in the low nibble, 0xF as filler (MSNs, forwarding numbers, PINs).
void packLowFirst(ConfigImage& image, int offset, int bytes, const char* digits)
{
    const QByteArray text(digits);
    for (int j = 0; j < bytes; ++j) {
        const int i = 2 * j;
        const int low = i < text.size() ? text[i] - '0' : 0x0F;
        const int high = i + 1 < text.size() ? text[i + 1] - '0' : 0x0F;
        image[offset + j] = static_cast<std::uint8_t>(high << 4 | low);
    }
}

struct MsnSetup
{
    const char* number;
    std::uint8_t ringing; // bit i: extension 21 + i rings
    std::uint8_t rhythm;  // 0 Standard, 1 Rhythmus 1, 2 Rhythmus 2, 3 Keiner, 4 Rhythmus 3
};

// Five MSNs of a small office; MSN 6..10 stay empty.
constexpr MsnSetup Msns[] = {
    {"8143210", 0x03, 0}, // main number: 21 and 22
    {"8143211", 0x04, 1}, // 23, the answering machine
    {"8143212", 0x08, 0}, // 24, the fax
    {"8143213", 0x30, 2}, // 25 and 26
    {"8143219", 0xFF, 4}, // every extension
};

struct ExtensionSetup
{
    std::uint8_t permission;    // 0 Vollamt, 1 Inland, 2 Ortsgespräch, 3 Ankommend, 4 Keine
    std::uint8_t service;       // 0 Telefon, 1 Fax G3, 2 Daten, 3 T-Online, 4 Anrufbeantworter, 5 Kombidienst
    std::uint8_t chargePulse;   // 1 on
    const char* pin;            // four digits
    std::uint8_t trunkAccess;   // spontaneous trunk access
    std::uint8_t waitingExt;    // bit j: extension 21 + j may knock
    std::uint16_t waitingMsn;   // bit m: MSN m + 1 may knock
    std::uint8_t immediate;     // 0 none, 21..28 an extension, 1 the external number below
    const char* externalNumber; // forwarding target for immediate = 1
    std::uint8_t whenBusy;      // firmware 2.00: 1..8 = extension 20 + value
    std::uint8_t afterRings;    // firmware 2.00: 1..8 = extension 20 + value
    std::uint8_t rings;         // 3..10
};

constexpr ExtensionSetup Extensions[] = {
    {0, 0, 1, "1234", 0, 0x02, 0x0011, 0, "", 0, 3, 5},            // 21: office phone, to 23 after five rings
    {1, 0, 1, "4711", 0, 0x01, 0x0011, 1, "01701234567", 0, 0, 0}, // 22: forwarded to a mobile
    {0, 4, 0, "0000", 0, 0x00, 0x0002, 0, "", 0, 0, 0},            // 23: answering machine
    {0, 1, 0, "0000", 1, 0x00, 0x0000, 0, "", 0, 0, 0},            // 24: fax
    {2, 5, 0, "2580", 0, 0x20, 0x0008, 0, "", 6, 0, 0},            // 25: to 26 when busy
    {4, 0, 0, "0000", 0, 0x10, 0x0008, 0, "", 0, 0, 0},            // 26: children's phone, no outgoing calls
    {0, 2, 0, "0000", 1, 0x00, 0x0000, 0, "", 0, 0, 0},            // 27: data
    {3, 0, 0, "9999", 0, 0x00, 0x0000, 21, "", 0, 0, 0},           // 28: incoming only, forwarded to 21
};

// Unit counters of extensions 21..28.
constexpr std::uint16_t Units[] = {1234, 567, 89, 12, 345, 0, 78, 9};

std::uint8_t extensionMask(int extensions)
{
    return static_cast<std::uint8_t>((1u << extensions) - 1u);
}

void buildBase(ConfigImage& image, int firmware, int extensions)
{
    auto base = [&](int k) -> std::uint8_t& { return image.at(Region::Base, k); };
    base(0) = 23;
    base(1) = 0; // Mehrgeräteanschluß
    base(3) = 1; // DSS1
    for (int m = 0; m < 10; ++m)
        packLowFirst(image, 7 + 5 * m, 5, m < 5 ? Msns[m].number : "");
    base(57) = 1; // internal music on hold
    base(58) = 0; // internal S0 ports
    base(59) = 1; // external S0 ports
    for (int m = 0; m < 5; ++m) {
        base(84 + m) = Msns[m].ringing & extensionMask(extensions);
        if (firmware >= 200)
            base(102 + m) = Msns[m].rhythm;
    }
    base(94) = 0; // no extension plays a message on hold
}

void buildExtensions(ConfigImage& image, int firmware, int extensions)
{
    const int stride = firmware >= 200 ? 27 : 24;
    const std::uint8_t mask = extensionMask(extensions);
    image.at(Region::Extensions, 0) = 22;
    for (int g = 0; g < extensions; ++g) {
        const ExtensionSetup& s = Extensions[g];
        const int r = ConfigImage::ExtensionsOffset + 1 + g * stride;
        image[r + 1] = s.permission;
        image[r + 2] = s.service;
        const bool targetExists = s.immediate == 1 || (s.immediate >= 21 && s.immediate <= 20 + extensions);
        image[r + 3] = targetExists ? s.immediate : 0;
        image[r + 4] = s.chargePulse;
        packLowFirst(image, r + 5, 2, s.pin);
        packLowFirst(image, r + 7, 10, s.immediate == 1 ? s.externalNumber : "");
        image[r + 17] = s.trunkAccess;
        if (firmware >= 195) { // call waiting exists from 1.95 on
            image[r + 18] = s.waitingExt & mask;
            image[r + 19] = static_cast<std::uint8_t>(s.waitingMsn >> 8);
            image[r + 20] = static_cast<std::uint8_t>(s.waitingMsn & 0xFF);
        }
        if (firmware >= 200) {
            image[r + 23] = s.whenBusy <= extensions ? s.whenBusy : 0;
            const bool ringsTarget = s.afterRings != 0 && s.afterRings <= extensions;
            image[r + 24] = ringsTarget ? s.afterRings : 0;
            image[r + 25] = ringsTarget ? s.rings : 0;
        }
    }
}

void buildCharges(ConfigImage& image, int extensions)
{
    image.at(Region::Charges, 0) = 21;
    for (int k = 0; k < extensions; ++k) {
        image.at(Region::Charges, 1 + 2 * k) = static_cast<std::uint8_t>(Units[k] & 0xFF);
        image.at(Region::Charges, 2 + 2 * k) = static_cast<std::uint8_t>(Units[k] >> 8);
    }
}

} // namespace

namespace DefaultImage {

void setHardware(ConfigImage& image, int firmware, int extensions)
{
    image.at(Region::Base, 2) = static_cast<std::uint8_t>(extensions);
    image.at(Region::Base, 4) = static_cast<std::uint8_t>(firmware / 100);
    image.at(Region::Base, 5) = static_cast<std::uint8_t>(firmware % 100);
}

ConfigImage build(int firmware, int extensions)
{
    ConfigImage image;
    setHardware(image, firmware, extensions);
    buildBase(image, firmware, extensions);
    buildExtensions(image, firmware, extensions);
    buildCharges(image, extensions);
    return image;
}

SpeedDialTable speedDials(int firmware, int extensions)
{
    SpeedDialTable table;
    if (firmware < 200)
        return table;
    const std::uint8_t all = extensionMask(extensions);
    const std::uint8_t ext26 = 0x20 & all;
    table.setNumber(1, "0301234567", 0, all, 0, 0);       // an office in Berlin
    table.setNumber(2, "0897654321", 0, all, 0, 0);       // a supplier in Munich
    table.setNumber(3, "022112345", 0, all & 0x03, 1, 0); // Cologne, only 21 and 22
    table.setNumber(4, "01701234567", 0, all, 0, 0);      // a mobile
    table.setNumber(5, "040445566", ext26, ext26, 4, 0);  // grandma in Hamburg, baby call from 26
    table.setNumber(6, "0190123456", 0, all, 0, 0xFF);    // premium number, dial block
    table.setNumber(7, "07111234567", 0, all, 2, 0);      // Stuttgart
    table.setNumber(8, "05111234", 0, all, 0, 0);         // Hannover
    return table;
}

} // namespace DefaultImage
