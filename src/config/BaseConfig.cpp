#include "config/BaseConfig.h"

#include "config/ConfigChoices.h"
#include "image/Extensions.h"
#include "image/Firmware.h"
#include "image/ImageLayout.h"

namespace {
using R = ConfigImage::Region;

std::size_t at(int k)
{
    return static_cast<std::size_t>(k);
}
bool validMsn(int m)
{
    return m >= 0 && m < BaseSettings::MsnCount;
}
} // namespace

BaseConfig::BaseConfig(ConfigImage& image) : m_image(image)
{
    decode();
}

void BaseConfig::decode()
{
    m_settings = BaseCodec::decode(m_image);
    m_shownMusic = m_settings.musicOnHold;
    m_shownMessage = m_settings.messageOnHold;
    m_musicOnHold = {BaseCodec::musicOnHoldText(m_shownMusic), false};
    m_messageOnHold = {BaseCodec::messageOnHoldText(m_shownMusic, m_shownMessage), false};
    for (int m = 0; m < BaseSettings::MsnCount; ++m) {
        const int rhythm = m_settings.rhythm.at(at(m));
        m_numbers.at(at(m)) = {m_settings.numbers.at(at(m)), false};
        m_rhythms.at(at(m)) = {BaseCodec::rhythmText(m_settings.version, m_settings.hasNumber(m), rhythm), false};
        m_shownRhythm.at(at(m)) = rhythm;
    }
    decodeAssignment();
}

void BaseConfig::decodeAssignment()
{
    for (int m = 0; m < BaseSettings::MsnCount; ++m) {
        m_settings.ring.at(at(m)) = m_image.at(R::Base, BaseCodec::Offset::Ring + m);
        for (int i = 0; i < Extensions::Max; ++i)
            m_assignment.at(at(m)).at(at(i)) = {m_settings.rings(m, i), false};
    }
}

bool BaseConfig::firmwareSupported() const
{
    return Firmware::supported(m_settings.version);
}
bool BaseConfig::callWaitingEditable() const
{
    return Firmware::callWaitingEditable(m_settings.version);
}
bool BaseConfig::rhythmsEditable() const
{
    return Firmware::newFeatures(m_settings.version);
}
bool BaseConfig::speedDialsAvailable() const
{
    return Firmware::newFeatures(m_settings.version);
}
int BaseConfig::extensionRecordLength() const
{
    return ImageLayout::recordLength(m_settings.version);
}

QString BaseConfig::protocolText() const
{
    return BaseCodec::protocolText(m_settings.protocol);
}
QString BaseConfig::connectionText() const
{
    return BaseCodec::connectionText(m_settings.connection);
}
QString BaseConfig::extensionCountText() const
{
    return QString::number(m_settings.extensionCount);
}
QString BaseConfig::internalS0Text() const
{
    return QString::number(m_settings.internalS0);
}
QString BaseConfig::externalS0Text() const
{
    return QString::number(m_settings.externalS0);
}
QString BaseConfig::firmwareText() const
{
    return BaseCodec::firmwareText(m_settings.major, m_settings.minor);
}

MarkedText BaseConfig::msnNumber(int m) const
{
    return validMsn(m) ? m_numbers.at(at(m)) : MarkedText{};
}
MarkedText BaseConfig::msnRhythm(int m) const
{
    return validMsn(m) ? m_rhythms.at(at(m)) : MarkedText{};
}
bool BaseConfig::hasNumber(int m) const
{
    return validMsn(m) && m_settings.hasNumber(m);
}

MarkedFlag BaseConfig::assignment(int m, int i) const
{
    return validMsn(m) && i >= 0 && i < Extensions::Max ? m_assignment.at(at(m)).at(at(i)) : MarkedFlag{};
}

bool BaseConfig::watched(int m) const
{
    return validMsn(m) && m_watched.at(at(m));
}

MsnPageFields BaseConfig::showSelected() const
{
    const int m = m_selected;
    MsnPageFields f;
    f.holdChoice = BaseCodec::holdChoice(m_settings);
    if (rhythmsEditable())
        f.rhythmChoice = ConfigChoices::choiceForRhythmByte(m_image.at(R::Base, BaseCodec::Offset::Rhythm + m));
    f.number = m_settings.numbers.at(at(m));
    f.watched = m_watched.at(at(m));
    for (int i = 0; i < Extensions::Max; ++i)
        f.assigned.at(at(i)) = m_assignment.at(at(m)).at(at(i)).set;
    return f;
}

void BaseConfig::storeSelected(const MsnPageFields& fields)
{
    const int m = m_selected;
    storeHold(fields.holdChoice);
    if (rhythmsEditable())
        BaseCodec::storeRhythm(m_image, m, fields.rhythmChoice);
    m_watched.at(at(m)) = fields.watched;
    if (m_watchWriter)
        m_watchWriter(m, fields.watched);
    storeNumberAndRhythm(m, fields);
    storeAssignment(m, fields.assigned);
}

MsnPageFields BaseConfig::select(int m, const MsnPageFields& current)
{
    storeSelected(current);
    if (validMsn(m))
        m_selected = m;
    return showSelected();
}

void BaseConfig::storeHold(int choice)
{
    BaseCodec::storeHold(m_image, choice, m_settings.extensionCount);
    const bool music = m_image.at(R::Base, BaseCodec::Offset::MusicOnHold) != 0;
    const int message = m_image.at(R::Base, BaseCodec::Offset::MessageOnHold);
    m_settings.musicOnHold = music;
    m_settings.messageOnHold = message;
    if (music != m_shownMusic)
        m_musicOnHold = {BaseCodec::musicOnHoldText(music), true};
    if (music != m_shownMusic || message != m_shownMessage)
        m_messageOnHold = {BaseCodec::messageOnHoldText(music, message), true};
    m_shownMusic = music;
    m_shownMessage = message;
}

void BaseConfig::storeNumberAndRhythm(int m, const MsnPageFields& fields)
{
    const QString text = BaseCodec::normalisedNumber(fields.number);
    MarkedText& number = m_numbers.at(at(m));
    if (text != number.text)
        number = {text, true};
    m_settings.numbers.at(at(m)) = text;
    BaseCodec::storeNumber(m_image, m, text);

    const int value = m_image.at(R::Base, BaseCodec::Offset::Rhythm + m);
    m_settings.rhythm.at(at(m)) = static_cast<std::uint8_t>(value);
    MarkedText& rhythm = m_rhythms.at(at(m));
    if (text.isEmpty()) {
        rhythm = {};
    } else if (value != m_shownRhythm.at(at(m))) {
        rhythm = {BaseCodec::rhythmValueText(value), true};
        m_shownRhythm.at(at(m)) = value;
    } else if (rhythm.text.isEmpty()) {
        // A number that was empty gets its rhythm text back, as a decode would show it.
        rhythm.text = BaseCodec::rhythmText(m_settings.version, true, value);
    }
}

void BaseConfig::storeAssignment(int m, const std::array<bool, Extensions::Max>& assigned)
{
    const int count = m_settings.extensionCount;
    BaseCodec::storeRing(m_image, m, assigned, count);
    m_settings.ring.at(at(m)) = m_image.at(R::Base, BaseCodec::Offset::Ring + m);
    for (int i = 0; i < count; ++i) {
        MarkedFlag& cell = m_assignment.at(at(m)).at(at(i));
        const bool set = assigned.at(at(i));
        if (set != cell.set)
            cell = {set, true};
    }
}
