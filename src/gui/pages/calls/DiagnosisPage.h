#pragma once

#include "Page.h"

class LampMatrixWidget;
class QPushButton;

// "Diagnosemodus": the lamp matrix live from the exchange's state events, and the lamp test.
class DiagnosisPage : public Page
{
    Q_OBJECT

public:
    explicit DiagnosisPage(AppCore& core, QWidget* parent = nullptr);

    void refresh() override;
    void setTransferLock(bool locked) override;
    LampMatrixWidget* matrix() const { return m_matrix; }
    QPushButton* lampTestButton() const { return m_lampTest; }

private:
    LampMatrixWidget* m_matrix;
    QPushButton* m_lampTest;
};
