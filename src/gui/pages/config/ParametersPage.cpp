#include "ParametersPage.h"

#include "ExtensionPage.h"
#include "MsnPage.h"

#include <QStackedWidget>
#include <QVBoxLayout>

ParametersPage::ParametersPage(AppCore& core, QWidget* parent) : Page(core, parent)
{
    m_stack = new QStackedWidget(this);
    m_msnPage = new MsnPage(core, m_stack);
    m_extensionPage = new ExtensionPage(core, m_stack);
    m_stack->addWidget(m_msnPage);
    m_stack->addWidget(m_extensionPage);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);
}

void ParametersPage::refresh()
{
    m_msnPage->refresh();
    m_extensionPage->refresh();
}

void ParametersPage::store()
{
    if (currentSubPage() == MsnSubPage)
        m_msnPage->store();
    else
        m_extensionPage->store();
}

void ParametersPage::setTransferLock(bool locked)
{
    m_msnPage->setTransferLock(locked);
    m_extensionPage->setTransferLock(locked);
}

void ParametersPage::showSubPage(int index)
{
    if (index == currentSubPage() || index < MsnSubPage || index > ExtensionSubPage)
        return;
    store();
    // The page shown next reflects what the other one just stored (the call-waiting list follows the
    // assignment of MSNs, for instance).
    if (index == MsnSubPage)
        m_msnPage->refresh();
    else
        m_extensionPage->refresh();
    m_stack->setCurrentIndex(index);
}

int ParametersPage::currentSubPage() const
{
    return m_stack->currentIndex();
}
