#pragma once

#include "Page.h"

#include <array>

class QLabel;

// "Gebührenübersicht": units, the difference to the last recorded reading and the cost of every
// extension, with the totals.
class ChargeOverviewPage : public Page
{
    Q_OBJECT
public:
    explicit ChargeOverviewPage(AppCore& core, QWidget* parent = nullptr);
    void refresh() override;
    void entered() override { refresh(); }

private:
    std::array<QLabel*, 8> m_names{}, m_units{}, m_differences{}, m_costs{};
    QLabel* m_totalUnits;
    QLabel* m_totalDifference;
    QLabel* m_totalCost;
};
