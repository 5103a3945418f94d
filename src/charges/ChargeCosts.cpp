#include "charges/ChargeCosts.h"

#include "common/FormatPicture.h"
#include "image/ConfigImage.h"
#include "image/ImageLayout.h"

namespace {
constexpr int ChargeKind = 21;
}

bool ChargeCosts::holdsCharges(const ConfigImage& image)
{
    return image[ConfigImage::ChargesOffset] == ChargeKind;
}

// A counter below its baseline was reset at the exchange: the carried-over cost no longer applies.
ChargeCosts::ChargeCosts(const ConfigImage& image, const ChargePrices& prices)
    : m_count(ImageLayout::extensionCount(image))
{
    for (int i = 0; i < m_count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const int units = ImageLayout::units(image, i);
        const int baseline = prices.baselineUnits[k];
        m_units[k] = units;
        m_costs[k] = baseline > units ? prices.pricePerUnit * units
                                      : prices.pricePerUnit * (units - baseline) + prices.baselineCosts[k];
        m_totalUnits += units;
        m_totalCost += m_costs[k];
    }
}

QString ChargeCosts::unitsText(int index) const
{
    return index < m_count ? QString::number(m_units.at(static_cast<std::size_t>(index))) : QString();
}

QString ChargeCosts::costText(int index) const
{
    return index < m_count ? FormatPicture::fixed(cost(index), 4) : QString();
}

QString ChargeCosts::totalUnitsText() const
{
    return hasReading() ? QString::number(m_totalUnits) : QString();
}

QString ChargeCosts::totalCostText() const
{
    return hasReading() ? FormatPicture::fixed(m_totalCost, 6) : QString();
}
