#pragma once

#include "config/PrintContent.h"

#include <QStringList>

class BaseConfig;
class ChargeCosts;
class ExtensionConfig;
class SpeedDialList;

// The content of a printout in a mode: the configuration page with the charge overview's units
// and costs, and the speed-dial page where the firmware has speed dials (`speedDials` not null).
namespace PrintoutContent {
struct Sources
{
    const BaseConfig& base;
    const ExtensionConfig& extensions;
    const ChargeCosts& charges;
    const SpeedDialList* speedDials; // null: the exchange has none
    QStringList names;               // section "Bezeichnungen", index 0 for extension 21
    bool withBars = true;
    QDateTime printedAt;
};

PrintContent compose(PrintMode mode, const Sources& sources);
} // namespace PrintoutContent
