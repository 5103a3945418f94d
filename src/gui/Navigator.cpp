#include "Navigator.h"

#include "HeadingBar.h"
#include "NavigationBar.h"
#include "NavigationTable.h"
#include "Page.h"
#include "PageStack.h"

Navigator::Navigator(PageStack& stack, NavigationBar& bar, HeadingBar& heading, QObject* parent)
    : QObject(parent), m_stack(stack), m_bar(bar), m_heading(heading)
{
    m_memory.fill(0, NavigationTable::groupCaptions().size());
    connect(&bar, &NavigationBar::entryChosen, this,
            [this](int group, int entry) { showEntry(NavigationTable::indexOf(group, entry)); });
    connect(&bar, &NavigationBar::groupOpened, this, &Navigator::openGroup);
}

bool Navigator::showEntry(int index)
{
    const auto& entries = NavigationTable::entries();
    if (index < 0 || index >= entries.size() || index == m_current)
        return false;
    const NavigationEntry& e = entries[index];
    Page* page = m_stack.page(e.pageKey);
    if (!page)
        return false;
    m_heading.setText(e.heading);
    m_stack.setCurrentWidget(page);
    page->showSubPage(e.subPage);
    page->raise();
    m_current = index;
    m_memory[e.group] = e.entry;
    m_bar.setCurrent(e.group, e.entry);
    page->entered();
    Q_EMIT entryShown(index);
    return true;
}

bool Navigator::showHeading(const QString& heading)
{
    return showEntry(NavigationTable::indexOfHeading(heading));
}

void Navigator::openGroup(int group)
{
    if (group < 0 || group >= m_memory.size())
        return;
    if (!showEntry(NavigationTable::indexOf(group, m_memory[group])))
        m_bar.setCurrent(group, m_memory[group]);
}

int Navigator::memory(int group) const
{
    return group >= 0 && group < m_memory.size() ? m_memory[group] : 0;
}
