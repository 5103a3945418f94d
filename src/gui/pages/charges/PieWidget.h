#pragma once

#include "charges/PieChart.h"

#include <QWidget>

// Paints the distribution chart's geometry and shows the hint of the slice under the mouse.
class PieWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Border = 10;
    static constexpr int View = 2;

    explicit PieWidget(QWidget* parent = nullptr);
    void setItems(const QList<PieChart::Item>& items);
    const QList<PieChart::Item>& items() const { return m_items; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QList<PieChart::Item> m_items;
    int m_hovered = -1;
};
