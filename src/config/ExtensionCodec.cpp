#include "config/ExtensionCodec.h"

#include "common/MessageTable.h"
#include "config/PackedDigits.h"
#include "image/Firmware.h"
#include "image/ImageLayout.h"

namespace {
std::uint8_t nibble(int value)
{
    return static_cast<std::uint8_t>(value & 0x0F);
}

QString pinFrom(std::uint8_t low, std::uint8_t high)
{
    QString pin;
    for (const int n : {low & 0x0F, low >> 4, high & 0x0F, high >> 4})
        pin += QChar(u'0' + n);
    return pin;
}

bool isExtension(int value, int count)
{
    return value > 20 && value <= 20 + count;
}

void decodeForwarding(const ConfigImage& image, int r, const BaseSettings& base, ExtensionSettings& s)
{
    using namespace ExtensionCodec::Offset;
    const int o = image[r + Immediate];
    const bool internal = isExtension(o, base.extensionCount);
    s.mode = 0;
    if (internal) {
        s.target = QString::number(o);
    } else {
        s.target = PackedDigits::unpackLowFirst(image.data() + r + External, ExternalBytes);
        if (!s.target.isEmpty())
            s.modeText = MessageTable::text(48);
    }
    if (!Firmware::newFeatures(base.version))
        return;
    s.modeText.clear();
    if (internal)
        s.modeText = MessageTable::text(48);
    if (const int busy = image[r + Busy]; busy != 0) {
        s.target = QStringLiteral("2%1").arg(busy);
        s.modeText = MessageTable::text(47);
        s.mode = 1;
    }
    if (const int after = image[r + AfterRings]; after != 0) {
        const int rings = image[r + Rings];
        s.target = QStringLiteral("2%1").arg(after);
        s.modeText = ExtensionCodec::ringsText(rings);
        s.mode = rings >= 3 && rings <= 10 ? rings - 1 : -1;
    }
}
} // namespace

namespace ExtensionCodec {

int recordOffset(int g, int recordLength)
{
    return Offset::Records + g * recordLength;
}

ExtensionSettings decode(const ConfigImage& image, const BaseSettings& base, int g)
{
    const int r = recordOffset(g, ImageLayout::recordLength(base.version));
    ExtensionSettings s;
    s.permission = image[r + Offset::Permission];
    s.service = image[r + Offset::Service];
    s.chargePulse = image[r + Offset::ChargePulse] != 0;
    s.trunkAccess = image[r + Offset::TrunkAccess] != 0;
    s.pin = pinFrom(image[r + Offset::Pin], image[r + Offset::Pin + 1]);
    s.extensionMask = image[r + Offset::ExtensionMask];
    s.msnMask = static_cast<std::uint16_t>(image[r + Offset::MsnMaskHigh] << 8 | image[r + Offset::MsnMaskLow]);
    for (int m = 0; m < BaseSettings::MsnCount; ++m) {
        if (!base.hasNumber(m))
            s.msnMask &= static_cast<std::uint16_t>(~(1u << m));
    }
    decodeForwarding(image, r, base, s);
    return s;
}

QString permissionText(int value)
{
    return value >= 0 && value <= 4 ? MessageTable::text(11 + value) : QString();
}

QString serviceText(int value)
{
    return value >= 0 && value <= 5 ? MessageTable::text(16 + value) : QString();
}

QString ringsText(int rings)
{
    return MessageTable::text(49).replace(QLatin1String("%d"), QString::number(rings));
}

bool takesCallWaiting(int service)
{
    return service != 1 && service != 2 && service != 3;
}

bool knocksAtOthers(int service)
{
    return service == 0 || service == 4 || service == 5;
}

bool isExtensionTarget(const QString& target, int extensionCount)
{
    return target.size() == 2 && target.at(0) == QLatin1Char('2') && target.at(1) >= QLatin1Char('1') &&
           target.at(1).unicode() <= u'0' + extensionCount;
}

void storeByte(ConfigImage& image, int g, int recordLength, int offset, std::uint8_t value)
{
    image[recordOffset(g, recordLength) + offset] = value;
}

QString storePin(ConfigImage& image, int g, int recordLength, const QString& typed)
{
    QString pin = typed.left(PinLength);
    pin.replace(QLatin1Char(' '), QLatin1Char('0'));
    pin = pin.rightJustified(PinLength, QLatin1Char('0'));
    const int r = recordOffset(g, recordLength);
    auto v = [&pin](int k) { return PackedDigits::valueOf(pin.at(k)); };
    image[r + Offset::Pin] = static_cast<std::uint8_t>(nibble(v(0)) | nibble(v(1)) << 4);
    image[r + Offset::Pin + 1] = static_cast<std::uint8_t>(nibble(v(2)) | nibble(v(3)) << 4);
    return pin;
}

QString storeForwarding(ConfigImage& image, int g, const BaseSettings& base, const QString& target, int mode)
{
    const bool modes = Firmware::newFeatures(base.version);
    const int r = recordOffset(g, ImageLayout::recordLength(base.version));
    auto set = [&image, r](int offset, int value) { image[r + offset] = static_cast<std::uint8_t>(value); };
    auto clearModes = [&](int busy, int after, int rings) {
        if (!modes)
            return; // below 2.00 these bytes belong to the next record
        set(Offset::Busy, busy);
        set(Offset::AfterRings, after);
        set(Offset::Rings, rings);
    };
    QString text = target.left(ExternalDigits);
    text.replace(QLatin1Char(' '), QLatin1Char('0'));
    if (text.isEmpty()) {
        set(Offset::Immediate, 0);
        clearModes(0, 0, 0);
        return {};
    }
    if (!isExtensionTarget(text, base.extensionCount)) {
        set(Offset::Immediate, 1);
        PackedDigits::packLowFirst(text, image.data() + r + Offset::External, Offset::ExternalBytes);
        // An external target replaces any internal forwarding, which would otherwise hide it.
        clearModes(0, 0, 0);
        return modes ? QString() : MessageTable::text(48);
    }
    const int digit = text.at(1).unicode() - u'0';
    if (!modes || mode <= 0 || mode > 9) {
        set(Offset::Immediate, 20 + digit);
        clearModes(0, 0, 0);
        return MessageTable::text(48);
    }
    set(Offset::Immediate, 0);
    if (mode == 1) {
        clearModes(digit, 0, 0);
        return MessageTable::text(47);
    }
    clearModes(0, digit, mode + 1);
    return ringsText(mode + 1);
}

void storeMasks(ConfigImage& image, int g, int recordLength, std::uint8_t extensionMask, std::uint16_t msnMask)
{
    const int r = recordOffset(g, recordLength);
    image[r + Offset::ExtensionMask] = extensionMask;
    image[r + Offset::MsnMaskHigh] = static_cast<std::uint8_t>(msnMask >> 8);
    image[r + Offset::MsnMaskLow] = static_cast<std::uint8_t>(msnMask & 0xFF);
}

int units(const ConfigImage& image, int g)
{
    return ImageLayout::units(image, g);
}

void storeUnits(ConfigImage& image, int g, int value)
{
    const int at = ConfigImage::ChargesOffset + 1 + 2 * g;
    image[at] = static_cast<std::uint8_t>(value & 0xFF);
    image[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

} // namespace ExtensionCodec
