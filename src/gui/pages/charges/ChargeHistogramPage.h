#pragma once

#include "Page.h"
#include "charges/Histogram.h"

#include <QImage>

class QLabel;

// "Gebührenhistogramm": the units of every period as bars, oldest first.
class ChargeHistogramPage : public Page
{
    Q_OBJECT
public:
    explicit ChargeHistogramPage(AppCore& core, QWidget* parent = nullptr);
    void refresh() override;
    void entered() override { refresh(); }
    QImage image() const { return m_image; }
    const Histogram::Layout& chart() const { return m_layout; }

protected:
    // The hint of the bar under the mouse.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_view;
    Histogram::Layout m_layout;
    QImage m_image;
};
