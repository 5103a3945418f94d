#include "shell/PrintoutContent.h"

#include "charges/ChargeCosts.h"
#include "config/BaseConfig.h"
#include "config/PrintTexts.h"

namespace PrintoutContent {

PrintContent compose(PrintMode mode, const Sources& sources)
{
    PrintContent content;
    content.withBars = sources.withBars;
    content.printedAt = sources.printedAt;
    if (printsConfiguration(mode)) {
        PrintConfiguration page = PrintTexts::configuration(sources.base, sources.extensions, sources.names);
        for (std::size_t g = 0; g < page.extensions.size(); ++g) {
            page.extensions[g].units = sources.charges.unitsText(static_cast<int>(g));
            page.extensions[g].cost = sources.charges.costText(static_cast<int>(g));
        }
        page.totalUnits = sources.charges.totalUnitsText();
        page.totalCost = sources.charges.totalCostText();
        content.configuration = std::move(page);
    }
    if (printsSpeedDials(mode) && sources.speedDials)
        content.speedDials = PrintTexts::speedDials(*sources.speedDials, sources.base.extensionCount());
    return content;
}

} // namespace PrintoutContent
