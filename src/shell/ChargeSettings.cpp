#include "shell/ChargeSettings.h"

#include "shell/Settings.h"

namespace ChargeSettings {

ChargePrices read(const Settings& settings)
{
    ChargePrices prices;
    prices.pricePerUnit = settings.unitCost();
    for (int i = 0; i < Extensions::Max; ++i) {
        prices.baselineUnits[static_cast<std::size_t>(i)] = settings.oldUnits(Extensions::number(i));
        prices.baselineCosts[static_cast<std::size_t>(i)] = settings.oldCosts(Extensions::number(i));
    }
    return prices;
}

} // namespace ChargeSettings
