#include "PageRegistry.h"

#include "PlaceholderPage.h"

PageRegistry::PageRegistry() = default;

void PageRegistry::setFactory(const QString& pageKey, Factory factory)
{
    m_factories.insert(pageKey, std::move(factory));
}

bool PageRegistry::hasFactory(const QString& pageKey) const
{
    return m_factories.contains(pageKey);
}

Page* PageRegistry::create(const QString& pageKey, AppCore& core, QWidget* parent) const
{
    const auto it = m_factories.constFind(pageKey);
    if (it != m_factories.constEnd() && *it) {
        if (Page* page = (*it)(core, parent))
            return page;
    }
    return new PlaceholderPage(core, parent);
}

void PageRegistry::setFileButtonsFactory(WidgetFactory factory)
{
    m_fileButtons = std::move(factory);
}

QWidget* PageRegistry::createFileButtons(AppCore& core, QWidget* parent) const
{
    return m_fileButtons ? m_fileButtons(core, parent) : nullptr;
}
