#include "config/ExtensionConfig.h"

#include "common/MessageTable.h"
#include "image/Extensions.h"
#include "image/Firmware.h"

namespace {
std::size_t at(int k)
{
    return static_cast<std::size_t>(k);
}
bool bit(unsigned mask, int k)
{
    return (mask >> k) & 1u;
}
} // namespace

ExtensionConfig::ExtensionConfig(ConfigImage& image, BaseConfig& base) : m_image(image), m_base(base)
{
    decode();
}

bool ExtensionConfig::valid(int g) const
{
    return g >= 0 && g < extensionCount();
}

void ExtensionConfig::decode()
{
    for (int g = 0; g < Extensions::Max; ++g) {
        ExtensionSettings& s = m_settings.at(at(g));
        s = valid(g) ? ExtensionCodec::decode(m_image, m_base.settings(), g) : ExtensionSettings{};
        Overview& ov = m_overview.at(at(g));
        ov = {};
        if (valid(g)) {
            ov.permission.text = ExtensionCodec::permissionText(s.permission);
            ov.service.text = ExtensionCodec::serviceText(s.service);
            ov.target.text = s.target;
            ov.mode.text = s.modeText;
        }
    }
    m_base.decodeAssignment();
    if (!valid(m_selected))
        m_selected = 0;
    showSelected();
}

const ExtensionSettings& ExtensionConfig::settings(int g) const
{
    return m_settings.at(at(g));
}

MarkedText ExtensionConfig::permission(int g) const
{
    return valid(g) ? m_overview.at(at(g)).permission : MarkedText{};
}
MarkedText ExtensionConfig::service(int g) const
{
    return valid(g) ? m_overview.at(at(g)).service : MarkedText{};
}
MarkedText ExtensionConfig::forwardingTarget(int g) const
{
    return valid(g) ? m_overview.at(at(g)).target : MarkedText{};
}
MarkedText ExtensionConfig::forwardingMode(int g) const
{
    return valid(g) ? m_overview.at(at(g)).mode : MarkedText{};
}
bool ExtensionConfig::chargePulse(int g) const
{
    return valid(g) && m_settings.at(at(g)).chargePulse;
}
bool ExtensionConfig::trunkAccess(int g) const
{
    return valid(g) && m_settings.at(at(g)).trunkAccess;
}
QString ExtensionConfig::pin(int g) const
{
    return valid(g) ? m_settings.at(at(g)).pin : QString();
}
int ExtensionConfig::units(int g) const
{
    return valid(g) ? ExtensionCodec::units(m_image, g) : 0;
}
bool ExtensionConfig::unitsChanged(int g) const
{
    return valid(g) && m_overview.at(at(g)).unitsChanged;
}

MarkedFlag ExtensionConfig::msnWaiting(int m, int g) const
{
    if (!valid(g) || m < 0 || m >= BaseSettings::MsnCount)
        return {};
    const bool set = bit(m_settings.at(at(g)).msnMask, m) && m_base.hasNumber(m);
    return {set, m_overview.at(at(g)).msnChanged.at(at(m))};
}

MarkedFlag ExtensionConfig::extensionWaiting(int j, int g) const
{
    if (!valid(g) || !valid(j) || j == g)
        return {};
    return {bit(m_settings.at(at(g)).extensionMask, j), m_overview.at(at(g)).extensionChanged.at(at(j))};
}

ExtensionPageFields ExtensionConfig::showSelected()
{
    ExtensionPageFields f;
    m_waitingList.clear();
    if (!valid(m_selected))
        return f;
    ExtensionSettings& s = m_settings.at(at(m_selected));
    f.chargePulse = s.chargePulse;
    f.trunkAccess = s.trunkAccess;
    f.permission = s.permission <= 4 ? s.permission : -1;
    f.service = s.service <= 5 ? s.service : -1;
    f.units = QString::number(units(m_selected));
    f.pin = s.pin;
    f.target = s.target;
    f.mode = s.mode;
    f.modeEnabled = modeChoiceEnabled(s.target);
    buildWaitingList(s);
    return f;
}

void ExtensionConfig::buildWaitingList(ExtensionSettings& s)
{
    if (!ExtensionCodec::takesCallWaiting(s.service)) {
        s.msnMask = 0;
        s.extensionMask = 0;
        return;
    }
    auto entry = [](bool on, const QString& text) { return (on ? QLatin1Char('1') : QLatin1Char('0')) + text; };
    for (int m = 0; m < BaseSettings::MsnCount; ++m) {
        if (m_base.assignment(m, m_selected).set) {
            const QString number = m_base.settings().numbers.at(at(m));
            m_waitingList << entry(bit(s.msnMask, m), QStringLiteral("MSN %1  (%2)").arg(m + 1).arg(number));
        } else {
            s.msnMask &= static_cast<std::uint16_t>(~(1u << m));
        }
    }
    for (int j = 0; j < extensionCount(); ++j) {
        if (j == m_selected)
            continue;
        if (ExtensionCodec::knocksAtOthers(m_settings.at(at(j)).service))
            m_waitingList << entry(bit(s.extensionMask, j),
                                   QStringLiteral("Nebenstelle %1").arg(Extensions::number(j)));
        else
            s.extensionMask &= static_cast<std::uint8_t>(~(1u << j));
    }
}

