#pragma once

#include <QWidget>

class AppCore;

// One page of the main window. A page loads its controls from the core's models (refresh) and
// writes the user's edits back into them (store); it holds no decoding, file format or protocol.
//
// The frame calls:
//  - refresh() once after construction and after every decode (exchange read, file load,
//    charge update), i.e. on AppCore::configDecoded() and chargesDecoded(); pages may connect to
//    other core signals themselves;
//  - store() in the commit step that precedes a write to the exchange, a file save or a
//    printout (AppCore::commitPages()), on the page that is showing;
//  - setTransferLock(true/false) on every page on AppCore::transferLockChanged(); when
//    unlocking, the page applies its firmware gates;
//  - entered() whenever navigation makes the page the shown one (not when it already is);
//  - showSubPage(n) on a container page shared by several navigation entries.
//
// Construct pages as Page(AppCore& core, QWidget* parent); they reach everything through core().
class Page : public QWidget
{
    Q_OBJECT
public:
    explicit Page(AppCore& core, QWidget* parent = nullptr);

    virtual void refresh() {}
    virtual void store() {}
    virtual void setTransferLock(bool locked);
    virtual void entered() {}
    virtual void showSubPage(int index);

    AppCore& core() const { return m_core; }

private:
    AppCore& m_core;
};
