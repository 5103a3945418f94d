#include "config/BaseCodec.h"

#include "common/MessageTable.h"
#include "config/ConfigChoices.h"
#include "config/PackedDigits.h"
#include "image/Extensions.h"
#include "image/Firmware.h"
#include "image/ImageLayout.h"

namespace {
using R = ConfigImage::Region;

// The text of message first + value, for values that have one of the `count` texts.
QString valueText(int first, int count, int value)
{
    return value >= 0 && value < count ? MessageTable::text(first + value) : QString();
}

std::uint8_t* numberBytes(ConfigImage& image, int m)
{
    return image.data() + BaseCodec::Offset::Numbers + BaseCodec::Offset::NumberBytes * m;
}
} // namespace

namespace BaseCodec {

BaseSettings decode(const ConfigImage& image)
{
    BaseSettings s;
    s.connection = image.at(R::Base, Offset::Connection);
    s.extensionCount = ImageLayout::extensionCount(image);
    s.protocol = image.at(R::Base, Offset::Protocol);
    s.major = image.at(R::Base, Offset::Major);
    s.minor = image.at(R::Base, Offset::Minor);
    s.version = Firmware::version(image);
    s.musicOnHold = image.at(R::Base, Offset::MusicOnHold) != 0;
    s.internalS0 = image.at(R::Base, Offset::InternalS0);
    s.externalS0 = image.at(R::Base, Offset::ExternalS0);
    s.messageOnHold = image.at(R::Base, Offset::MessageOnHold);
    for (int m = 0; m < BaseSettings::MsnCount; ++m) {
        const auto k = static_cast<std::size_t>(m);
        s.numbers.at(k) =
            PackedDigits::unpackLowFirst(image.data() + Offset::Numbers + Offset::NumberBytes * m, Offset::NumberBytes);
        s.ring.at(k) = image.at(R::Base, Offset::Ring + m);
        s.rhythm.at(k) = image.at(R::Base, Offset::Rhythm + m);
    }
    return s;
}

QString protocolText(int value)
{
    return valueText(7, 2, value);
}

QString connectionText(int value)
{
    return valueText(9, 2, value);
}

QString musicOnHoldText(bool on)
{
    return MessageTable::text(on ? 29 : 28);
}

QString messageOnHoldText(bool musicOnHold, int messageOnHold)
{
    if (musicOnHold || messageOnHold == 0)
        return MessageTable::text(33);
    return MessageTable::text(34).replace(QLatin1String("%d"), QString::number(20 + messageOnHold));
}

QString firmwareText(int major, int minor)
{
    return QStringLiteral("%1.%2").arg(major).arg(minor);
}

QString rhythmValueText(int value)
{
    return valueText(41, 5, value);
}

QString rhythmText(int version, bool hasNumber, int value)
{
    if (!hasNumber)
        return {};
    return Firmware::newFeatures(version) ? rhythmValueText(value) : MessageTable::text(46);
}

int holdChoice(const BaseSettings& settings)
{
    return settings.musicOnHold ? 0 : settings.messageOnHold + 1;
}

void storeHold(ConfigImage& image, int choice, int extensionCount)
{
    if (choice < 0 || choice > extensionCount + 1)
        return;
    if (choice > 0)
        image.at(R::Base, Offset::MessageOnHold) = static_cast<std::uint8_t>(choice - 1);
    image.at(R::Base, Offset::MusicOnHold) = choice == 0 ? 1 : 0;
}

QString normalisedNumber(const QString& typed)
{
    QString text = typed.left(14);
    text.replace(QLatin1Char(' '), QLatin1Char('0'));
    return text;
}

void storeNumber(ConfigImage& image, int m, const QString& typed)
{
    PackedDigits::packLowFirst(normalisedNumber(typed), numberBytes(image, m), Offset::NumberBytes);
}

void storeRhythm(ConfigImage& image, int m, int choice)
{
    const int value = ConfigChoices::rhythmByteForChoice(choice);
    if (value >= 0)
        image.at(R::Base, Offset::Rhythm + m) = static_cast<std::uint8_t>(value);
}

void storeRing(ConfigImage& image, int m, const std::array<bool, Extensions::Max>& assigned, int extensionCount)
{
    std::uint8_t mask = 0;
    for (int i = 0; i < extensionCount && i < Extensions::Max; ++i) {
        if (assigned.at(static_cast<std::size_t>(i)))
            mask |= static_cast<std::uint8_t>(1u << i);
    }
    image.at(R::Base, Offset::Ring + m) = mask;
}

} // namespace BaseCodec