void ExtensionConfig::clickWaiting(int row)
{
    if (row < 0 || row >= m_waitingList.size() || !valid(m_selected))
        return;
    QString& entry = m_waitingList[row];
    entry[0] = entry.at(0) == QLatin1Char('1') ? QLatin1Char('0') : QLatin1Char('1');
    const QString rest = entry.mid(1);
    ExtensionSettings& s = m_settings.at(at(m_selected));
    Overview& ov = m_overview.at(at(m_selected));
    for (int m = 1; m <= BaseSettings::MsnCount; ++m) {
        if (rest.left(6) == QStringLiteral("MSN %1 ").arg(m).left(6)) {
            s.msnMask ^= static_cast<std::uint16_t>(1u << (m - 1));
            ov.msnChanged.at(at(m - 1)) = true;
            return;
        }
    }
    for (int j = 1; j <= extensionCount(); ++j) {
        if (rest.left(14) == QStringLiteral("Nebenstelle %1").arg(20 + j).left(14)) {
            s.extensionMask ^= static_cast<std::uint8_t>(1u << (j - 1));
            ov.extensionChanged.at(at(j - 1)) = true;
            return;
        }
    }
}

bool ExtensionConfig::modeChoiceEnabled(const QString& target) const
{
    return m_base.rhythmsEditable() && ExtensionCodec::isExtensionTarget(target, extensionCount());
}

ExtensionPageFields ExtensionConfig::targetTyped(const ExtensionPageFields& fields)
{
    ExtensionPageFields f = fields;
    if (!m_base.rhythmsEditable() || !valid(m_selected))
        return f;
    MarkedText& mode = m_overview.at(at(m_selected)).mode;
    f.modeEnabled = modeChoiceEnabled(f.target);
    if (f.modeEnabled) {
        f.mode = 0;
        mode = {MessageTable::text(48), true};
    } else {
        f.mode = -1;
        mode = {};
    }
    return f;
}

void ExtensionConfig::storeSelected(const ExtensionPageFields& fields)
{
    const int g = m_selected;
    if (!valid(g))
        return;
    const int length = m_base.extensionRecordLength();
    ExtensionSettings& s = m_settings.at(at(g));
    Overview& ov = m_overview.at(at(g));
    auto storeFlag = [&](bool wanted, bool& current, int offset) {
        if (wanted != current) {
            current = wanted;
            ExtensionCodec::storeByte(m_image, g, length, offset, wanted ? 1 : 0);
        }
    };
    auto storeChoice = [&](int wanted, int& current, int offset, MarkedText& text, QString (*textOf)(int)) {
        if (wanted >= 0 && wanted != current) {
            current = wanted;
            ExtensionCodec::storeByte(m_image, g, length, offset, static_cast<std::uint8_t>(wanted));
            text = {textOf(wanted), true};
        }
    };
    storeFlag(fields.chargePulse, s.chargePulse, ExtensionCodec::Offset::ChargePulse);
    storeChoice(fields.permission, s.permission, ExtensionCodec::Offset::Permission, ov.permission,
                &ExtensionCodec::permissionText);
    storeChoice(fields.service, s.service, ExtensionCodec::Offset::Service, ov.service, &ExtensionCodec::serviceText);
    storeFlag(fields.trunkAccess, s.trunkAccess, ExtensionCodec::Offset::TrunkAccess);
    storeUnits(g, fields.units);
    if (fields.target != s.target || fields.mode != s.mode)
        storeForwarding(g, fields);
    s.pin = ExtensionCodec::storePin(m_image, g, length, fields.pin);
    ExtensionCodec::storeMasks(m_image, g, length, s.extensionMask, s.msnMask);
}

void ExtensionConfig::storeUnits(int g, const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0 || value > 0xFFFF || value == ExtensionCodec::units(m_image, g))
        return;
    ExtensionCodec::storeUnits(m_image, g, value);
    m_overview.at(at(g)).unitsChanged = true;
}

void ExtensionConfig::storeForwarding(int g, const ExtensionPageFields& fields)
{
    ExtensionSettings& s = m_settings.at(at(g));
    Overview& ov = m_overview.at(at(g));
    QString text = fields.target.left(ExtensionCodec::ExternalDigits);
    text.replace(QLatin1Char(' '), QLatin1Char('0'));
    if (text != ov.target.text)
        ov.target = {text, true};
    s.target = text;
    s.mode = fields.mode;
    s.modeText = ExtensionCodec::storeForwarding(m_image, g, m_base.settings(), text, fields.mode);
    ov.mode = {s.modeText, !s.modeText.isEmpty()};
}

ExtensionPageFields ExtensionConfig::select(int g, const ExtensionPageFields& current)
{
    storeSelected(current);
    if (valid(g))
        m_selected = g;
    return showSelected();
}
