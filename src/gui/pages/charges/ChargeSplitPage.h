#pragma once

#include "Page.h"

class PieWidget;
class QListWidget;
class QTableWidget;

// "Gebührenaufteilung": the periods, and how the units of the chosen one are split among the
// extensions: the pie, and beside it the legend of the present extensions.
class ChargeSplitPage : public Page
{
    Q_OBJECT
public:
    explicit ChargeSplitPage(AppCore& core, QWidget* parent = nullptr);
    void refresh() override;
    void entered() override { refresh(); }
    void setTransferLock(bool locked) override;
    PieWidget* pie() const { return m_pie; }
    QListWidget* periodList() const { return m_periods; }
    QTableWidget* legend() const { return m_legend; }

private:
    void onPeriodClicked(int row);
    void drawSelected();

    QListWidget* m_periods;
    void fillLegend(const QStringList& names);

    PieWidget* m_pie;
    QTableWidget* m_legend;
};
