#include "ConfigPages.h"

#include "AssignmentPage.h"
#include "CallWaitingPage.h"
#include "ConfigFileButtons.h"
#include "NavigationTable.h"
#include "OverviewPage.h"
#include "PageRegistry.h"
#include "ParametersPage.h"
#include "PermissionsPage.h"
#include "SpeedDialPage.h"

namespace {
template <typename P> PageRegistry::Factory factory()
{
    return [](AppCore& core, QWidget* parent) -> Page* { return new P(core, parent); };
}
} // namespace

void registerConfigPages(PageRegistry& registry)
{
    registry.setFactory(PageKey::Overview, factory<OverviewPage>());
    registry.setFactory(PageKey::Assignment, factory<AssignmentPage>());
    registry.setFactory(PageKey::Permissions, factory<PermissionsPage>());
    registry.setFactory(PageKey::CallWaiting, factory<CallWaitingPage>());
    registry.setFactory(PageKey::Parameters, factory<ParametersPage>());
    registry.setFactory(PageKey::SpeedDials, factory<SpeedDialPage>());
    registry.setFileButtonsFactory(
        [](AppCore& core, QWidget* parent) -> QWidget* { return new ConfigFileButtons(core, parent); });
}
