#pragma once

#include "charges/CounterLine.h"
#include "image/Extensions.h"

#include <QString>

#include <array>

class ConfigImage;

// What the settings say about money: the price of a unit and the carried-over units and costs
// per extension ("AlteEinheiten", "AlteKosten").
struct ChargePrices
{
    double pricePerUnit = 0.0;
    Units baselineUnits{};
    std::array<double, Extensions::Max> baselineCosts{};
};

// The units of a charge region and their costs, with the texts of the charge overview. Shared by
// the update after every reading and by readers of a configuration file's charge region.
class ChargeCosts
{
public:
    // Before a reading: no extensions, every text empty.
    ChargeCosts() = default;
    // The counters of the present extensions in the image and their costs at `prices`.
    ChargeCosts(const ConfigImage& image, const ChargePrices& prices);
    // Whether the image's charge region holds a charge reply.
    static bool holdsCharges(const ConfigImage& image);

    bool hasReading() const { return m_count >= 0; }
    int extensionCount() const { return m_count; }
    const Units& units() const { return m_units; }
    double cost(int index) const { return m_costs.at(static_cast<std::size_t>(index)); }
    int totalUnits() const { return m_totalUnits; }
    double totalCost() const { return m_totalCost; }

    // Empty for extensions the exchange does not have and before a reading.
    QString unitsText(int index) const;
    QString costText(int index) const;
    QString totalUnitsText() const;
    QString totalCostText() const;

private:
    int m_count = -1;
    Units m_units{};
    std::array<double, Extensions::Max> m_costs{};
    int m_totalUnits = 0;
    double m_totalCost = 0.0;
};
