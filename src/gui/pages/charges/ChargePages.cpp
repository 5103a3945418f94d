#include "ChargePages.h"

#include "ChargeHistogramPage.h"
#include "ChargeOverviewPage.h"
#include "ChargeSplitPage.h"
#include "NavigationTable.h"
#include "PageRegistry.h"

void registerChargePages(PageRegistry& registry)
{
    registry.setFactory(PageKey::ChargeOverview,
                        [](AppCore& core, QWidget* parent) { return new ChargeOverviewPage(core, parent); });
    registry.setFactory(PageKey::ChargeSplit,
                        [](AppCore& core, QWidget* parent) { return new ChargeSplitPage(core, parent); });
    registry.setFactory(PageKey::ChargeHistogram,
                        [](AppCore& core, QWidget* parent) { return new ChargeHistogramPage(core, parent); });
}
