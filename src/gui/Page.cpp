#include "Page.h"

Page::Page(AppCore& core, QWidget* parent) : QWidget(parent), m_core(core) {}

void Page::setTransferLock(bool locked)
{
    Q_UNUSED(locked);
}

void Page::showSubPage(int index)
{
    Q_UNUSED(index);
}
