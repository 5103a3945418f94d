#pragma once

#include "Page.h"

class ExtensionPage;
class MsnPage;
class QStackedWidget;

// The container shared by "Grundparameter" (sub-page 0, the MSN page) and "Nebenstellen" (sub-page 1,
// the extension page). Switching sub-pages takes over the values of the page being left.
class ParametersPage : public Page
{
    Q_OBJECT
public:
    enum SubPage
    {
        MsnSubPage = 0,
        ExtensionSubPage = 1
    };

    explicit ParametersPage(AppCore& core, QWidget* parent = nullptr);

    void refresh() override;
    void store() override;
    void setTransferLock(bool locked) override;
    void showSubPage(int index) override;

    int currentSubPage() const;
    MsnPage* msnPage() const { return m_msnPage; }
    ExtensionPage* extensionPage() const { return m_extensionPage; }

private:
    QStackedWidget* m_stack;
    MsnPage* m_msnPage;
    ExtensionPage* m_extensionPage;
};
