#pragma once

#include "Page.h"

class CheckMatrix;

// "Anklopfen": which MSNs and which other extensions may knock at a busy extension. Cells changed on
// the extension page are red until the next decode; missing extensions are greyed.
class CallWaitingPage : public Page
{
    Q_OBJECT
public:
    explicit CallWaitingPage(AppCore& core, QWidget* parent = nullptr);

    void refresh() override;
    CheckMatrix* msnMatrix() const { return m_msnMatrix; }
    CheckMatrix* extensionMatrix() const { return m_extensionMatrix; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    CheckMatrix* m_msnMatrix;
    CheckMatrix* m_extensionMatrix;
};
