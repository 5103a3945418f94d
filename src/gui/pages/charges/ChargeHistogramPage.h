#pragma once

#include "Page.h"

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

private:
    QLabel* m_view;
    QImage m_image;
};
