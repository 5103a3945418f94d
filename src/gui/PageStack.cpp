#include "PageStack.h"

#include "NavigationTable.h"
#include "Page.h"
#include "PageRegistry.h"

PageStack::PageStack(QWidget* parent) : QStackedWidget(parent) {}

void PageStack::build(const PageRegistry& registry, AppCore& core)
{
    for (const NavigationEntry& e : NavigationTable::entries()) {
        if (m_byKey.contains(e.pageKey))
            continue;
        Page* created = registry.create(e.pageKey, core, this);
        created->setObjectName(e.pageKey);
        m_byKey.insert(e.pageKey, created);
        m_pages.append(created);
        addWidget(created);
    }
}

Page* PageStack::page(const QString& pageKey) const
{
    return m_byKey.value(pageKey);
}

Page* PageStack::currentPage() const
{
    return qobject_cast<Page*>(currentWidget());
}
