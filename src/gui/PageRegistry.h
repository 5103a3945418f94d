#pragma once

#include <QHash>
#include <QString>
#include <functional>

class AppCore;
class Page;
class QWidget;

// Builds the page object behind each PageKey (NavigationTable.h). Keys without a factory get a
// placeholder page (heading and an empty body) until their page is written.
//
// The configuration pages join through one function of their folder,
// src/gui/pages/config/ConfigPages.h: void registerConfigPages(PageRegistry& registry);
// which calls setFactory() for PageKey::Overview, Assignment, Permissions, CallWaiting,
// Parameters and SpeedDials, and setFileButtonsFactory() for the widget with the buttons
// "In Datei schreiben..." and "Aus Datei lesen..." that the frame puts beside "Konfigurieren"
// (the frame disables that widget while a transfer runs).
class PageRegistry
{
public:
    using Factory = std::function<Page*(AppCore& core, QWidget* parent)>;
    using WidgetFactory = std::function<QWidget*(AppCore& core, QWidget* parent)>;

    PageRegistry();

    void setFactory(const QString& pageKey, Factory factory);
    bool hasFactory(const QString& pageKey) const;
    // Never null: a placeholder when the key has no factory.
    Page* create(const QString& pageKey, AppCore& core, QWidget* parent) const;

    void setFileButtonsFactory(WidgetFactory factory);
    // Null when no factory is set.
    QWidget* createFileButtons(AppCore& core, QWidget* parent) const;

private:
    QHash<QString, Factory> m_factories;
    WidgetFactory m_fileButtons;
};
