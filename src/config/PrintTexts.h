#pragma once

#include "config/PrintContent.h"

#include <QStringList>

#include <cstdint>

class BaseConfig;
class ExtensionConfig;
class SpeedDialList;

// The texts of the printed pages, taken from the models the pages show.
namespace PrintTexts {
inline constexpr int MaxAttributesLength = 120;

// The configuration page without units and costs (the charge update's). `names` holds the
// texts of section "Bezeichnungen", index 0 for extension 21.
PrintConfiguration configuration(const BaseConfig& base, const ExtensionConfig& extensions, const QStringList& names);
// The 60 entries in entry order, whatever order the list shows.
std::vector<PrintSpeedDialRow> speedDials(const SpeedDialList& list, int extensionCount);
// "Baby " and the extensions with a baby-call bit joined by ", ", one blank; then "KW " and each
// extension with a speed-dial bit followed by ", ". Only present extensions count; at most 120
// characters.
QString speedDialAttributes(std::uint32_t value, int extensionCount);
} // namespace PrintTexts
