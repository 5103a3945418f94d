#include "config/PrintTexts.h"

#include "config/BaseConfig.h"
#include "config/ExtensionConfig.h"
#include "config/SpeedDialCodec.h"
#include "config/SpeedDialList.h"
#include "image/Extensions.h"

namespace {

std::size_t at(int k)
{
    return static_cast<std::size_t>(k);
}

QString assignedMsns(const BaseConfig& base, int g)
{
    QStringList numbers;
    for (int m = 0; m < BaseSettings::MsnCount; ++m) {
        if (base.assignment(m, g).set)
            numbers << QString::number(m + 1);
    }
    return numbers.join(QLatin1String(", "));
}

QString forwarding(const ExtensionConfig& extensions, int g)
{
    const QString target = extensions.forwardingTarget(g).text;
    const QString mode = extensions.forwardingMode(g).text;
    return mode.isEmpty() || target.isEmpty() ? target : target + QLatin1Char(' ') + mode;
}

PrintExtensionRow extensionRow(const BaseConfig& base, const ExtensionConfig& extensions, int g, const QString& name)
{
    PrintExtensionRow row;
    row.number = Extensions::numberText(g);
    row.name = name;
    row.msns = assignedMsns(base, g);
    row.forwarding = forwarding(extensions, g);
    row.permission = extensions.permission(g).text;
    row.service = extensions.service(g).text;
    row.chargePulse = extensions.chargePulse(g);
    row.trunkAccess = extensions.trunkAccess(g);
    return row;
}

QStringList extensionsOfMask(std::uint8_t mask, int extensionCount)
{
    QStringList numbers;
    for (int i = 0; i < extensionCount; ++i) {
        if ((mask >> i) & 1)
            numbers << Extensions::numberText(i);
    }
    return numbers;
}

} // namespace

namespace PrintTexts {

PrintConfiguration configuration(const BaseConfig& base, const ExtensionConfig& extensions, const QStringList& names)
{
    PrintConfiguration page;
    page.baseValues = {base.protocolText(),     base.connectionText(),     base.externalS0Text(),
                       base.internalS0Text(),   base.extensionCountText(), base.firmwareText(),
                       base.musicOnHold().text, base.messageOnHold().text};
    for (int m = 0; m < BaseSettings::MsnCount; ++m) {
        page.msnNumbers[at(m)] = base.msnNumber(m).text;
        page.msnRhythms[at(m)] = base.msnRhythm(m).text;
    }
    for (int g = 0; g < extensions.extensionCount(); ++g)
        page.extensions.push_back(extensionRow(base, extensions, g, names.value(g)));
    return page;
}

std::vector<PrintSpeedDialRow> speedDials(const SpeedDialList& list, int extensionCount)
{
    std::vector<PrintSpeedDialRow> rows;
    for (int n = 1; n <= SpeedDialCodec::EntryCount; ++n) {
        const SpeedDialRow& row = list.rowOfEntry(n);
        rows.push_back({row.entryText, row.name, row.number, speedDialAttributes(row.attributes, extensionCount)});
    }
    return rows;
}

QString speedDialAttributes(std::uint32_t value, int extensionCount)
{
    QString text;
    const QStringList baby = extensionsOfMask(SpeedDialCodec::babyMask(value), extensionCount);
    if (!baby.isEmpty())
        text += QStringLiteral("Baby ") + baby.join(QLatin1String(", ")) + QLatin1Char(' ');
    const QStringList permitted = extensionsOfMask(SpeedDialCodec::permissionMask(value), extensionCount);
    if (!permitted.isEmpty()) {
        text += QStringLiteral("KW ");
        for (const QString& number : permitted)
            text += number + QLatin1String(", ");
    }
    return text.left(MaxAttributesLength);
}

} // namespace PrintTexts
