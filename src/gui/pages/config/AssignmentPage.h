#pragma once

#include "Page.h"

class CheckMatrix;

// "Zuordnung": which extensions ring for each MSN. Cells changed on the MSN page are red until the
// next decode; extensions the exchange does not have are greyed.
class AssignmentPage : public Page
{
    Q_OBJECT
public:
    explicit AssignmentPage(AppCore& core, QWidget* parent = nullptr);

    void refresh() override;
    CheckMatrix* matrix() const { return m_matrix; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    CheckMatrix* m_matrix;
};
