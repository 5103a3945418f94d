#pragma once

#include <QList>
#include <QObject>

class HeadingBar;
class NavigationBar;
class PageStack;

// Which page shows: the navigation entries, the heading, and per group the entry shown last.
class Navigator : public QObject
{
    Q_OBJECT
public:
    Navigator(PageStack& stack, NavigationBar& bar, HeadingBar& heading, QObject* parent = nullptr);

    // Shows the entry (index into NavigationTable::entries()); nothing happens when it already shows.
    // False when nothing changed.
    bool showEntry(int index);
    bool showHeading(const QString& heading);
    // Shows the entry the group showed last.
    void openGroup(int group);
    int currentIndex() const { return m_current; }
    int memory(int group) const;

Q_SIGNALS:
    void entryShown(int index);

private:
    PageStack& m_stack;
    NavigationBar& m_bar;
    HeadingBar& m_heading;
    QList<int> m_memory;
    int m_current = -1;
};
