#pragma once

#include <QHash>
#include <QList>
#include <QStackedWidget>

class AppCore;
class Page;
class PageRegistry;

// The page objects behind the navigation entries, one per page key, stacked so that one shows.
class PageStack : public QStackedWidget
{
    Q_OBJECT
public:
    explicit PageStack(QWidget* parent = nullptr);

    // Creates every page of the navigation table.
    void build(const PageRegistry& registry, AppCore& core);
    Page* page(const QString& pageKey) const;
    Page* currentPage() const;
    QList<Page*> pages() const { return m_pages; }

private:
    QHash<QString, Page*> m_byKey;
    QList<Page*> m_pages;
};
